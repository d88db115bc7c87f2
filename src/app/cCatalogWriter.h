#pragma once

#include "app/cThumbnailer.h"
#include "common/cError.h"

#include <QStringList>

class cCatalogPlaces;
class cOption;
class cProgress;
class cPageFile;

// Writes the catalog page: one table of thumbnails, each linking to its image, shaped by the
// settings read at the moment each line needs them. Stops at the first error, leaving the page
// written so far on disk, and reports the step it stopped at.
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
        // One sentence on the thumbnails that could not be made; empty when all were.
        QString thumbnailReport() const;
    };

    // jobs: how many thumbnails are made at once; 0 for one a core.
    explicit cCatalogWriter(const cOption &options, int jobs = 0);

    // outPath ends with the separator. An empty list writes nothing. folders, when given, holds
    // each picture's folder (ending with the separator), for the links "RELLINKS" asks for.
    // progress, when given, hears of every picture; a cancel, or a disk that refuses a page,
    // leaves every page as it was.
    Result write(const QString &outPath, const QStringList &names,
                 const QStringList &folders = QStringList(), cProgress *progress = nullptr) const;

    // A file name as it goes into href and src, and as it is shown under a thumbnail.
    static QString linkName(const QString &name);
    // The link from a page in pageFolder to the picture name in folder: the path between them
    // with "/" separators, each part made safe as a name is; a file: address when there is no
    // path between them (another drive).
    static QString relativeLink(const QString &pageFolder, const QString &folder,
                                const QString &name);
    static QString shownName(const QString &name);

private:
    // The pages of one catalog: the first is "DOCFILE", the next insert 2, 3, ... before its
    // extension.
    struct Pages
    {
        QString name; // the first page's file name
        int count = 1;
        QString thumbnails; // the link part that leads to the thumbnail folder
        QString fileName(int number) const;
    };
    // The line after the table of page number: previous page, page numbers, next page.
    static QString navigation(const Pages &pages, int number);
    // The pictures of one page: where they stand in the whole catalog, and how many they are.
    struct Slice
    {
        const QStringList &names;
        const QStringList &folders;                       // empty without a folder for each picture
        const QList<cThumbnailer::Thumbnail> &thumbnails; // empty without "THUMBDIR"
        qsizetype first;
        qsizetype size;
    };
    // Makes the thumbnails in their folder (none without one), counting those that could not be
    // made into result; false when stopped. Throws cError when the thumbnail folder is one of
    // the pictures' own.
    bool makeThumbnails(const cCatalogPlaces &places, const QStringList &names,
                        const QStringList &folders, cProgress *progress,
                        QList<cThumbnailer::Thumbnail> &thumbnails, Result &result) const;
    // false when the progress asked to stop.
    bool writePage(cPageFile &page, const cCatalogPlaces &places, const Slice &slice,
                   const Pages &pages, int number, cProgress *progress, int &marker,
                   QString &path) const;
    static QString safeSegment(const QString &segment);
    // The part of a link from pageFolder to the pictures of folder, ending with "/"; empty when
    // it is the same folder.
    static QString folderLink(const QString &pageFolder, const QString &folder);
    // Folders in a link, each made safe as a name is, each ending with "/".
    static QString pathLink(const QStringList &folders);
    void AddCss(cPageFile &page, const QString &styleSheet, const QString &fontSize) const;
    static QString comment(const QString &field);

    const cOption &m_options;
    int m_jobs;
};
