#include "catalog/cCatalogWriter.h"

#include "pictures/cCaption.h"
#include "catalog/cCatalogPage.h"
#include "catalog/cPageSet.h"
#include "catalog/cPictureLinks.h"
#include "catalog/cPicturePage.h"
#include "catalog/cWrittenRecord.h"
#include "catalog/cCatalogPlan.h"
#include "common/cAtomicFile.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"
#include "common/modUtil1.h"

#include <QFileInfo>

cCatalogWriter::cCatalogWriter(const cOption &options, int jobs)
    : m_options(options), m_jobs(jobs), m_prune(cSettings(options).prunes())
{
}

cCatalogWriter::Result cCatalogWriter::write(const QString &outPath,
                                             const QList<cPicture> &pictures, cProgress *progress,
                                             const QString &inPath) const
{
    Result result;
    if (pictures.isEmpty())
        return result;
    cPageSet written;
    std::optional<cCatalogPlan> plan;
    int marker = 1;
    try {
        plan.emplace(m_options, outPath);
        result.path = plan->places().pageFolder() + plan->places().pageName();
        // The pages are written only once their thumbnails are there.
        if (!makeThumbnails(*plan, pictures, inPath, progress, result)) {
            result.cancelled = true;
            return result;
        }
        if (!plan->styleSheet().isEmpty())
            plan->keepStyleSheet(writeStyleSheet(plan->styleSheet()));
        // Every album's folder is there before any page is written.
        plan->makeAlbumFolders();
        Run run{*plan, pictures, written, progress, marker};
        const bool fromOwnFolders = plan->settings().linksFromOwnFolders();
        for (size_t i = 0; i < plan->albums().all().size(); ++i) {
            const cCatalogPlan::Album &album = plan->album(i);
            cPictureLinks links(fromOwnFolders, album.absolute, plan->places().thumbnailFolder(),
                                plan->copyFolder());
            for (int number = 1; number <= album.pages.count(); ++number) {
                result.path = album.folder + album.pages.fileName(number);
                // Stopped by the user: every page stays as it was before.
                if (!writePage(run, i, number, links)) {
                    result.cancelled = true;
                    return result;
                }
            }
            if (plan->settings().picturePages())
                writePicturePages(run, i, links);
            result.pages += album.pages.count();
        }
        result.path = plan->places().pageFolder() + plan->places().pageName();
        // The cells that link the pictures themselves give away all their metadata.
        if (plan->settings().saysPlace()) {
            for (qsizetype i = 0; i < pictures.size(); ++i)
                result.located += pictures.at(i).located() && plan->outputs(i).copy.file.isEmpty();
        }
    } catch (const cError &error) {
        result.ok = false;
        result.marker = marker;
        result.error = error;
        result.pages = 0;
    }
    QString failedPage;
    const cError error = written.place(failedPage);
    if (error.failed() && result.ok) {
        result.ok = false;
        result.path = failedPage;
        result.error = error;
    }
    if (result.ok && m_prune) {
        cWrittenRecord record(plan->places().outFolder());
        for (const QString &file : plan->files())
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

QString cCatalogWriter::pictureLink(const Run &run, cPictureLinks &links, qsizetype place)
{
    const cThumbnailer::Thumbnail &copy = run.plan.outputs(place).copy;
    return copy.file.isEmpty() ? links.picture(run.pictures.at(place)) : links.copy(copy.file);
}

void cCatalogWriter::writePicturePages(Run &run, size_t album, cPictureLinks &links) const
{
    const int captionKind = run.plan.settings().caption();
    const cCatalogPlan::Album &pages = run.plan.album(album);
    const std::vector<quint32> &places = run.plan.albums().all()[album].pictures;
    const QString none;
    const qsizetype count = qsizetype(places.size());
    const auto pageOf = [&](qsizetype i) {
        return cPictureLinks::linkName(run.plan.outputs(places[size_t(i)]).page);
    };
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype place = places[size_t(i)];
        const cPicture &picture = run.pictures.at(place);
        const cCatalogPlan::Outputs &made = run.plan.outputs(place);
        const QString link = pictureLink(run, links, place);
        const QString caption =
            captionKind == cCaption::Name ? picture.name : cCaption::of(picture, captionKind);
        const QString previous = i > 0 ? pageOf(i - 1) : none;
        const QString next = i + 1 < count ? pageOf(i + 1) : none;
        const QString back = cPictureLinks::linkName(pages.pages.fileName(pages.pages.numberOf(i)));
        cPicturePage::write(run.written.add(), pages.folder + made.page,
                            {link, made.copy.file.isEmpty() ? QSize() : made.copy.size, caption,
                             previous, next, back, pages.toTop});
    }
}

bool cCatalogWriter::writeStyleSheet(const QString &path)
{
    const QByteArray sheet = cCatalogPage::styleSheet();
    // One of the user's own by that name, or a link to anywhere, is left as it is.
    const QFileInfo there(path);
    if (there.exists() || there.isSymLink()) {
        QFile file;
        return !cRegularFile::open(file, path, cRegularFile::OwnFileOnly).failed() &&
               file.size() == sheet.size() && file.readAll() == sheet;
    }
    if (const cError error = cAtomicFile(path).save(sheet, false); error.failed())
        throw error;
    return true;
}

bool cCatalogWriter::makeThumbnails(cCatalogPlan &plan, const QList<cPicture> &pictures,
                                    const QString &inPath, cProgress *progress,
                                    Result &result) const
{
    QList<QList<cThumbnailer::Thumbnail>> made;
    if (!plan.sizes().isEmpty()) {
        plan.makeOwnFolders();
        bool cancelled = false;
        made = cThumbnailer(plan.sizes(), m_jobs).make(pictures, progress, cancelled);
        if (cancelled)
            return false;
    }
    plan.place(pictures, inPath, std::move(made));
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const cCatalogPlan::Outputs &outputs = plan.outputs(i);
        if (!plan.places().thumbnailFolder().isEmpty() && outputs.thumbnail.file.isEmpty())
            ++(outputs.thumbnail.unwritable() ? result.unwritable : result.unreadable);
        result.uncopied += outputs.copy.problem.failed();
    }
    return true;
}

