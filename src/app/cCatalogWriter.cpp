#include "app/cCatalogWriter.h"

#include "app/cCaption.h"
#include "app/cCatalogPage.h"
#include "app/cCatalogPages.h"
#include "app/cCatalogPlaces.h"
#include "app/cPageSet.h"
#include "app/cPictureLinks.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/modUtil1.h"

#include <QStringList>
#include <algorithm>

cCatalogWriter::cCatalogWriter(const cOption &options, int jobs) : m_options(options), m_jobs(jobs)
{
}

cCatalogWriter::Result cCatalogWriter::write(const QString &outPath,
                                             const QList<cPicture> &pictures,
                                             cProgress *progress) const
{
    Result result;
    if (pictures.isEmpty())
        return result;
    int marker = 1;
    cPageSet written;
    QString pageFolder = outPath;
    try {
        const cCatalogPlaces places(outPath, m_options.getStrVal(QStringLiteral("DOCFILE")),
                                    m_options.hasKey(QStringLiteral("THUMBDIR"))
                                        ? m_options.getStrVal(QStringLiteral("THUMBDIR")).trimmed()
                                        : QString());
        pageFolder = places.pageFolder();
        // The pages are written only once their thumbnails are there.
        QList<cThumbnailer::Thumbnail> thumbnails;
        if (!makeThumbnails(places, pictures, progress, thumbnails, result)) {
            result.cancelled = true;
            return result;
        }
        const cCatalogPages pages(places.pageName(), pictures.size(),
                                  m_options.getIntVal(QStringLiteral("PAGESIZE")));
        cPictureLinks links(cPictureLinks::fromOwnFolders(m_options), places.absolutePageFolder(),
                            places.thumbnailFolder());
        for (int number = 1; number <= pages.count(); ++number) {
            result.path = pageFolder + pages.fileName(number);
            if (!writePage(written.add(), number, pages, result.path, pictures, thumbnails, links,
                           progress, marker)) {
                // Stopped by the user: every page stays as it was before.
                result.cancelled = true;
                return result;
            }
        }
        result.path = pageFolder + pages.fileName(1);
        result.pages = pages.count();
    } catch (const cError &error) {
        result.ok = false;
        result.marker = marker;
        result.error = error;
    }
    QString failedPage;
    const cError error = written.place(pageFolder, failedPage);
    if (error.failed() && result.ok) {
        result.ok = false;
        result.path = failedPage;
        result.error = error;
    }
    return result;
}

QString cCatalogWriter::Result::thumbnailReport() const
{
    QStringList parts;
    if (unreadable > 0)
        parts.append(
            QStringLiteral("%1 pictures could not be read for thumbnails").arg(unreadable));
    if (unwritable > 0)
        parts.append(QStringLiteral("%1 thumbnails could not be written").arg(unwritable));
    if (parts.isEmpty())
        return QString();
    return parts.join(QStringLiteral(", ")) +
           QStringLiteral("; their cells show the pictures themselves");
}

bool cCatalogWriter::makeThumbnails(const cCatalogPlaces &places, const QList<cPicture> &pictures,
                                    cProgress *progress, QList<cThumbnailer::Thumbnail> &thumbnails,
                                    Result &result) const
{
    if (places.thumbnailFolder().isEmpty())
        return true;
    const QSize box(std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGW"))),
                    std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGH"))));
    bool cancelled = false;
    thumbnails =
        cThumbnailer(places.thumbnailFolder(), box, m_jobs).make(pictures, progress, cancelled);
    for (const cThumbnailer::Thumbnail &thumbnail : thumbnails) {
        if (thumbnail.file.isEmpty())
            ++(thumbnail.unwritable() ? result.unwritable : result.unreadable);
    }
    return !cancelled;
}

bool cCatalogWriter::writePage(cPageFile &file, int number, const cCatalogPages &pages,
                               const QString &path, const QList<cPicture> &pictures,
                               const QList<cThumbnailer::Thumbnail> &thumbnails,
                               cPictureLinks &links, cProgress *progress, int &marker) const
{
    cCatalogPage page(m_options, file, marker);
    const qsizetype first = pages.first(number);
    const qsizetype end = first + pages.size(number);
    const QString navigation = pages.navigation(number);
    const int captionKind = m_options.getIntVal(QStringLiteral("CAPTION"));
    QStringList captions;
    if (captionKind != cCaption::Name) {
        for (qsizetype i = first; i < end; ++i)
            captions.append(cCaption::of(pictures.at(i), captionKind));
    }
    bool ascii = cCatalogPage::settingsAreAscii(m_options) && modUtil1::isAscii(navigation) &&
                 modUtil1::isAscii(links.thumbnail(QString()));
    for (qsizetype i = first; ascii && i < end; ++i)
        ascii = links.isAscii(pictures.at(i)) &&
                (captions.isEmpty() || modUtil1::isAscii(captions.at(i - first)));
    page.begin(path, !ascii);
    for (qsizetype i = first; i < end; ++i) {
        if (progress && !progress->step(i))
            return false;
        const cPicture &picture = pictures.at(i);
        const QString link = links.picture(picture);
        // A picture with a thumbnail shows it.
        const cThumbnailer::Thumbnail *thumbnail =
            thumbnails.isEmpty() || thumbnails.at(i).file.isEmpty() ? nullptr : &thumbnails.at(i);
        const QString source = thumbnail ? links.thumbnail(thumbnail->file) : QString();
        page.cell({link, thumbnail ? source : link, thumbnail ? thumbnail->size : QSize(),
                   captions.isEmpty() ? picture.name : captions.at(i - first)});
    }
    page.end(navigation);
    return true;
}
