#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// A camera's own small copy of a JPEG picture, kept in its metadata (the EXIF thumbnail of 160 by
// 120, or a larger preview): read in a millisecond where decoding the picture takes fifty. It is
// used only where it shows the same picture: large enough, of the picture's proportions, without
// black bars, and with nothing in the metadata telling that the picture was changed after the
// copy was made (a program that edits a picture often leaves the camera's copy as it was).
class cExifPreview
{
public:
    // head: the file's first bytes, holding its metadata; stored: the picture's size as stored;
    // needed: the size it is to be shrunk to, as stored. The copy at that size, as stored; null
    // when none serves.
    static QImage fitting(const QByteArray &head, const QSize &stored, const QSize &needed);
};
