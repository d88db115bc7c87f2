#pragma once

#include "app/cAlbums.h"
#include "app/cPicture.h"
#include "app/cThumbnailer.h"
#include "common/cError.h"

#include <QList>
#include <QStringList>

class cCatalogPages;
class cCatalogPlaces;
class cOption;
class cPageFile;
class cPageSet;
class cPictureLinks;
class cProgress;

// Writes a catalog: where its files go, the thumbnails, then each page, put in place together.
// Stops at the first error, leaving the pages written so far, and reports the step it stopped at.
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
        // One sentence on the thumbnails that could not be made; empty when all were.
        QString thumbnailReport() const;
        // With "SAYPLACE", the pictures linked whose metadata tells where they were taken.
        qsizetype located = 0;
        // One sentence on them; empty when there are none.
        QString placeReport() const;
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
    // What was made of each picture; a list is empty when its kind is not made.
    struct Made
    {
        QList<cThumbnailer::Thumbnail> thumbnails;
        QList<cThumbnailer::Thumbnail> doubles; // twice the size, for dense screens
        QList<cThumbnailer::Thumbnail> copies;  // for the web, linked instead of the pictures
    };
    // Makes the thumbnails and copies in their folders (none without one), counting those that
    // could not be made into result; false when stopped.
    bool makeThumbnails(const cCatalogPlaces &places, const QList<cPicture> &pictures,
                        cProgress *progress, Made &made, Result &result) const;
    // Writes the style sheet for phones beside the first page unless a file is there; its path
    // when it is ours, else empty. Throws cError when it cannot be written.
    QString writeStyleSheet(const cCatalogPlaces &places) const;
    // The folder of the copies for the web; empty without them.
    QString copyFolder(const cCatalogPlaces &places) const;
    // One page of an album.
    struct Page
    {
        const cAlbums &albums;
        const cAlbums::Album &album;
        const cCatalogPages &pages;
        int number;
        QString path;
        // From the album's folder to the first page's.
        const QString &toTop;
        // The file names of the album's picture pages; empty without them.
        const QStringList &picturePages;
    };
    // false when the progress asked to stop; done counts the pictures written.
    bool writePage(cPageFile &file, const Page &page, const QList<cPicture> &pictures,
                   const Made &made, cPictureLinks &links, cProgress *progress, qsizetype &done,
                   int &marker) const;

    // The address of what a picture's cell links, or its page shows: its copy for the web where
    // there is one.
    static QString pictureLink(const QList<cPicture> &pictures, const Made &made,
                               cPictureLinks &links, qsizetype place);
    // The names of an album's picture pages, one a picture: the same picture keeps its name
    // whatever is added or taken away.
    static QStringList picturePageNames(const cAlbums::Album &album,
                                        const QList<cPicture> &pictures, const Made &made);
    void writePicturePages(cPageSet &written, const Page &page, const QList<cPicture> &pictures,
                           const Made &made, cPictureLinks &links) const;

    const cOption &m_options;
    int m_jobs;
    bool m_prune;
};
