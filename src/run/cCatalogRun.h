#pragma once

#include "catalog/cCatalogWriter.h"
#include "run/cGathering.h"

#include <QStringList>

class cOption;
class cProgress;

// One run of the program as both its faces use it: gathering a folder, and writing the catalog,
// each with what is to be said of it. The window and qdx-catalog only show what it says.
class cCatalogRun
{
public:
    // jobs: how many thumbnails are made at once; 0 for one a core.
    explicit cCatalogRun(const cOption &options, int jobs = 0);

    struct Gathered
    {
        QList<cPicture> pictures;
        // Sentences to say once, each on its own.
        QStringList warnings;
        // Why the pictures are not all of the folder's: the error to show.
        cError problem = {};
    };
    Gathered gather(const QString &folder, bool gif, bool jpg, const QString &outFolder,
                    const cGathering::Progress &progress);

    struct Written
    {
        cCatalogWriter::Result result;
        QStringList warnings;
    };
    // prune: remove what the run before wrote and this one did not, whatever "PRUNE" says.
    // The facts the catalog needs and the gathering did not read are read of the pictures chosen.
    Written write(const QString &outPath, QList<cPicture> pictures, cProgress *progress,
                  const QString &inPath, bool prune = false);

private:
    // One sentence on the thumbnails and copies that could not be made; empty when all were.
    static QString thumbnailReport(const cCatalogWriter::Result &result);
    // One sentence on the linked pictures that tell where they were taken; empty when none do.
    static QString placeReport(const cCatalogWriter::Result &result);

    const cOption &m_options;
    int m_jobs;
    cGathering m_gathering;
};
