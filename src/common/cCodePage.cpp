#include "common/cCodePage.h"

#include <QStringDecoder>

namespace {
// Code page 1252 from 0x80 to 0x9F; its five undefined bytes stand for the C1 controls of the
// same number, so they survive a round trip.
const char16_t high1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte code page 1252 writes for a character, or -1 when it has none.
int byteOf(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int i = 0; i < 32; ++i) {
        if (high1252[i] == unit)
            return 0x80 + i;
    }
    return -1;
}
} // namespace

cCodePage::Kind cCodePage::of(QByteArrayView bytes)
{
    return isAscii(bytes) || bytes.isValidUtf8() ? Utf8 : Windows1252;
}

bool cCodePage::isAscii(QByteArrayView bytes)
{
    return QtPrivate::isAscii(QLatin1StringView(bytes));
}

QString cCodePage::decode(QByteArrayView bytes, Kind kind)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (kind == Utf8) {
        // Qt's plain conversion drops a leading mark, which is part of this text.
        if (!bytes.startsWith("\xEF\xBB\xBF"))
            return QString::fromUtf8(bytes);
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return utf8(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? high1252[byte - 0x80] : char16_t(byte));
    }
    return text;
}

QByteArray cCodePage::encode(QStringView text, Kind kind)
{
    if (kind == Utf8 || !canEncode(text, kind))
        return text.toUtf8();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text)
        *out++ = char(byteOf(c.unicode()));
    return bytes;
}

bool cCodePage::canEncode(QStringView text, Kind kind)
{
    if (kind == Utf8)
        return true;
    for (const QChar c : text) {
        if (byteOf(c.unicode()) < 0)
            return false;
    }
    return true;
}
