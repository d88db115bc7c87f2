#include "app/cGathering.h"

#include "app/cCatalogPlaces.h"
#include "app/cImageFinder.h"
#include "app/cPictureOrder.h"
#include "app/cPictureReader.h"
#include "common/cError.h"
#include "common/cOption.h"
#include "common/cProgress.h"

cGathering::cGathering(const cOption &options) : m_options(options) {}

cGathering::Result cGathering::gather(const QString &folder, bool gif, bool jpg,
                                      const QString &outFolder, const Progress &progress)
{
    const QString moreTypes = QStringLiteral("MORETYPES");
    Result result;
    cImageFinder::Request request;
    request.gif = gif;
    request.jpg = jpg;
    request.further = cImageFinder::furtherTypes(
        m_options.hasKey(moreTypes) ? m_options.getStrVal(moreTypes) : QString());
    request.further.removeIf([&result](const QString &type) {
        const bool unreadable = !cPictureReader::canRead(type);
        if (unreadable)
            result.unreadableTypes.append(type);
        return unreadable;
    });
    request.subfolders = withSubfolders(m_options);
    if (request.subfolders)
        request.skipped = writtenFolders(outFolder);
    cImageFinder::Found found = cImageFinder::find(folder, request, progress(Listing, 0).get());
    result.unreadableNames = found.unreadable;
    if (cPictureFacts::wanted(m_options))
        m_facts.read(found.pictures, progress(Reading, found.pictures.size()).get());
    cPictureOrder::arrange(found.pictures, m_options.getIntVal(QStringLiteral("ORDER")));
    result.pictures = std::move(found.pictures);
    return result;
}

bool cGathering::withSubfolders(const cOption &options)
{
    // An album a folder needs the folders' pictures.
    return options.getIntVal(QStringLiteral("SUBFOLDERS")) == 1 ||
           options.getIntVal(QStringLiteral("ALBUMS")) == 1;
}

QStringList cGathering::writtenFolders(const QString &outFolder) const
{
    const QString thumbDir = QStringLiteral("THUMBDIR");
    try {
        const cCatalogPlaces places(outFolder, m_options.getStrVal(QStringLiteral("DOCFILE")),
                                    m_options.hasKey(thumbDir) ? m_options.getStrVal(thumbDir)
                                                               : QString());
        if (!places.thumbnailFolder().isEmpty())
            return {places.thumbnailFolder()};
    } catch (const cError &) {
        // No catalog can be written there, so nothing of it is in the folder.
    }
    return {};
}
