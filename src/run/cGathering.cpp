#include "run/cGathering.h"

#include "catalog/cCatalogPlan.h"
#include "catalog/cWrittenRecord.h"
#include "common/cError.h"
#include "common/cProgress.h"
#include "pictures/cImageFinder.h"
#include "pictures/cPictureOrder.h"
#include "pictures/cPictureReader.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

cGathering::cGathering(const cOption &options) : m_options(options) {}

void cGathering::readFacts(QList<cPicture> &pictures)
{
    if (std::any_of(pictures.cbegin(), pictures.cend(),
                    [](const cPicture &picture) { return !picture.facts; }))
        m_facts.read(pictures);
}

cGathering::Result cGathering::gather(const QString &folder, bool gif, bool jpg,
                                      const QString &outFolder, const Progress &progress)
{
    const cSettings settings(m_options);
    Result result;
    cImageFinder::Request request;
    request.gif = gif;
    request.jpg = jpg;
    request.further = cImageFinder::furtherTypes(settings.text(cSettings::MoreTypes));
    request.further.removeIf([&result](const QString &type) {
        const bool unreadable = !cPictureReader::canRead(type);
        if (unreadable)
            result.unreadableTypes.append(type);
        return unreadable;
    });
    request.subfolders = settings.gathersSubfolders();
    QStringList written;
    try {
        const cCatalogPlan plan(m_options, outFolder);
        request.skipped = plan.ownFolders();
        written = cWrittenRecord::recorded(plan.places().outFolder());
    } catch (const cError &) {
        // No catalog can be written there, so nothing of it is in the folder.
    }
    cImageFinder::Found found = cImageFinder::find(folder, request, progress(Listing, 0).get());
    result.unreadableNames = found.unreadable;
    result.tooDeep = found.tooDeep;
    result.problem = found.problem;
    // What a catalog wrote where the keys of its run put it, whatever they say now.
    if (!written.isEmpty()) {
        const QSet<QString> ours(written.cbegin(), written.cend());
        found.pictures.removeIf([&ours](const cPicture &picture) {
            return ours.contains(QDir::cleanPath(QFileInfo(picture.path()).absoluteFilePath()));
        });
    }
    if (cPictureFacts::neededToGather(settings))
        m_facts.read(found.pictures, progress(Reading, found.pictures.size()).get());
    cPictureOrder::arrange(found.pictures, settings.order());
    result.pictures = std::move(found.pictures);
    return result;
}
