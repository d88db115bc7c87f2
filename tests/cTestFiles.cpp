#include "cTestFiles.h"

#include "common/cError.h"
#include "common/cOption.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

QByteArray cTestFiles::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void cTestFiles::write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray cTestFiles::pageSettings(int imageNames, int columns)
{
    return "[Page]\r\nDOCFILE=f|20|index.htm\r\nDOCTITLE=t|20|T\r\nUSECSS=u|-1|0\r\n"
           "CSSFILE=c|9|(none)\r\nFONTSIZE=s|3|10\r\nCOLORBK=b|9|white\r\n"
           "TABALIGN=a|9|center\r\nTABBORDER=b|2|1\r\nTABCOLORBK=c|9|#EEE\r\nIMGH=h|4|120\r\n"
           "IMGW=w|4|120\r\nIMGNAME=n|-1|" +
           QByteArray::number(imageNames) + "\r\nTABCOLUMN=c|3|" + QByteArray::number(columns) +
           "\r\n";
}

QStringList cTestFiles::loaded(const QString &path)
{
    cOption store;
    QStringList entries;
    try {
        store.iniread(path);
    } catch (const cError &error) {
        entries.append(QStringLiteral("error %1").arg(error.number()));
    }
    for (const QString &section : store.getSections()) {
        for (const QString &key : store.getKeyForSection(section))
            entries.append(section + QLatin1Char('/') + key + QLatin1Char('=') +
                           store.getText(key) + QLatin1Char('|') + store.getLen(key) +
                           QLatin1Char('|') + store.getStrVal(key));
    }
    return entries;
}

QByteArray cTestFiles::tinyGif()
{
    return QByteArray::fromBase64("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7");
}

QByteArray cTestFiles::cameraJpeg(const QImage &picture, int orientation, int quality)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", quality);
    // An APP1 segment right after the start marker: one TIFF entry, the orientation.
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18) +
                            char(orientation) + QByteArray("\0\0\0\0\0\0\0", 7);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(exif.size()) + 2;
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + exif + jpeg.mid(2);
}

QByteArray cTestFiles::progressiveBomb(int side)
{
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    // Walk the segments to the progressive frame header and give it the size to declare.
    for (qsizetype at = 2; at + 9 <= jpeg.size();) {
        const uchar marker = uchar(jpeg.at(at + 1));
        if (marker == 0xC2) {
            for (const qsizetype field : {at + 5, at + 7}) {
                jpeg[field] = char(side >> 8);
                jpeg[field + 1] = char(side & 0xFF);
            }
            return jpeg;
        }
        at += 2 + (uchar(jpeg.at(at + 2)) << 8 | uchar(jpeg.at(at + 3)));
    }
    return QByteArray();
}
