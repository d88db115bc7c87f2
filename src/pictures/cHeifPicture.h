#pragma once

#include "common/cError.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSize>
#include <memory>

struct heif_context;
struct heif_image_handle;

// A HEIF picture, as phones take them (HEIC) and AVIF: read by libheif, turned upright as the
// file says, from the file's own thumbnail when that is large enough for the box.
class cHeifPicture
{
public:
    // Whether a file starting with head is a HEIF file.
    static bool recognises(const QByteArray &head);
    // Whether this machine decodes pictures of the type ("HEIC", "HEIF", "AVIF").
    static bool canRead(const QString &type);

    // Reads from file, open for reading, which must outlive it: only the parts asked for.
    explicit cHeifPicture(QFile &file);
    ~cHeifPicture();
    cError open();
    // The picture's EXIF, from its TIFF header on, and its XMP packet; empty when it has none.
    QByteArray exif() const;
    QByteArray xmp() const;
    // The upright size of the picture.
    QSize size() const { return m_size; }
    // The picture no larger than it fits in box, in its own proportions; null when it cannot be
    // decoded, and then errorString() says why.
    QImage readFitting(const QSize &box);
    QString errorString() const { return m_error; }

private:
    struct Release
    {
        void operator()(heif_context *context) const;
        void operator()(const heif_image_handle *handle) const;
    };
    // The file's own thumbnail when it shows the whole picture at least at size, else null.
    std::unique_ptr<const heif_image_handle, Release> thumbnailOf(const QSize &size) const;
    QImage decode(const heif_image_handle *handle);
    // The first metadata block of the type ("Exif", "mime") and content type.
    QByteArray metadata(const char *type, const char *contentType) const;

    QFile &m_file;
    std::unique_ptr<heif_context, Release> m_context;
    std::unique_ptr<const heif_image_handle, Release> m_handle;
    QSize m_size;
    QString m_error;
};
