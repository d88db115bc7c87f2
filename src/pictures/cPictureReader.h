#pragma once

#include "common/cError.h"

#include <QFile>
#include <QImageReader>
#include <QSize>
#include <QString>
#include <memory>

class cHeifPicture;

// Opens a picture for decoding, for the preview and the thumbnails alike (Qt's readers, and libheif
// for HEIC and AVIF): a regular file only (a
// FIFO would block, a device never end), and refused before anything is decoded when it declares
// more pixels than any camera makes, since a file of a few bytes can declare billions, or when
// its decoder would hold more than a bound for the whole picture at once (a progressive JPEG
// keeps every pixel's coefficients; Qt bounds the image itself).
class cPictureReader
{
public:
    // 200 megapixels: the largest phone and camera sensors, with room for panoramas.
    static constexpr qint64 maxPixels = 200'000'000;
    // What one decode may hold beside the image: a 44-megapixel progressive colour JPEG.
    static constexpr qint64 maxDecodeBytes = qint64(256) << 20;

    explicit cPictureReader(const QString &path);
    ~cPictureReader();
    // Whether this machine decodes pictures of a type as the lists show it ("PNG", "HEIC").
    static bool canRead(const QString &type);
    // An InvalidPicture error, or the file's own, when the picture cannot be decoded.
    cError open();
    // The picture turned upright as the camera recorded, decoded no larger than it fits in box
    // (the JPEG decoder shrinks it as it decodes); null when it cannot be decoded, and then
    // errorString() says why. upright, when given, receives the whole picture's upright size.
    QImage readFitting(const QSize &box, QSize *upright = nullptr);
    // The same, no larger than box but, for a JPEG, as large as a decoder's fast scale (a half,
    // a quarter, an eighth) gives where that nearly fills the box: a copy for the web of "at
    // most" that size, at a fraction of the cost of filling it exactly.
    QImage readWithin(const QSize &box);
    QString errorString() const;

private:
    QString m_path;
    QFile m_file;
    QImageReader m_reader;
    std::unique_ptr<cHeifPicture> m_heif; // a HEIC or AVIF picture, which Qt does not read
    QSize m_size;
    QByteArray m_jpegHead; // a JPEG's first bytes, where a camera keeps its copy of the picture
};
