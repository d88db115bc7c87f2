#include "pictures/cPictureFacts.h"

#include "common/cFileStamp.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"
#include "pictures/cCaption.h"
#include "pictures/cHeifPicture.h"
#include "pictures/cPictureOrder.h"
#include "settings/cSettings.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QtConcurrent>
#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <mutex>

namespace {
// Metadata sits at the start of a picture file; the pixels that follow are never read. A JPEG's
// segments before its pixels are read whole up to a bound, other files' first bytes.
constexpr qint64 firstRead = 16 * 1024;
constexpr qint64 otherHead = 256 * 1024;
constexpr qint64 jpegHead = 1024 * 1024;
// Pictures read between two looks at the progress.
constexpr qsizetype batch = 256;

// The words cameras put into the description field themselves.
bool isCameraFiller(const QString &text)
{
    static const QStringList fillers = {
        QStringLiteral("OLYMPUS DIGITAL CAMERA"),
        QStringLiteral("SONY DSC"),
        QStringLiteral("DIGITAL CAMERA"),
        QStringLiteral("KONICA MINOLTA DIGITAL CAMERA"),
        QStringLiteral("MINOLTA DIGITAL CAMERA"),
        QStringLiteral("SAMSUNG DIGITAL CAMERA"),
        QStringLiteral("SAMSUNG DIGIMAX"),
        QStringLiteral("PENTAX DIGITAL CAMERA"),
        QStringLiteral("KODAK DIGITAL STILL CAMERA"),
        QStringLiteral("EXIF_JPEG_PICTURE"),
        QStringLiteral("DCIM"),
        QStringLiteral("DEFAULT"),
        QStringLiteral("IMAGE"),
        QStringLiteral("PICTURE"),
    };
    return fillers.contains(text, Qt::CaseInsensitive);
}

// Texts of IPTC and EXIF often come in Latin-1 without saying so: UTF-8 where the bytes are
// valid UTF-8, Latin-1 where they are not.
QString decodedText(const std::string &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), qsizetype(bytes.size())) : text;
}

// A description that only names the camera, as some write there ("<Digimax i50 MP3, Samsung #1
// MP3>"), is no title.
bool namesTheCamera(const QString &text, const QString &make, const QString &model)
{
    const auto bare = [](const QString &words) {
        QString plain = words.simplified();
        if (plain.startsWith(QLatin1Char('<')) && plain.endsWith(QLatin1Char('>')))
            plain = plain.mid(1, plain.size() - 2).trimmed();
        return plain.toCaseFolded();
    };
    const QString description = bare(text);
    return (!make.isEmpty() && description == bare(make)) ||
           (!model.isEmpty() && description == bare(model)) ||
           (!make.isEmpty() && !model.isEmpty() &&
            description == bare(make + QLatin1Char(' ') + model));
}

QString textOf(const Exiv2::Value &value)
{
    // A language alternative gives the default language's text, else the first.
    if (const auto *languages = dynamic_cast<const Exiv2::LangAltValue *>(&value)) {
        if (languages->value_.empty())
            return {};
        const auto found = languages->value_.find("x-default");
        const auto &text =
            found != languages->value_.end() ? found->second : languages->value_.begin()->second;
        return QString::fromStdString(text).trimmed();
    }
    return decodedText(value.toString()).trimmed();
}

// The text under a key of the EXIF, XMP or IPTC data; empty where there is none.
template <typename Key, typename Data> QString textAt(const Data &data, const char *key)
{
    const auto found = data.findKey(Key(key));
    return found == data.end() || found->count() == 0 ? QString() : textOf(found->value());
}

// The bytes of a file that hold its metadata: a JPEG's segments up to its pixels (their
// lengths say where each ends), the start of any other file.
QByteArray metadataHead(QFile &file)
{
    QByteArray head = file.read(firstRead);
    if (!head.startsWith("\xFF\xD8"))
        return head + file.read(otherHead - head.size());
    for (qsizetype at = 2; at + 4 <= head.size() || at < jpegHead;) {
        if (at + 4 > head.size()) {
            head += file.read(at + 4 - head.size() + firstRead);
            if (at + 4 > head.size())
                break;
        }
        const uchar marker = uchar(head.at(at + 1));
        if (uchar(head.at(at)) != 0xFF || marker == 0xDA || marker == 0xD9)
            break;
        at += 2 + (qsizetype(uchar(head.at(at + 2))) << 8 | uchar(head.at(at + 3)));
    }
    return head;
}

// A time as the camera's clock showed it: "2024:07:14 18:03:22" in EXIF, ISO 8601 in XMP.
QDateTime timeOf(const QString &text)
{
    QString iso = text.left(19);
    if (iso.size() >= 10 && iso.at(4) == QLatin1Char(':') && iso.at(7) == QLatin1Char(':')) {
        iso[4] = QLatin1Char('-');
        iso[7] = QLatin1Char('-');
    }
    if (iso.size() > 10)
        iso[10] = QLatin1Char('T');
    // Without its offset: the clock's own time, as the camera showed it.
    return QDateTime::fromString(iso, Qt::ISODate);
}

} // namespace

void cPictureFacts::quietExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        // Its XMP parser must be set up once before threads use it.
        Exiv2::XmpParser::initialize();
    });
}

bool cPictureFacts::neededToGather(const cSettings &settings)
{
    return cPictureOrder::needsFacts(settings.order()) || cCaption::needsFacts(settings.caption());
}

