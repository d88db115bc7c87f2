#include "app/cGathering.h"

#include "app/cImageFinder.h"
#include "app/cPictureOrder.h"
#include "app/cPictureReader.h"
#include "common/cOption.h"
#include "common/cProgress.h"

cGathering::cGathering(const cOption &options) : m_options(options) {}

cGathering::Result cGathering::gather(const QString &folder, bool gif, bool jpg,
                                      const Progress &progress)
{
    const QString moreTypes = QStringLiteral("MORETYPES");
    Result result;
    QStringList further = cImageFinder::furtherTypes(
        m_options.hasKey(moreTypes) ? m_options.getStrVal(moreTypes) : QString());
    further.removeIf([&result](const QString &type) {
        const bool unreadable = !cPictureReader::canRead(type);
        if (unreadable)
            result.unreadableTypes.append(type);
        return unreadable;
    });
    cImageFinder::Found found =
        cImageFinder::find(folder, gif, jpg, progress(Listing, 0).get(), further);
    result.unreadableNames = found.unreadable;
    if (cPictureFacts::wanted(m_options))
        m_facts.read(found.pictures, progress(Reading, found.pictures.size()).get());
    cPictureOrder::arrange(found.pictures, m_options.getIntVal(QStringLiteral("ORDER")));
    result.pictures = std::move(found.pictures);
    return result;
}
