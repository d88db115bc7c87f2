#pragma once

#include "common/cError.h"
#include "pictures/cPictureFacts.h"

#include <QStringList>
#include <functional>
#include <memory>

class cOption;
class cProgress;

// Gathers a folder's pictures as the settings ask: the types chosen and those "MORETYPES" names,
// from its subfolders too with "SUBFOLDERS" or "ALBUMS", with the facts of their files when "ORDER"
// or "CAPTION" needs them, in the order "ORDER" chooses. What was read of a file is kept for the
// next gathering.
class cGathering
{
public:
    enum Step { Listing, Reading };
    // A progress for a step as it starts (total 0 when unknown); null shows none.
    using Progress = std::function<std::unique_ptr<cProgress>(Step step, qint64 total)>;
    struct Result
    {
        QList<cPicture> pictures;
        // Pictures left out as their names cannot be given back to the system.
        int unreadableNames = 0;
        // Folders left out as they lie deeper than cImageFinder::maxDepth.
        int tooDeep = 0;
        // Types asked for that this machine cannot decode: they are not gathered.
        QStringList unreadableTypes;
        // Why the pictures are not all of the folder's: one of its folders could not be read.
        cError problem = {};
    };

    explicit cGathering(const cOption &options);
    // outFolder, where the catalog goes: nothing a catalog writes there is gathered.
    Result gather(const QString &folder, bool gif, bool jpg, const QString &outFolder,
                  const Progress &progress);

    // Reads the facts of the pictures that have none yet, as a gathering keeps them.
    void readFacts(QList<cPicture> &pictures);

private:
    const cOption &m_options;
    cPictureFacts m_facts;
};
