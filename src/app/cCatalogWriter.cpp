#include "app/cCatalogWriter.h"

#include "app/cCaption.h"
#include "app/cCatalogPage.h"
#include "app/cCatalogPages.h"
#include "app/cCatalogPlaces.h"
#include "app/cPageSet.h"
#include "app/cPictureLinks.h"
#include "app/cWrittenRecord.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/modUtil1.h"

#include <QStringList>
#include <algorithm>

cCatalogWriter::cCatalogWriter(const cOption &options, int jobs)
    : m_options(options), m_jobs(jobs), m_prune(options.getIntVal(QStringLiteral("PRUNE")) == 1)
{
}

cCatalogWriter::Result cCatalogWriter::write(const QString &outPath,
                                             const QList<cPicture> &pictures, cProgress *progress,
                                             const QString &inPath) const
{
    Result result;
    if (pictures.isEmpty())
        return result;
    int marker = 1;
    cPageSet written;
    // Every file this run writes or keeps, for the record of what it wrote.
    QStringList files;
    QString outFolder;
    try {
        const cCatalogPlaces places(outPath, m_options.getStrVal(QStringLiteral("DOCFILE")),
                                    m_options.hasKey(QStringLiteral("THUMBDIR"))
                                        ? m_options.getStrVal(QStringLiteral("THUMBDIR")).trimmed()
                                        : QString());
        result.path = places.pageFolder() + places.pageName();
        outFolder = places.outFolder();
        // The pages are written only once their thumbnails are there.
        QList<cThumbnailer::Thumbnail> thumbnails;
        if (!makeThumbnails(places, pictures, progress, thumbnails, result)) {
            result.cancelled = true;
            return result;
        }
        for (const cThumbnailer::Thumbnail &thumbnail : std::as_const(thumbnails)) {
            if (!thumbnail.file.isEmpty())
                files.append(places.thumbnailFolder() + QLatin1Char('/') + thumbnail.file);
        }
        const cAlbums albums(
            pictures, m_options.getIntVal(QStringLiteral("ALBUMS")) == 1 && !inPath.isEmpty(),
            inPath);
        const bool fromOwnFolders = cPictureLinks::fromOwnFolders(m_options);
        // Every album's folder is there before any page is written.
        QStringList folders;
        for (const cAlbums::Album &album : albums.all())
            folders.append(album.path.isEmpty() ? places.pageFolder()
                                                : places.albumFolder(album.path));
        qsizetype done = 0;
        int count = 0;
        for (size_t i = 0; i < albums.all().size(); ++i) {
            const cAlbums::Album &album = albums.all()[i];
            const QString &folder = folders.at(qsizetype(i));
            const cCatalogPages pages(places.pageName(), qsizetype(album.pictures.size()),
                                      m_options.getIntVal(QStringLiteral("PAGESIZE")));
            cPictureLinks links(fromOwnFolders, places.absoluteAlbumFolder(album.path),
                                places.thumbnailFolder());
            for (int number = 1; number <= pages.count(); ++number) {
                result.path = folder + pages.fileName(number);
                files.append(places.absoluteAlbumFolder(album.path) + QLatin1Char('/') +
                             pages.fileName(number));
                const Page page{albums, album, pages, number, result.path};
                if (!writePage(written.add(), page, pictures, thumbnails, links, progress, done,
                               marker)) {
                    // Stopped by the user: every page stays as it was before.
                    result.cancelled = true;
                    return result;
                }
            }
            count += pages.count();
        }
        result.path = places.pageFolder() + places.pageName();
        result.pages = count;
        // The cells link the pictures themselves, with all their metadata.
        if (m_options.getIntVal(QStringLiteral("SAYPLACE")) == 1)
            result.located =
                std::count_if(pictures.cbegin(), pictures.cend(),
                              [](const cPicture &picture) { return picture.located(); });
    } catch (const cError &error) {
        result.ok = false;
        result.marker = marker;
        result.error = error;
    }
    QString failedPage;
    const cError error = written.place(failedPage);
    if (error.failed() && result.ok) {
        result.ok = false;
        result.path = failedPage;
        result.error = error;
    }
    if (result.ok && m_prune) {
        cWrittenRecord record(outFolder);
        for (const QString &file : std::as_const(files))
            record.add(file);
        result.pruned = record.replace();
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

QString cCatalogWriter::Result::placeReport() const
{
    return located > 0 ? QStringLiteral("%1 linked pictures carry the place where they were taken")
                             .arg(located)
                       : QString();
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

bool cCatalogWriter::writePage(cPageFile &file, const Page &page, const QList<cPicture> &pictures,
                               const QList<cThumbnailer::Thumbnail> &thumbnails,
                               cPictureLinks &links, cProgress *progress, qsizetype &done,
                               int &marker) const
{
    cCatalogPage html(m_options, file, marker);
    const qsizetype first = page.pages.first(page.number);
    const qsizetype end = first + page.pages.size(page.number);
    const auto pictureAt = [&](qsizetype i) -> const cPicture & {
        return pictures.at(page.album.pictures[size_t(i)]);
    };
    // A picture with a thumbnail shows it.
    const auto thumbnailOf = [&](qsizetype place) -> const cThumbnailer::Thumbnail * {
        return thumbnails.isEmpty() || thumbnails.at(place).file.isEmpty() ? nullptr
                                                                           : &thumbnails.at(place);
    };
    const QString firstPage = cPictureLinks::linkName(page.pages.fileName(1));
    // The albums inside this one open its first page, each with its first picture as its cover.
    struct AlbumCell
    {
        QString link;
        QString source;
        QSize size;
        QString name;
    };
    std::vector<AlbumCell> albumCells;
    const std::vector<int> none;
    for (const int child : page.number == 1 ? page.album.children : none) {
        const cAlbums::Album &inside = page.albums.all()[size_t(child)];
        const cThumbnailer::Thumbnail *cover = thumbnailOf(inside.cover);
        albumCells.push_back(
            {cPictureLinks::linkName(inside.name) + QLatin1Char('/') + firstPage,
             cover ? links.thumbnail(cover->file) : links.picture(pictures.at(inside.cover)),
             cover ? cover->size : QSize(),
             QStringLiteral("%1 (%2)").arg(inside.name).arg(inside.total)});
    }
    const QString up = page.album.parent < 0 ? QString()
                                             : QStringLiteral("<p><a href=\"../") + firstPage +
                                                   QStringLiteral("\">&lt;&lt; Up</a></p>");
    const QString navigation = page.pages.navigation(page.number);
    const int captionKind = m_options.getIntVal(QStringLiteral("CAPTION"));
    QStringList captions;
    if (captionKind != cCaption::Name) {
        for (qsizetype i = first; i < end; ++i)
            captions.append(cCaption::of(pictureAt(i), captionKind));
    }
    bool ascii = cCatalogPage::settingsAreAscii(m_options) && modUtil1::isAscii(navigation) &&
                 modUtil1::isAscii(links.thumbnail(QString())) && modUtil1::isAscii(up);
    for (const AlbumCell &cell : albumCells)
        ascii = ascii && modUtil1::isAscii(cell.link) && modUtil1::isAscii(cell.source) &&
                modUtil1::isAscii(cell.name);
    for (qsizetype i = first; ascii && i < end; ++i)
        ascii = links.isAscii(pictureAt(i)) &&
                (captions.isEmpty() || modUtil1::isAscii(captions.at(i - first)));
    html.begin(page.path, !ascii, up);
    for (const AlbumCell &cell : albumCells)
        html.cell({cell.link, cell.source, cell.size, cell.name, true});
    for (qsizetype i = first; i < end; ++i, ++done) {
        if (progress && !progress->step(done))
            return false;
        const cPicture &picture = pictureAt(i);
        const QString link = links.picture(picture);
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(page.album.pictures[size_t(i)]);
        const QString source = thumbnail ? links.thumbnail(thumbnail->file) : QString();
        html.cell({link, thumbnail ? source : link, thumbnail ? thumbnail->size : QSize(),
                   captions.isEmpty() ? picture.name : captions.at(i - first)});
    }
    html.end(navigation);
    return true;
}
