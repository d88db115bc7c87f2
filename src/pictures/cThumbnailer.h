#pragma once

#include "common/cError.h"
#include "pictures/cPicture.h"

#include <QList>
#include <QSize>
#include <QString>

class cProgress;

// Makes the smaller pictures of a catalog, on every core: each picture fitted inside a box keeping
// its proportions (never enlarged), turned as the camera recorded it (EXIF orientation), written
// as a JPEG under a name that two pictures of one name from two folders never share unless they
// are the same picture. Every size asked for (the thumbnail, one twice as large for dense
// screens, a copy for the web) comes from one decode of the picture. The name tells what the
// picture is, not where it lies: those of a folder renamed or moved are found again. One is made
// again only when its picture is not the one it was made from (its size and date, which the
// small picture keeps) or the box changed (the box is part of the name); an unchanged catalog
// costs a look at each picture's first and last bytes and the head of each small picture.
class cThumbnailer
{
public:
    struct Thumbnail
    {
        QString file; // the name inside its folder; empty when none was made
        QSize size;
        // Why none could be made: an unreadable picture (InvalidPicture), or a file that could
        // not be written (DeviceIO). None when the picture is better linked as it is.
        cError problem;
        QString stem = {}; // what names every file made of the picture
        bool unwritable() const { return problem.number() == cError::DeviceIO; }
    };
    // One size made of every picture.
    struct Size
    {
        QString folder;
        QSize box;
        // A copy to be linked instead of the picture: none of a GIF, which would lose its frames
        // and has no camera metadata; it keeps the date taken and the copyright of the picture's
        // facts when keepsFacts is set. Nothing else of the picture's metadata is written.
        bool webCopy = false;
        bool keepsFacts = false;
    };

    // Thumbnails of one size.
    cThumbnailer(const QString &folder, const QSize &box, int jobs = 0);
    explicit cThumbnailer(const QList<Size> &sizes, int jobs = 0);
    // Of every size in the order given, one a picture in order; stops when the progress asks
    // (cancelled is then set, and no half-written file is left). Each picture of which the first
    // size could not be made is said in the log, once across runs. Throws cError when a folder
    // is one of the pictures' own, where the files made would be gathered with the pictures at
    // the next run.
    QList<QList<Thumbnail>> make(const QList<cPicture> &pictures, cProgress *progress,
                                 bool &cancelled) const;
    // The picture's own name, kept readable, then what tells it apart wherever it lies.
    static QString stem(const cPicture &picture);
    // The key of the text in every file made that names the picture it was made from; the
    // JPEG's comment reads "key: stamp".
    static const QString &stampKey();

private:
    void refuseOwnFolders(const QList<cPicture> &pictures) const;
    QList<Thumbnail> makeOne(const cPicture &picture) const;
    static void logProblems(const QList<cPicture> &pictures, const QList<Thumbnail> &thumbnails);

    QList<Size> m_sizes;
    int m_jobs;
};
