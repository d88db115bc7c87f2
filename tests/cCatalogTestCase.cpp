#include "cCatalogTestCase.h"

#include "common/modUtil1.h"

void cCatalogTestCase::makeFolder()
{
    m_dir.reset(new QTemporaryDir);
    modUtil1::setLogFolder(m_dir->path());
}

QByteArray cCatalogTestCase::cameraJpeg(int width, int height, int orientation)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    return cTestFiles::cameraJpeg(picture, orientation);
}
