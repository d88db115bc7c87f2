#include "pictures/cPictureReader.h"

#include "common/cRegularFile.h"
#include "pictures/cExifPreview.h"
#include "pictures/cHeifPicture.h"

#include <QColorSpace>
#include <QImageReader>
#include <QTransform>

namespace {
// The bytes a JPEG decoder holds at once for the whole picture when the file is progressive (a
// coefficient of two bytes for every pixel of every component), else 0: a baseline JPEG is
// decoded a few lines at a time.
qint64 progressiveBuffer(const QByteArray &head)
{
    const auto word = [&head](qsizetype at) {
        return qint64(uchar(head.at(at))) << 8 | uchar(head.at(at + 1));
    };
    if (!head.startsWith("\xFF\xD8"))
        return 0;
    // Every segment before the frame header carries its length.
    for (qsizetype at = 2; at + 10 <= head.size(); at += 2 + word(at + 2)) {
        const uchar marker = uchar(head.at(at + 1));
        if (uchar(head.at(at)) != 0xFF)
            return 0;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame)
            continue;
        if (marker != 0xC2 && marker != 0xC6 && marker != 0xCA && marker != 0xCE)
            return 0;
        return word(at + 5) * word(at + 7) * uchar(head.at(at + 9)) * 2;
    }
    return 0;
}

// An image as stored, turned as Qt turns a picture it reads, keeping its colour profile (Qt's own
// turn drops it).
QImage turnedUpright(const QImage &image, QImageIOHandler::Transformations how)
{
    QImage turned = image.mirrored(how & QImageIOHandler::TransformationMirror,
                                   how & QImageIOHandler::TransformationFlip);
    if (how & QImageIOHandler::TransformationRotate90) {
        turned = turned.transformed(QTransform().rotate(90));
        turned.setColorSpace(image.colorSpace());
    }
    return turned;
}
} // namespace

cPictureReader::cPictureReader(const QString &path) : m_path(path) {}

cPictureReader::~cPictureReader() = default;

bool cPictureReader::canRead(const QString &type)
{
    if (type == QLatin1String("HEIC") || type == QLatin1String("HEIF") ||
        type == QLatin1String("AVIF"))
        return cHeifPicture::canRead(type);
    return QImageReader::supportedImageFormats().contains(type.toLower().toLatin1());
}

cError cPictureReader::open()
{
    if (const cError error = cRegularFile::open(m_file, m_path); error.failed())
        return error;
    const QByteArray head = m_file.peek(1 << 16);
    qint64 buffer = 0;
    if (cHeifPicture::recognises(head)) {
        m_heif = std::make_unique<cHeifPicture>(m_file);
        if (const cError error = m_heif->open(); error.failed())
            return error;
        m_size = m_heif->size();
    } else {
        buffer = progressiveBuffer(head);
        if (head.startsWith("\xFF\xD8"))
            m_jpegHead = head;
        m_reader.setDevice(&m_file);
        m_size = m_reader.size();
        if (!m_size.isValid())
            return cError(cError::InvalidPicture, m_reader.errorString());
    }
    if (qint64(m_size.width()) * m_size.height() > maxPixels)
        return cError(cError::InvalidPicture,
                      QStringLiteral("declares %1 x %2 pixels, more than the %3 megapixels allowed")
                          .arg(m_size.width())
                          .arg(m_size.height())
                          .arg(maxPixels / 1'000'000));
    if (buffer > maxDecodeBytes)
        return cError(cError::InvalidPicture,
                      QStringLiteral("a progressive JPEG of %1 x %2 pixels: decoding it would take "
                                     "%3 MB, more than the %4 MB allowed")
                          .arg(m_size.width())
                          .arg(m_size.height())
                          .arg(buffer >> 20)
                          .arg(maxDecodeBytes >> 20));
    return cError();
}

QString cPictureReader::errorString() const
{
    return m_heif ? m_heif->errorString() : m_reader.errorString();
}

QImage cPictureReader::readWithin(const QSize &box)
{
    if (m_heif || m_reader.format() != "jpeg")
        return readFitting(box);
    const bool turned = m_reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize stored = turned ? box.transposed() : box;
    const QSize needed = m_size.scaled(stored, Qt::KeepAspectRatio);
    for (const int denominator : {1, 2, 4, 8}) {
        // As the decoder rounds a scaled size: up.
        const QSize fast((m_size.width() + denominator - 1) / denominator,
                         (m_size.height() + denominator - 1) / denominator);
        if (fast.width() > stored.width() || fast.height() > stored.height())
            continue;
        // Nine tenths of the box or more: the eye cannot tell, the decoder is twice as fast.
        if (denominator > 1 && fast.width() * 10 >= needed.width() * 9)
            return readFitting(turned ? fast.transposed() : fast);
        break;
    }
    return readFitting(box);
}

QImage cPictureReader::readFitting(const QSize &box, QSize *upright)
{
    if (m_heif) {
        if (upright)
            *upright = m_size;
        return m_heif->readFitting(box);
    }
    const QImageIOHandler::Transformations how = m_reader.transformation();
    m_reader.setAutoTransform(false);
    // The box is for the picture as shown; the decoder scales the picture as stored.
    const bool turned = how & QImageIOHandler::TransformationRotate90;
    if (upright)
        *upright = turned ? m_size.transposed() : m_size;
    const QSize stored = turned ? box.transposed() : box;
    if (m_size.width() <= stored.width() && m_size.height() <= stored.height())
        return turnedUpright(m_reader.read(), how); // a GIF gives its first frame
    const QSize needed = m_size.scaled(stored, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // The camera's own copy, where it shows the same picture, spares decoding the picture.
    if (!m_jpegHead.isEmpty()) {
        const QImage copy = cExifPreview::fitting(m_jpegHead, m_size, needed);
        if (!copy.isNull())
            return turnedUpright(copy, how);
    }
    m_reader.setScaledSize(needed);
    return turnedUpright(m_reader.read(), how);
}
