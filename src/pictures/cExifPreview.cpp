#include "pictures/cExifPreview.h"

#include "pictures/cPictureFacts.h"

#include <QColor>
#include <algorithm>
#include <exiv2/exiv2.hpp>

namespace {
// A copy in a few kilobytes of metadata may declare any size: one larger than the picture is no
// copy of it, and one larger than this is not worth decoding in place of the picture, which is
// decoded at an eighth of its size.
constexpr qint64 maxCopyPixels = 4'000'000;

// Whether the EXIF tells of a change after the camera: a modification time other than the time
// taken, or a size other than the picture's own.
bool changedSince(const Exiv2::ExifData &exif, const QSize &stored)
{
    const auto text = [&exif](const char *key) {
        const auto found = exif.findKey(Exiv2::ExifKey(key));
        return found == exif.end() ? std::string() : found->toString();
    };
    const std::string modified = text("Exif.Image.DateTime");
    const std::string taken = text("Exif.Photo.DateTimeOriginal");
    if (!modified.empty() && !taken.empty() && modified != taken)
        return true;
    const std::string width = text("Exif.Photo.PixelXDimension");
    const std::string height = text("Exif.Photo.PixelYDimension");
    if (width.empty() || height.empty())
        return false;
    const QSize recorded(std::atoi(width.c_str()), std::atoi(height.c_str()));
    return recorded != stored && recorded.transposed() != stored;
}

// Of the picture's proportions, within one pixel of the copy.
bool sameProportions(const QSize &copy, const QSize &stored)
{
    const qint64 across = qint64(copy.width()) * stored.height();
    const qint64 down = qint64(copy.height()) * stored.width();
    return std::abs(across - down) <= std::max(stored.width(), stored.height());
}

bool dark(const QImage &image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 24;
}

// Black bars above and below, or to either side, as a copy of another shape is made to fit.
bool barred(const QImage &image)
{
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    bool rows = true;
    bool columns = true;
    for (int x = 0; rows && x <= right; ++x)
        rows = dark(image, x, 0) && dark(image, x, bottom);
    for (int y = 0; columns && y <= bottom; ++y)
        columns = dark(image, 0, y) && dark(image, right, y);
    return rows || columns;
}
} // namespace

QImage cExifPreview::fitting(const QByteArray &head, const QSize &stored, const QSize &needed)
{
    cPictureFacts::quietExiv2();
    try {
        const auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte *>(head.constData()), long(head.size()));
        image->readMetadata();
        if (changedSince(image->exifData(), stored))
            return QImage();
        const Exiv2::PreviewManager previews(*image);
        // The smallest that is large enough: the least to decode.
        Exiv2::PreviewPropertiesList candidates = previews.getPreviewProperties();
        std::sort(candidates.begin(), candidates.end(), [](const auto &a, const auto &b) {
            return qint64(a.width_) * a.height_ < qint64(b.width_) * b.height_;
        });
        for (const Exiv2::PreviewProperties &candidate : candidates) {
            const QSize size(int(candidate.width_), int(candidate.height_));
            if (candidate.mimeType_ != "image/jpeg" || size.width() < needed.width() ||
                size.height() < needed.height() || !sameProportions(size, stored) ||
                size.width() > stored.width() || size.height() > stored.height() ||
                qint64(size.width()) * size.height() > maxCopyPixels)
                continue;
            const Exiv2::PreviewImage preview = previews.getPreviewImage(candidate);
            const QImage copy = QImage::fromData(preview.pData(), int(preview.size()), "JPG");
            if (copy.isNull() || copy.size() != size || barred(copy))
                continue;
            return copy.scaled(needed, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    } catch (const std::exception &) {
        // Metadata Exiv2 cannot read holds no copy to use.
    }
    return QImage();
}
