#include "cTestFiles.h"

#include "common/cError.h"
#include "common/cOption.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRandomGenerator>
#include <cstring>
#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

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

QImage cTestFiles::cameraLike(const QSize &size, int seed, int noise)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = int(random.bounded(noise));
            line[x] = qRgb((x / 16 + grain) & 255, (y / 12 + grain) & 255, (x + y) / 28 & 255);
        }
    }
    return picture;
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

QByteArray cTestFiles::withMetadata(const QByteArray &picture,
                                    const QList<QPair<QByteArray, QString>> &fields,
                                    const QImage &copy)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(picture.data()),
                                           long(picture.size()));
    image->readMetadata();
    for (const auto &[key, text] : fields) {
        const std::string value = text.toStdString();
        if (key.startsWith("Exif."))
            image->exifData()[key.toStdString()] = value;
        else if (key.startsWith("Xmp."))
            image->xmpData()[key.toStdString()] = value;
        else
            image->iptcData()[key.toStdString()] = value;
    }
    if (!copy.isNull()) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        copy.save(&buffer, "JPG", 90);
        Exiv2::ExifThumb(image->exifData())
            .setJpegThumbnail(reinterpret_cast<const Exiv2::byte *>(jpeg.constData()),
                              long(jpeg.size()));
    }
    image->writeMetadata();
    Exiv2::BasicIo &io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf written = io.read(io.size());
    return QByteArray(reinterpret_cast<const char *>(written.pData_), written.size_);
}

QByteArray cTestFiles::heif(const QImage &picture, bool avif, const QImage &thumbnail,
                            const QList<QPair<QByteArray, QString>> &exif)
{
    // libheif's own image of the pixels.
    const auto image = [](const QImage &pixels) {
        const QImage rgb = pixels.convertToFormat(QImage::Format_RGB888);
        heif_image *image = nullptr;
        heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
        return image;
    };
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(
        context, avif ? heif_compression_AV1 : heif_compression_HEVC, &encoder);
    QByteArray bytes;
    if (encoder) {
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image *main = image(picture);
        heif_image_handle *handle = nullptr;
        heif_context_encode_image(context, main, encoder, nullptr, &handle);
        if (!thumbnail.isNull()) {
            heif_image *small = image(thumbnail);
            heif_image_handle *encoded = nullptr;
            // The library makes none from pixels that fit the bounds already.
            heif_context_encode_thumbnail(context, small, handle, encoder, nullptr,
                                          std::max(thumbnail.width(), thumbnail.height()) - 2,
                                          &encoded);
            heif_image_handle_release(encoded);
            heif_image_release(small);
        }
        if (!exif.isEmpty()) {
            Exiv2::ExifData fields;
            for (const auto &[key, text] : exif)
                fields[key.toStdString()] = text.toStdString();
            Exiv2::Blob tiff;
            Exiv2::ExifParser::encode(tiff, Exiv2::littleEndian, fields);
            heif_context_add_exif_metadata(context, handle, tiff.data(), int(tiff.size()));
        }
        heif_writer writer{1, [](heif_context *, const void *data, size_t size, void *into) {
                               static_cast<QByteArray *>(into)->append(
                                   static_cast<const char *>(data), qsizetype(size));
                               return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                           }};
        heif_context_write(context, &writer, &bytes);
        heif_image_handle_release(handle);
        heif_image_release(main);
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    return bytes;
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

QString cTestFiles::thumbnailName(const QString &path, const QSize &box)
{
    const QByteArray bytes = read(path);
    QByteArray hashed = QByteArray::number(bytes.size()) + ' ' + bytes.left(4096);
    if (bytes.size() > 4096)
        hashed += bytes.mid(std::max<qsizetype>(4096, bytes.size() - 4096), 4096);
    QString name = QFileInfo(path).completeBaseName();
    for (QChar &c : name) {
        if (!(c.unicode() < 0x80 && c.isLetterOrNumber()) && c != '-' && c != '_')
            c = '_';
    }
    return name.left(40) + '-' +
           QCryptographicHash::hash(hashed, QCryptographicHash::Sha1).toHex().left(12) +
           QStringLiteral("-%1x%2.jpg").arg(box.width()).arg(box.height());
}

namespace {
QByteArray be(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
    return out;
}

QByteArray box(const char *type, const QByteArray &content)
{
    return be(quint32(8 + content.size()), 4) + type + content;
}

// A box of version and flags.
QByteArray fullBox(const char *type, int version, const QByteArray &content)
{
    return box(type, be(quint32(version) << 24, 4) + content);
}

// A box of the file, found by its type among the boxes at from.
QByteArray boxAt(const QByteArray &file, const char *type)
{
    const qsizetype at = file.indexOf(type);
    if (at < 4)
        return {};
    const quint32 size = quint32(uchar(file[at - 4])) << 24 | quint32(uchar(file[at - 3])) << 16 |
                         quint32(uchar(file[at - 2])) << 8 | uchar(file[at - 1]);
    return file.mid(at - 4, qsizetype(size));
}
} // namespace

QByteArray cTestFiles::heifGridBomb(const QByteArray &tile, const QSize &output)
{
    const QByteArray hvcC = boxAt(tile, "hvcC");
    const QByteArray ispe = boxAt(tile, "ispe");
    const QByteArray coded = boxAt(tile, "mdat").mid(8);
    const QByteArray ftyp = boxAt(tile, "ftyp");
    // Item 1 the tile, hidden; item 2 the grid, primary, declaring the tile's size.
    const QByteArray iinf =
        fullBox("iinf", 0,
                be(2, 2) + fullBox("infe", 2, be(1, 2) + be(0, 2) + "hvc1" + QByteArray(1, '\0')) +
                    fullBox("infe", 2, be(2, 2) + be(0, 2) + "grid" + QByteArray(1, '\0')));
    const QByteArray iref = fullBox("iref", 0, box("dimg", be(2, 2) + be(1, 2) + be(1, 2)));
    const QByteArray ipco = box("ipco", hvcC + ispe);
    const QByteArray ipma = fullBox("ipma", 0,
                                    be(2, 4) + be(1, 2) + QByteArray("\x02\x81\x02", 3) + be(2, 2) +
                                        QByteArray("\x01\x02", 2));
    const QByteArray grid = QByteArray(2, '\0') + be(0, 2) + be(quint32(output.width()), 2) +
                            be(quint32(output.height()), 2);
    const QByteArray idat = box("idat", grid);
    // The tile's data lies in the mdat after the meta box, whose size the offset needs.
    const auto meta = [&](quint32 offset) {
        const QByteArray iloc =
            fullBox("iloc", 1,
                    QByteArray("\x44\x00", 2) + be(2, 2) + be(1, 2) + be(0, 2) + be(0, 2) + be(1, 2) +
                        be(offset, 4) + be(quint32(coded.size()), 4) + be(2, 2) + be(1, 2) +
                        be(0, 2) + be(1, 2) + be(0, 4) + be(quint32(grid.size()), 4));
        return fullBox("meta", 0,
                       fullBox("hdlr", 0, be(0, 4) + "pict" + QByteArray(12, '\0') + '\0') +
                           fullBox("pitm", 0, be(2, 2)) + iloc + iinf + iref +
                           box("iprp", ipco + ipma) + idat);
    };
    const quint32 offset = quint32(ftyp.size() + meta(0).size() + 8);
    return ftyp + meta(offset) + box("mdat", coded);
}