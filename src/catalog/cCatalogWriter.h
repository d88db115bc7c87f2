#pragma once

#include "common/cError.h"
#include "pictures/cPicture.h"

#include <QList>
#include <QString>

class cCatalogPlan;
class cOption;
class cProgress;

// Carries out the plan of a catalog: the thumbnails and copies, then each album's pages and
// picture pages, put in place together, then the record of what was written. Stops at the first
// error, leaving the pages written so far, and reports the step it stopped at.
class cCatalogWriter
{
public:
    struct Result
    {
        bool ok = true;
        int marker = 0;
        cError error;
        // The page being written when it failed, else the first page.
        QString path;
        int pages = 0;
        // Stopped through the progress: no page was changed.
        bool cancelled = false;
        // Pictures that could not be read for a thumbnail, and thumbnails that could not be
        // written; their cells show the picture itself.
        int unreadable = 0;
        int unwritable = 0;
        // Copies for the web that could not be made; their cells link the pictures themselves.
        int uncopied = 0;
        // With "SAYPLACE", the pictures linked whose metadata tells where they were taken.
        qsizetype located = 0;
        // With pruning, the files of the run before that this one no longer writes, removed.
        int pruned = 0;
    };

    // jobs: how many thumbnails are made at once; 0 for one a core.
    explicit cCatalogWriter(const cOption &options, int jobs = 0);
    // After a catalog written whole, removes what the run before wrote and this one did not, as
    // its record in the output folder tells ("PRUNE", or qdx-catalog --prune).
    void setPruning(bool on) { m_prune = on; }

    // outPath ends with the separator. An empty list writes nothing. progress, when given, hears
    // of every picture; a cancel, or a disk that refuses a page, leaves every page as it was.
    // inPath, the folder the pictures were gathered from, is the top album with "ALBUMS".
    Result write(const QString &outPath, const QList<cPicture> &pictures,
                 cProgress *progress = nullptr, const QString &inPath = QString()) const;

private:
    // False when stopped.
    bool makeThumbnails(cCatalogPlan &plan, const QList<cPicture> &pictures, const QString &inPath,
                        cProgress *progress, Result &result) const;
    // Writes the style sheet unless a file is there; whether the one there is the program's.
    // Throws cError when it cannot be written.
    static bool writeStyleSheet(const QString &path);

    const cOption &m_options;
    int m_jobs;
    bool m_prune;
};
