#include "cPictureReader.h"

#include "cRegularFile.h"

cPictureReader::cPictureReader(const QString &path) : m_path(path) {}

bool cPictureReader::open()
{
    if (cRegularFile::open(m_file, m_path, &m_error) != cRegularFile::Opened)
        return false;
    m_reader.setDevice(&m_file);
    m_size = m_reader.size();
    if (!m_size.isValid()) {
        m_error = m_reader.errorString();
        return false;
    }
    if (qint64(m_size.width()) * m_size.height() > maxPixels) {
        m_error = QStringLiteral("declares %1 x %2 pixels, more than the %3 megapixels allowed")
                      .arg(m_size.width())
                      .arg(m_size.height())
                      .arg(maxPixels / 1'000'000);
        return false;
    }
    return true;
}
