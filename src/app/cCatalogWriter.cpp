#include "app/cCatalogWriter.h"

#include "app/cCaption.h"
#include "app/cCatalogPage.h"
#include "app/cCatalogPages.h"
#include "app/cCatalogPlaces.h"
#include "app/cPageSet.h"
#include "app/cPictureLinks.h"
#include "app/cPicturePage.h"
#include "app/cWrittenRecord.h"
#include "common/cAtomicFile.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"
#include "common/modUtil1.h"

#include <QFileInfo>
#include <QSet>
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
        Made made;
        if (!makeThumbnails(places, pictures, progress, made, result)) {
            result.cancelled = true;
            return result;
        }
        const QString copies = copyFolder(places);
        for (const auto &[folder, kind] : {std::pair{places.thumbnailFolder(), &made.thumbnails},
                                           std::pair{places.thumbnailFolder(), &made.doubles},
                                           std::pair{copies, &made.copies}}) {
            for (const cThumbnailer::Thumbnail &thumbnail : std::as_const(*kind)) {
                if (!thumbnail.file.isEmpty())
                    files.append(folder + QLatin1Char('/') + thumbnail.file);
            }
        }
        const bool picturePages = m_options.getIntVal(QStringLiteral("PICTUREPAGES")) == 1;
        if (cCatalogPage::forPhones(m_options) || picturePages) {
            if (const QString sheet = writeStyleSheet(places); !sheet.isEmpty())
                files.append(sheet);
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
                                places.thumbnailFolder(), copies);
            const QString toTop = QStringLiteral("../").repeated(
                album.path.isEmpty() ? 0 : album.path.count(QLatin1Char('/')) + 1);
            const QStringList pictureNames =
                picturePages ? picturePageNames(album, pictures, made) : QStringList();
            for (const QString &name : pictureNames)
                files.append(places.absoluteAlbumFolder(album.path) + QLatin1Char('/') + name);
            for (int number = 1; number <= pages.count(); ++number) {
                result.path = folder + pages.fileName(number);
                files.append(places.absoluteAlbumFolder(album.path) + QLatin1Char('/') +
                             pages.fileName(number));
                const Page page{albums, album, pages, number, result.path, toTop, pictureNames};
                if (!writePage(written.add(), page, pictures, made, links, progress, done,
                               marker)) {
                    // Stopped by the user: every page stays as it was before.
                    result.cancelled = true;
                    return result;
                }
            }
            if (picturePages)
                writePicturePages(written, {albums, album, pages, 0, folder, toTop, pictureNames},
                                  pictures, made, links);
            count += pages.count();
        }
        result.path = places.pageFolder() + places.pageName();
        result.pages = count;
        // The cells that link the pictures themselves give away all their metadata.
        if (m_options.getIntVal(QStringLiteral("SAYPLACE")) == 1) {
            for (qsizetype i = 0; i < pictures.size(); ++i)
                result.located += pictures.at(i).located() &&
                                  (made.copies.isEmpty() || made.copies.at(i).file.isEmpty());
        }
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
    QStringList said;
    if (!parts.isEmpty())
        said.append(parts.join(QStringLiteral(", ")) +
                    QStringLiteral("; their cells show the pictures themselves"));
    if (uncopied > 0)
        said.append(QStringLiteral("%1 web copies could not be made; their cells link the "
                                   "pictures themselves")
                        .arg(uncopied));
    return said.join(QStringLiteral(". "));
}

QString cCatalogWriter::Result::placeReport() const
{
    return located > 0 ? QStringLiteral("%1 linked pictures carry the place where they were taken")
                             .arg(located)
                       : QString();
}

QString cCatalogWriter::pictureLink(const QList<cPicture> &pictures, const Made &made,
                                    cPictureLinks &links, qsizetype place)
{
    if (!made.copies.isEmpty() && !made.copies.at(place).file.isEmpty())
        return links.copy(made.copies.at(place).file);
    return links.picture(pictures.at(place));
}