bool cCatalogWriter::writePage(Run &run, size_t album, int number, cPictureLinks &links) const
{
    const cCatalogPlan::Album &pages = run.plan.album(album);
    const cAlbums::Album &own = run.plan.albums().all()[album];
    cCatalogPage html(m_options, run.written.add(), run.marker);
    const qsizetype first = pages.pages.first(number);
    const qsizetype end = first + pages.pages.size(number);
    const auto placeAt = [&](qsizetype i) { return qsizetype(own.pictures[size_t(i)]); };
    // A picture with a thumbnail shows it, one with a copy links it.
    const auto thumbnailOf = [&](qsizetype place) -> const cThumbnailer::Thumbnail * {
        const cThumbnailer::Thumbnail &made = run.plan.outputs(place).thumbnail;
        return made.file.isEmpty() ? nullptr : &made;
    };
    // Offered only where it is larger: a small picture is its own thumbnail at every size.
    const auto twiceOf = [&](qsizetype place) {
        const cThumbnailer::Thumbnail &twice = run.plan.outputs(place).twice;
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        return !twice.file.isEmpty() && thumbnail && twice.size.width() > thumbnail->size.width()
                   ? links.thumbnail(twice.file)
                   : QString();
    };
    const QString firstPage = cPictureLinks::linkName(pages.pages.fileName(1));
    // The albums inside this one open its first page, each with its first picture as its cover.
    struct AlbumCell
    {
        QString link;
        QString source;
        QSize size;
        QString name;
        QString twice;
    };
    std::vector<AlbumCell> albumCells;
    const std::vector<int> none;
    for (const int child : number == 1 ? own.children : none) {
        const cAlbums::Album &inside = run.plan.albums().all()[size_t(child)];
        const cThumbnailer::Thumbnail *cover = thumbnailOf(inside.cover);
        albumCells.push_back(
            {cPictureLinks::linkName(inside.name) + QLatin1Char('/') + firstPage,
             cover ? links.thumbnail(cover->file) : pictureLink(run, links, inside.cover),
             cover ? cover->size : QSize(),
             QStringLiteral("%1 (%2)").arg(inside.name).arg(inside.total), twiceOf(inside.cover)});
    }
    const QString up = own.parent < 0 ? QString()
                                      : QStringLiteral("<p><a href=\"../") + firstPage +
                                            QStringLiteral("\">&lt;&lt; Up</a></p>");
    const QString navigation = pages.pages.navigation(number);
    const int captionKind = run.plan.settings().caption();
    QStringList captions;
    if (captionKind != cCaption::Name) {
        for (qsizetype i = first; i < end; ++i)
            captions.append(cCaption::of(run.pictures.at(placeAt(i)), captionKind));
    }
    bool ascii = cCatalogPage::settingsAreAscii(m_options) && modUtil1::isAscii(navigation) &&
                 modUtil1::isAscii(links.thumbnail(QString())) &&
                 modUtil1::isAscii(links.copy(QString())) && modUtil1::isAscii(up);
    for (const AlbumCell &cell : albumCells)
        ascii = ascii && modUtil1::isAscii(cell.link) && modUtil1::isAscii(cell.source) &&
                modUtil1::isAscii(cell.name);
    for (qsizetype i = first; ascii && i < end; ++i)
        ascii = links.isAscii(run.pictures.at(placeAt(i))) &&
                (captions.isEmpty() || modUtil1::isAscii(captions.at(i - first)));
    html.begin(pages.folder + pages.pages.fileName(number), !ascii, up, pages.toTop);
    for (const AlbumCell &cell : albumCells)
        html.cell({cell.link, cell.source, cell.size, cell.name, true, cell.twice});
    for (qsizetype i = first; i < end; ++i, ++run.done) {
        if (run.progress && !run.progress->step(run.done))
            return false;
        const qsizetype place = placeAt(i);
        const cPicture &picture = run.pictures.at(place);
        const QString shown = pictureLink(run, links, place);
        const QString &page = run.plan.outputs(place).page;
        const QString link = page.isEmpty() ? shown : cPictureLinks::linkName(page);
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        const QString source = thumbnail ? links.thumbnail(thumbnail->file) : shown;
        html.cell({link, source, thumbnail ? thumbnail->size : QSize(),
                   captions.isEmpty() ? picture.name : captions.at(i - first), false,
                   twiceOf(place)});
    }
    html.end(navigation);
    return true;
}
