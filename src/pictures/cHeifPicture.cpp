#include "pictures/cHeifPicture.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
#include <vector>

bool cHeifPicture::recognises(const QByteArray &head)
{
    const heif_filetype_result type =
        heif_check_filetype(reinterpret_cast<const uint8_t *>(head.constData()),
                            int(std::min<qsizetype>(head.size(), 64)));
    return type == heif_filetype_yes_supported || type == heif_filetype_yes_unsupported;
}

bool cHeifPicture::canRead(const QString &type)
{
    if (type == QLatin1String("AVIF"))
        return heif_have_decoder_for_format(heif_compression_AV1) != 0;
    return heif_have_decoder_for_format(heif_compression_HEVC) != 0;
}

void cHeifPicture::Release::operator()(heif_context *context) const
{
    heif_context_free(context);
}

void cHeifPicture::Release::operator()(const heif_image_handle *handle) const
{
    heif_image_handle_release(handle);
}

namespace {
// The library reads through the file the program opened, as far as it needs.
QFile &fileOf(void *userdata)
{
    return *static_cast<QFile *>(userdata);
}

const heif_reader fileReader = {
    1,
    [](void *file) -> int64_t { return fileOf(file).pos(); },
    [](void *data, size_t size, void *file) {
        return fileOf(file).read(static_cast<char *>(data), qint64(size)) == qint64(size) ? 0 : 1;
    },
    [](int64_t position, void *file) { return fileOf(file).seek(position) ? 0 : 1; },
    [](int64_t size, void *file) {
        return size > fileOf(file).size() ? heif_reader_grow_status_size_beyond_eof
                                          : heif_reader_grow_status_size_reached;
    },
};
} // namespace

cHeifPicture::cHeifPicture(QFile &file) : m_file(file) {}

cHeifPicture::~cHeifPicture() = default;

cError cHeifPicture::open()
{
    m_context.reset(heif_context_alloc());
    heif_error error =
        heif_context_read_from_reader(m_context.get(), &fileReader, &m_file, nullptr);
    heif_image_handle *handle = nullptr;
    if (error.code == heif_error_Ok)
        error = heif_context_get_primary_image_handle(m_context.get(), &handle);
    m_handle.reset(handle);
    if (error.code != heif_error_Ok) {
        m_error = QString::fromUtf8(error.message);
        return cError(cError::InvalidPicture, m_error);
    }
    // The size once turned as the file says.
    m_size = QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    // A grid or overlay is bound to the size the file declares, which the caller weighs: one
    // that says it is larger is refused before its pixels are allocated.
    heif_context_set_maximum_image_size_limit(m_context.get(),
                                              std::max(m_size.width(), m_size.height()) + 1);
    return cError();
}

std::unique_ptr<const heif_image_handle, cHeifPicture::Release>
cHeifPicture::thumbnailOf(const QSize &size) const
{
    const int count = heif_image_handle_get_number_of_thumbnails(m_handle.get());
    std::vector<heif_item_id> ids(size_t(std::max(count, 0)));
    heif_image_handle_get_list_of_thumbnail_IDs(m_handle.get(), ids.data(), count);
    for (const heif_item_id id : ids) {
        heif_image_handle *thumbnail = nullptr;
        if (heif_image_handle_get_thumbnail(m_handle.get(), id, &thumbnail).code != heif_error_Ok)
            continue;
        std::unique_ptr<const heif_image_handle, Release> held(thumbnail);
        const QSize shown(heif_image_handle_get_width(thumbnail),
                          heif_image_handle_get_height(thumbnail));
        // The same proportions, to a pixel: a thumbnail with bars is not the picture.
        const bool same = std::abs(double(shown.width()) * m_size.height() -
                                   double(shown.height()) * m_size.width()) <=
                          double(std::max(m_size.width(), m_size.height()));
        if (same && shown.width() >= size.width() && shown.height() >= size.height())
            return held;
    }
    return nullptr;
}

QImage cHeifPicture::decode(const heif_image_handle *handle)
{
    heif_image *decoded = nullptr;
    const heif_error error = heif_decode_image(handle, &decoded, heif_colorspace_RGB,
                                               heif_chroma_interleaved_RGBA, nullptr);
    if (error.code != heif_error_Ok) {
        m_error = QString::fromUtf8(error.message);
        return {};
    }
    int stride = 0;
    const uint8_t *pixels =
        heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const QImage image =
        pixels ? QImage(pixels, heif_image_get_width(decoded, heif_channel_interleaved),
                        heif_image_get_height(decoded, heif_channel_interleaved), stride,
                        QImage::Format_RGBA8888)
                     .copy()
               : QImage();
    heif_image_release(decoded);
    if (image.isNull())
        m_error = QStringLiteral("no pixels decoded");
    return image;
}

QByteArray cHeifPicture::metadata(const char *type, const char *contentType) const
{
    heif_item_id id = 0;
    const int count =
        heif_image_handle_get_list_of_metadata_block_IDs(m_handle.get(), type, &id, 1);
    if (count < 1 ||
        qstrcmp(heif_image_handle_get_metadata_content_type(m_handle.get(), id), contentType) != 0)
        return {};
    QByteArray block(qsizetype(heif_image_handle_get_metadata_size(m_handle.get(), id)), 0);
    if (heif_image_handle_get_metadata(m_handle.get(), id, block.data()).code != heif_error_Ok)
        return {};
    return block;
}

QByteArray cHeifPicture::exif() const
{
    // Four bytes give where the TIFF header starts after them.
    const QByteArray block = metadata("Exif", "");
    if (block.size() < 4)
        return {};
    const quint32 offset = quint32(uchar(block[0])) << 24 | quint32(uchar(block[1])) << 16 |
                           quint32(uchar(block[2])) << 8 | uchar(block[3]);
    return offset > quint32(block.size() - 4) ? QByteArray() : block.mid(4 + offset);
}

QByteArray cHeifPicture::xmp() const
{
    return metadata("mime", "application/rdf+xml");
}

QImage cHeifPicture::readFitting(const QSize &box)
{
    const QSize fitted = m_size.scaled(box, Qt::KeepAspectRatio).boundedTo(m_size);
    const auto thumbnail = thumbnailOf(fitted);
    const QImage image = decode(thumbnail ? thumbnail.get() : m_handle.get());
    if (image.isNull() || image.size() == fitted)
        return image;
    return image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
