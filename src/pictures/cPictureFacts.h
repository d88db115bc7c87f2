#pragma once

#include "common/cFileStamp.h"
#include "pictures/cPicture.h"

#include <QHash>
#include <QList>

class cSettings;
class cProgress;

// Reads what a picture's metadata tells of it, never its pixels: when it was taken (EXIF, then
// XMP, then the file's own time) and its title (XMP, then IPTC, then the EXIF description, the
// words cameras write there by themselves left out). What was read is kept with the file's size
// and time, so an unchanged file is not read again.
class cPictureFacts
{
public:
    // Exiv2 says nothing of what it cannot read, and is ready for threads; once, before any use.
    static void quietExiv2();
    // Whether a gathering orders by a fact or shows one in the lists' captions ("ORDER",
    // "CAPTION"); the others are read for the pictures chosen, when a catalog is written.
    static bool neededToGather(const cSettings &settings);
    // Whether a catalog shows, tells of, publishes or groups by a fact ("CAPTION", "SAYPLACE",
    // "COPYFACTS", "HEADINGS", "ALBUMS" by month).
    static bool neededToWrite(const cSettings &settings);
    // Fills in taken and title of every picture, on every core; progress hears of every
    // picture. False when the progress stopped it: the pictures not reached keep no facts.
    bool read(QList<cPicture> &pictures, cProgress *progress = nullptr);
    // How many files the last read opened: the others were known.
    qsizetype opened() const { return m_opened; }

private:
    // What was read of a file, with its stamp then.
    struct Known
    {
        cFileStamp stamp;
        QExplicitlySharedDataPointer<cPicture::Facts> facts;
    };
    static Known readFile(const QString &path, const cFileStamp &stamp);

    QHash<QString, Known> m_known;
    qsizetype m_opened = 0;
};