QStringList cCatalogWriter::picturePageNames(const cAlbums::Album &album,
                                             const QList<cPicture> &pictures, const Made &made)
{
    const auto stemOf = [&](qsizetype place) {
        for (const QList<cThumbnailer::Thumbnail> *kind :
             {&made.thumbnails, &made.doubles, &made.copies}) {
            if (!kind->isEmpty() && !kind->at(place).stem.isEmpty())
                return kind->at(place).stem;
        }
        return cThumbnailer::stem(pictures.at(place));
    };
    QStringList names;
    QSet<QString> taken;
    for (const quint32 place : album.pictures) {
        // The very same picture twice in one album (from two folders) gets a page each.
        const QString stem = stemOf(place);
        QString name = cPicturePage::fileName(stem);
        for (int second = 2; taken.contains(name); ++second)
            name = cPicturePage::fileName(stem + QLatin1Char('-') + QString::number(second));
        taken.insert(name);
        names.append(name);
    }
    return names;
}

void cCatalogWriter::writePicturePages(cPageSet &written, const Page &page,
                                       const QList<cPicture> &pictures, const Made &made,
                                       cPictureLinks &links) const
{
    const int captionKind = m_options.getIntVal(QStringLiteral("CAPTION"));
    const QString none;
    const qsizetype count = page.picturePages.size();
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype place = page.album.pictures[size_t(i)];
        const cPicture &picture = pictures.at(place);
        const QString link = pictureLink(pictures, made, links, place);
        const QString caption =
            captionKind == cCaption::Name ? picture.name : cCaption::of(picture, captionKind);
        const QString previous =
            i > 0 ? cPictureLinks::linkName(page.picturePages.at(i - 1)) : none;
        const QString next =
            i + 1 < count ? cPictureLinks::linkName(page.picturePages.at(i + 1)) : none;
        const QString back = cPictureLinks::linkName(page.pages.fileName(page.pages.numberOf(i)));
        const bool copied = !made.copies.isEmpty() && !made.copies.at(place).file.isEmpty();
        cPicturePage::write(written.add(), page.path + page.picturePages.at(i),
                            {link, copied ? made.copies.at(place).size : QSize(), caption, previous,
                             next, back, page.toTop});
    }
}

QString cCatalogWriter::writeStyleSheet(const cCatalogPlaces &places) const
{
    const QString path =
        places.absolutePageFolder() + QLatin1Char('/') + cCatalogPage::styleSheetName();
    const QByteArray sheet = cCatalogPage::styleSheet();
    // One of the user's own by that name, or a link to anywhere, is left as it is.
    const QFileInfo there(path);
    if (there.exists() || there.isSymLink()) {
        QFile file;
        const bool ours = !cRegularFile::open(file, path, cRegularFile::OwnFileOnly).failed() &&
                          file.size() == sheet.size() && file.readAll() == sheet;
        return ours ? path : QString();
    }
    if (const cError error = cAtomicFile(path).save(sheet, false); error.failed())
        throw error;
    return path;
}

QString cCatalogWriter::copyFolder(const cCatalogPlaces &places) const
{
    if (m_options.getIntVal(QStringLiteral("COPYSIZE")) <= 0)
        return QString();
    return places.folderUnder(QStringLiteral("COPYDIR"),
                              m_options.getStrVal(QStringLiteral("COPYDIR")).trimmed());
}

