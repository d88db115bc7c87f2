#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Whole files as bytes, for tests that write inputs and compare outputs exactly.
struct cTestFiles
{
    static QByteArray read(const QString &path);
    static void write(const QString &path, const QByteArray &bytes);
    // What a store loads from the settings file at path, one "section/key=text|length|value"
    // per key in file order, and the number of the error that stopped the load, if any.
    static QStringList loaded(const QString &path);
    // Camera-like detail: noise over a gradient, which compresses as photographs do, not as flat
    // colours; the same for the same seed.
    static QImage cameraLike(const QSize &size, int seed, int noise);
    // A JPEG of the picture as a camera writes it: with an EXIF orientation that says how to turn
    // the stored pixels (6: a quarter turn clockwise).
    static QByteArray cameraJpeg(const QImage &picture, int orientation, int quality = -1);
    // The picture file with metadata written by Exiv2, each key ("Exif.Photo.DateTimeOriginal",
    // "Xmp.dc.title", "Iptc.Application2.Caption") given its text, and copy, when given, as its
    // EXIF thumbnail.
    static QByteArray withMetadata(const QByteArray &picture,
                                   const QList<QPair<QByteArray, QString>> &fields,
                                   const QImage &copy = QImage());
    // The picture as a phone writes it in HEIC (or AVIF), through libheif, with thumbnail as its
    // own thumbnail when given, and EXIF of the fields as withMetadata takes them; empty when no
    // encoder is at hand.
    static QByteArray heif(const QImage &picture, bool avif, const QImage &thumbnail = QImage(),
                           const QList<QPair<QByteArray, QString>> &exif = {});
    // A progressive JPEG of a few hundred bytes that declares side by side pixels, as a hostile
    // file would: decoders of such files hold a buffer for every pixel declared.
    static QByteArray progressiveBomb(int side);
    // A HEIC whose primary picture is a grid of one tile, the tile's HEIC given, declaring the
    // tile's size while its grid says it is output pixels large.
    static QByteArray heifGridBomb(const QByteArray &tile, const QSize &output);
    // The smallest GIF: one transparent pixel.
    static QByteArray tinyGif();
    // The name of the small picture made of the file at path that fits box, spelt out: the
    // file's name (other than ASCII letters, digits, "-" and "_" made "_"), "-", 12 hex digits of
    // the SHA-1 of its size, a blank, its first 4096 bytes and its last 4096, then the box.
    static QString thumbnailName(const QString &path, const QSize &box);
    // A [Page] section holding every key the catalog page reads.
    static QByteArray pageSettings(int imageNames, int columns);
};
