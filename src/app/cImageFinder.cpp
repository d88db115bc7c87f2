#include "cImageFinder.h"

#include <QDirIterator>

QList<cImageList::Item> cImageFinder::find(const QString &folder, bool gif, bool jpg)
{
    QList<cImageList::Item> gifs;
    QList<cImageList::Item> jpgs;
    if (!gif && !jpg)
        return gifs;
    const QString gifType = QStringLiteral("GIF");
    const QString jpgType = QStringLiteral("JPG");
    // One pass over the folder serves both patterns; the file system's order is kept per type.
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (gif && name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
            gifs.append({name, gifType});
        else if (jpg && name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
            jpgs.append({name, jpgType});
    }
    gifs.append(jpgs);
    return gifs;
}
