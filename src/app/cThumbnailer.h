#pragma once

#include "app/cPicture.h"
#include "common/cError.h"

#include <QList>
#include <QSize>
#include <QString>

class cProgress;

// Makes the small pictures of a catalog, on every core: each picture fitted inside the thumbnail
// box keeping its proportions, turned as the camera recorded it (EXIF orientation), written as a
// JPEG under a name that two pictures of one name from two folders never share unless they are
// the same picture. The name tells what the picture is, not where it lies: the thumbnails of a
// folder renamed or moved are found again. A thumbnail is made again only when its picture is
// not the one it was made from (its size and date, which the thumbnail keeps) or the box changed
// (the box is part of the name); an unchanged catalog costs a look at each picture's first and
// last bytes and the head of its thumbnail.
class cThumbnailer
{
public:
    struct Thumbnail
    {
        QString file; // the name inside the thumbnail folder; empty when none could be made
        QSize size;
        // Why none could be made: an unreadable picture (InvalidPicture), or a thumbnail that
        // could not be written (DeviceIO).
        cError problem;
        bool unwritable() const { return problem.number() == cError::DeviceIO; }
    };

    cThumbnailer(const QString &folder, const QSize &box, int jobs = 0);
    // One thumbnail a picture, in order; stops when the progress asks (cancelled is then set,
    // and no half-written thumbnail is left). Each picture whose thumbnail could not be made is
    // said in the log, once across runs. Throws cError when the folder is one of the pictures'
    // own, where the thumbnails would be gathered with the pictures at the next run.
    QList<Thumbnail> make(const QList<cPicture> &pictures, cProgress *progress,
                          bool &cancelled) const;
    QString fileName(const cPicture &picture) const;

private:
    void refuseOwnFolder(const QList<cPicture> &pictures) const;
    Thumbnail makeOne(const cPicture &picture) const;
    static void logProblems(const QList<cPicture> &pictures, const QList<Thumbnail> &thumbnails);

    QString m_folder;
    QSize m_box;
    int m_jobs;
};