bool cCatalogWriter::makeThumbnails(const cCatalogPlaces &places, const QList<cPicture> &pictures,
                                    cProgress *progress, Made &made, Result &result) const
{
    QList<cThumbnailer::Size> sizes;
    QList<QList<cThumbnailer::Thumbnail> *> kinds;
    if (!places.thumbnailFolder().isEmpty()) {
        const QSize box(std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGW"))),
                        std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGH"))));
        sizes.append({places.thumbnailFolder(), box});
        kinds.append(&made.thumbnails);
        if (m_options.getIntVal(QStringLiteral("PHONES")) == 1) {
            sizes.append({places.thumbnailFolder(), box * 2});
            kinds.append(&made.doubles);
        }
    }
    if (const QString copies = copyFolder(places); !copies.isEmpty()) {
        const int edge = m_options.getIntVal(QStringLiteral("COPYSIZE"));
        sizes.append({copies, QSize(edge, edge), true,
                      m_options.getIntVal(QStringLiteral("COPYFACTS")) == 1});
        kinds.append(&made.copies);
    }
    if (sizes.isEmpty())
        return true;
    // Where a link stands, the files would go wherever it leads.
    for (const cThumbnailer::Size &size : std::as_const(sizes))
        places.makeFolder(size.webCopy ? QStringLiteral("COPYDIR") : QStringLiteral("THUMBDIR"),
                          size.folder);
    bool cancelled = false;
    QList<QList<cThumbnailer::Thumbnail>> all =
        cThumbnailer(sizes, m_jobs).make(pictures, progress, cancelled);
    if (cancelled)
        return false;
    for (qsizetype i = 0; i < kinds.size(); ++i)
        *kinds.at(i) = std::move(all[i]);
    for (const cThumbnailer::Thumbnail &thumbnail : std::as_const(made.thumbnails)) {
        if (thumbnail.file.isEmpty())
            ++(thumbnail.unwritable() ? result.unwritable : result.unreadable);
    }
    for (const cThumbnailer::Thumbnail &copy : std::as_const(made.copies))
        result.uncopied += copy.problem.failed();
    return true;
}

bool cCatalogWriter::writePage(cPageFile &file, const Page &page, const QList<cPicture> &pictures,
                               const Made &made, cPictureLinks &links, cProgress *progress,
                               qsizetype &done, int &marker) const
{
    cCatalogPage html(m_options, file, marker);
    const qsizetype first = page.pages.first(page.number);
    const qsizetype end = first + page.pages.size(page.number);
    const auto pictureAt = [&](qsizetype i) -> const cPicture & {
        return pictures.at(page.album.pictures[size_t(i)]);
    };
    // A picture with a thumbnail shows it, one with a copy links it.
    const auto madeOf = [](const QList<cThumbnailer::Thumbnail> &kind,
                           qsizetype place) -> const cThumbnailer::Thumbnail * {
        return kind.isEmpty() || kind.at(place).file.isEmpty() ? nullptr : &kind.at(place);
    };
    const auto thumbnailOf = [&](qsizetype place) { return madeOf(made.thumbnails, place); };
    const auto linkOf = [&](qsizetype place) { return pictureLink(pictures, made, links, place); };
    const QString firstPage = cPictureLinks::linkName(page.pages.fileName(1));
    // The albums inside this one open its first page, each with its first picture as its cover.
    struct AlbumCell
    {
        QString link;
        QString source;
        QSize size;
        QString name;
        QString twice;
    };
    // Offered only where it is larger: a small picture is its own thumbnail at every size.
    const auto twiceOf = [&](qsizetype place) {
        const cThumbnailer::Thumbnail *twice = madeOf(made.doubles, place);
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        return twice && thumbnail && twice->size.width() > thumbnail->size.width()
                   ? links.thumbnail(twice->file)
                   : QString();
    };
    std::vector<AlbumCell> albumCells;
    const std::vector<int> none;
    for (const int child : page.number == 1 ? page.album.children : none) {
        const cAlbums::Album &inside = page.albums.all()[size_t(child)];
        const cThumbnailer::Thumbnail *cover = thumbnailOf(inside.cover);
        albumCells.push_back({cPictureLinks::linkName(inside.name) + QLatin1Char('/') + firstPage,
                              cover ? links.thumbnail(cover->file) : linkOf(inside.cover),
                              cover ? cover->size : QSize(),
                              QStringLiteral("%1 (%2)").arg(inside.name).arg(inside.total),
                              twiceOf(inside.cover)});
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
                 modUtil1::isAscii(links.thumbnail(QString())) &&
                 modUtil1::isAscii(links.copy(QString())) && modUtil1::isAscii(up);
    for (const AlbumCell &cell : albumCells)
        ascii = ascii && modUtil1::isAscii(cell.link) && modUtil1::isAscii(cell.source) &&
                modUtil1::isAscii(cell.name);
    for (qsizetype i = first; ascii && i < end; ++i)
        ascii = links.isAscii(pictureAt(i)) &&
                (captions.isEmpty() || modUtil1::isAscii(captions.at(i - first)));
    html.begin(page.path, !ascii, up, page.toTop);
    for (const AlbumCell &cell : albumCells)
        html.cell({cell.link, cell.source, cell.size, cell.name, true, cell.twice});
    for (qsizetype i = first; i < end; ++i, ++done) {
        if (progress && !progress->step(done))
            return false;
        const cPicture &picture = pictureAt(i);
        const qsizetype place = page.album.pictures[size_t(i)];
        const QString shown = linkOf(place);
        const QString link =
            page.picturePages.isEmpty() ? shown : cPictureLinks::linkName(page.picturePages.at(i));
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        const QString source = thumbnail ? links.thumbnail(thumbnail->file) : shown;
        html.cell({link, source, thumbnail ? thumbnail->size : QSize(),
                   captions.isEmpty() ? picture.name : captions.at(i - first), false,
                   twiceOf(place)});
    }
    html.end(navigation);
    return true;
}