bool cPictureFacts::neededToWrite(const cSettings &settings)
{
    return cCaption::needsFacts(settings.caption()) || settings.saysPlace() ||
           settings.copiesKeepFacts() || settings.saysWhere() || settings.makesMonthAlbums();
}

bool cPictureFacts::read(QList<cPicture> &pictures, cProgress *progress)
{
    quietExiv2();
    m_opened = 0;
    // The threads below fill in pictures of their own; none of them may copy the list first.
    pictures.detach();
    std::vector<Known> read(size_t(pictures.size()));
    std::vector<qsizetype> positions;
    for (qsizetype from = 0; from < pictures.size(); from += batch) {
        const qsizetype end = std::min(pictures.size(), from + batch);
        positions.resize(size_t(end - from));
        std::iota(positions.begin(), positions.end(), from);
        QtConcurrent::blockingMap(positions, [&](qsizetype i) {
            const QString path = pictures.at(i).path();
            const cFileStamp stamp = cFileStamp::of(path);
            const auto known = m_known.constFind(path);
            if (known != m_known.cend() && known->stamp == stamp) {
                pictures[i].facts = known->facts;
            } else {
                read[size_t(i)] = readFile(path, stamp);
            }
        });
        for (qsizetype i = from; i < end; ++i) {
            Known &facts = read[size_t(i)];
            if (!facts.stamp.exists())
                continue;
            cPicture &picture = pictures[i];
            picture.facts = facts.facts;
            ++m_opened;
            m_known.insert(picture.path(), std::move(facts));
        }
        if (progress && !progress->step(end))
            return false;
    }
    return true;
}

namespace {
// Only the formats the program gathers reach the metadata reader, which picks its reader by the
// content: its readers of clips hang or crash on a clip renamed as a picture.
bool gatheredFormat(const QByteArray &head)
{
    const int type = Exiv2::ImageFactory::getType(
        reinterpret_cast<const Exiv2::byte *>(head.data()), long(head.size()));
    return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::png ||
           type == Exiv2::ImageType::webp || type == Exiv2::ImageType::tiff ||
           type == Exiv2::ImageType::gif;
}
} // namespace

cPictureFacts::Known cPictureFacts::readFile(const QString &path, const cFileStamp &stamp)
{
    Known known{stamp, QExplicitlySharedDataPointer<cPicture::Facts>(new cPicture::Facts)};
    cPicture::Facts &facts = *known.facts;
    facts.taken = QDateTime::fromMSecsSinceEpoch(stamp.modified);
    QFile file;
    if (cRegularFile::open(file, path).failed())
        return known;
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    try {
        if (cHeifPicture::recognises(file.peek(64))) {
            // A format Exiv2 does not open: libheif finds its EXIF and XMP.
            cHeifPicture heif(file);
            if (!heif.open().failed()) {
                const QByteArray exifBytes = heif.exif();
                if (!exifBytes.isEmpty())
                    Exiv2::ExifParser::decode(
                        exif, reinterpret_cast<const Exiv2::byte *>(exifBytes.data()),
                        uint32_t(exifBytes.size()));
                const QByteArray xmpBytes = heif.xmp();
                if (!xmpBytes.isEmpty())
                    Exiv2::XmpParser::decode(xmp, xmpBytes.toStdString());
            }
        } else {
            const QByteArray head = metadataHead(file);
            if (!gatheredFormat(head))
                return known;
            auto image = Exiv2::ImageFactory::open(
                reinterpret_cast<const Exiv2::byte *>(head.data()), long(head.size()));
            try {
                image->readMetadata();
            } catch (const std::exception &) {
                // A head cut short ends the reading; what was read before counts.
            }
            exif = image->exifData();
            xmp = image->xmpData();
            iptc = image->iptcData();
        }
    } catch (const std::exception &) {
        // Not a format the library knows, or no metadata: the file's time stands.
    }
    for (const QString &text : {textAt<Exiv2::ExifKey>(exif, "Exif.Photo.DateTimeOriginal"),
                                textAt<Exiv2::XmpKey>(xmp, "Xmp.exif.DateTimeOriginal"),
                                textAt<Exiv2::XmpKey>(xmp, "Xmp.photoshop.DateCreated"),
                                textAt<Exiv2::XmpKey>(xmp, "Xmp.xmp.CreateDate")}) {
        if (const QDateTime time = timeOf(text); time.isValid()) {
            facts.taken = time;
            facts.dated = true;
            break;
        }
    }
    facts.located = !textAt<Exiv2::ExifKey>(exif, "Exif.GPSInfo.GPSLatitude").isEmpty() ||
                    !textAt<Exiv2::XmpKey>(xmp, "Xmp.exif.GPSLatitude").isEmpty();
    facts.copyright = textAt<Exiv2::ExifKey>(exif, "Exif.Image.Copyright");
    if (facts.copyright.isEmpty())
        facts.copyright = textAt<Exiv2::XmpKey>(xmp, "Xmp.dc.rights");
    const QString make = textAt<Exiv2::ExifKey>(exif, "Exif.Image.Make");
    const QString model = textAt<Exiv2::ExifKey>(exif, "Exif.Image.Model");
    for (const QString &text : {textAt<Exiv2::XmpKey>(xmp, "Xmp.dc.title"),
                                textAt<Exiv2::IptcKey>(iptc, "Iptc.Application2.Caption"),
                                textAt<Exiv2::ExifKey>(exif, "Exif.Image.ImageDescription")}) {
        if (!text.isEmpty() && !isCameraFiller(text) && !namesTheCamera(text, make, model)) {
            facts.title = text;
            break;
        }
    }
    return known;
}
