#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a settings or help file's bytes become text and back: UTF-8 when the bytes are valid UTF-8,
// otherwise the Windows code page 1252 the file was made in. Both give back the very bytes they
// read, every one of the 256 byte values included.
class cCodePage
{
public:
    enum Kind { Utf8, Windows1252 };

    static Kind of(QByteArrayView bytes);
    // A byte-order mark inside the text is kept as a character: only the file's first is a mark.
    static QString decode(QByteArrayView bytes, Kind kind);
    // Text that the kind cannot hold is written as UTF-8; canEncode tells beforehand.
    static QByteArray encode(QStringView text, Kind kind);
    static bool canEncode(QStringView text, Kind kind);
    // Nearly every file name is ASCII: such bytes need no decoding and no validation.
    static bool isAscii(QByteArrayView bytes);
};
