#include "catalog/cCatalogWriter.h"

#include "catalog/cAlbumWriter.h"
#include "catalog/cCatalogPage.h"
#include "catalog/cCatalogPlan.h"
#include "catalog/cPageSet.h"
#include "catalog/cWrittenRecord.h"
#include "common/cAtomicFile.h"
#include "common/cFolderLock.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"

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
    std::optional<cFolderLock> lock;
    int marker = 1;
    try {
        plan.emplace(m_options, outPath);
        result.path = plan->places().pageFolder() + plan->places().pageName();
        // Another run into the same folder (a second window, a script) ends first: neither takes
        // away the other's pages while they wait for their places.
        lock.emplace(plan->places().outFolder());
        if (!lock->take([progress] { return !progress || progress->step(0); })) {
            result.cancelled = true;
            return result;
        }
        // The pages are written only once their thumbnails are there.
        if (!makeThumbnails(*plan, pictures, inPath, progress, result)) {
            result.cancelled = true;
            return result;
        }
        if (!plan->styleSheet().isEmpty())
            plan->keepStyleSheet(writeStyleSheet(plan->styleSheet()));
        // Every album's folder is there before any page is written.
        plan->makeAlbumFolders();
        cAlbumWriter albums(m_options, *plan, pictures, written, progress, marker);
        for (size_t i = 0; i < plan->albums().all().size(); ++i) {
            // Stopped by the user: every page stays as it was before.
            if (!albums.write(i, result.path)) {
                result.cancelled = true;
                return result;
            }
            result.pages += plan->album(i).pages.count();
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
        cWrittenRecord record(*plan);
        for (const QString &file : plan->files())
            record.add(file);
        result.pruned = record.replace(pictures);
    }
    return result;
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
