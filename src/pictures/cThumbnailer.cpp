#include "pictures/cThumbnailer.h"

#include "common/cAtomicFile.h"
#include "common/cError.h"
#include "common/cFileStamp.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"
#include "common/cRepeatedLog.h"
#include "pictures/cPictureFacts.h"
#include "pictures/cPictureReader.h"
#include "settings/cSettings.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>
#include <exiv2/exiv2.hpp>

cThumbnailer::cThumbnailer(const QString &folder, const QSize &box, int jobs)
    : cThumbnailer(QList<Size>{{folder, box}}, jobs)
{
}

cThumbnailer::cThumbnailer(const QList<Size> &sizes, int jobs) : m_sizes(sizes), m_jobs(jobs) {}

namespace {
constexpr qint64 edgeBytes = 4096;

// What a picture is, wherever it lies: its size and its first and last bytes (where a camera
// writes its metadata and the end of the pixels), so that the thumbnails of a folder renamed or
// moved are found again. Its time is kept in the thumbnail: a picture only touched keeps its
// thumbnail's name and gets it made again. A file that cannot be read is told by its path.
QByteArray identity(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QFile file;
    if (cRegularFile::open(file, path).failed()) {
        hash.addData(QFile::encodeName(QDir::cleanPath(path)));
        return hash.result();
    }
    const qint64 size = file.size();
    hash.addData(QByteArray::number(size).append(' '));
    hash.addData(file.read(edgeBytes));
    if (size > edgeBytes && file.seek(std::max(edgeBytes, size - edgeBytes)))
        hash.addData(file.read(edgeBytes));
    return hash.result();
}

} // namespace

QString cThumbnailer::stem(const cPicture &picture)
{
    QString stem = QFileInfo(picture.name).completeBaseName();
    for (QChar &c : stem) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-') &&
            c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    return stem.left(40) + QLatin1Char('-') +
           QString::fromLatin1(identity(picture.path()).toHex().left(12));
}

namespace {
// Then the box it fits.
QString sizedName(const QString &stem, const QSize &box)
{
    return stem + QStringLiteral("-%1x%2.jpg").arg(box.width()).arg(box.height());
}
} // namespace

const QString &cThumbnailer::stampKey()
{
    // Which picture a thumbnail was made from, kept in the thumbnail itself: a picture replaced
    // by another, even an older one, no longer matches.
    static const QString key = QStringLiteral("QDXSource");
    return key;
}

namespace {

// The size of the thumbnail made earlier from this picture, or an invalid size. Only a regular
// file of the program's own counts: a link or a FIFO planted at its name is replaced.
QSize madeBefore(const QString &path, const QString &stamp)
{
    QFile file;
    if (cRegularFile::open(file, path, cRegularFile::OwnFileOnly).failed())
        return QSize();
    QImageReader reader(&file);
    // The metadata library ends the comment it writes back with a NUL.
    QString kept = reader.text(cThumbnailer::stampKey());
    while (kept.endsWith(QChar(0)))
        kept.chop(1);
    return kept == stamp ? reader.size() : QSize();
}

// A copy made with the facts the user publishes is not one made without them.
QString stampOf(const cThumbnailer::Size &size, const QString &source)
{
    return size.keepsFacts ? source + QStringLiteral(" published") : source;
}
// Transparent parts shown on white, as a page shows them, not on whatever colour they hide.
QImage flattened(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    flat.setColorSpace(image.colorSpace());
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

// What the user publishes with a copy: the date the camera took it and its copyright, from the
// picture's facts. The JPEG as Qt wrote it holds no other metadata than its profile and stamp.
QByteArray withPublishedFacts(const QByteArray &jpeg, const cPicture &picture)
{
    const cPicture::Facts *facts = picture.facts.data();
    if (!facts || (!facts->dated && facts->copyright.isEmpty()))
        return jpeg;
    try {
        auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(jpeg.data()),
                                               long(jpeg.size()));
        image->readMetadata();
        if (facts->dated)
            image->exifData()["Exif.Photo.DateTimeOriginal"] =
                facts->taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toStdString();
        if (!facts->copyright.isEmpty())
            image->exifData()["Exif.Image.Copyright"] = facts->copyright.toStdString();
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        return QByteArray(reinterpret_cast<const char *>(written.pData_), written.size_);
    } catch (const std::exception &) {
        // The copy goes out with nothing but its pixels rather than not at all.
        return jpeg;
    }
}

cError unreadable(const QString &reason)
{
    return cError(cError::InvalidPicture, QStringLiteral("could not be read: ") + reason);
}

// Encodes image, stamped with the picture it was made from, and puts it in place whole.
cThumbnailer::Thumbnail written(const cThumbnailer::Size &size, const QString &file,
                                const QImage &pixels, const QString &stamp, const cPicture &picture)
{
    // The pixels alone, with their profile and the stamp: the texts the picture's reader kept
    // (its XMP with the place, its author, its comment) would go out with every file made of it.
    QImage image(pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine(),
                 pixels.format());
    image.setColorSpace(pixels.colorSpace());
    image.setDotsPerMeterX(pixels.dotsPerMeterX());
    image.setDotsPerMeterY(pixels.dotsPerMeterY());
    image.setText(cThumbnailer::stampKey(), stamp);
    // Made in memory, where nothing can cut it short: the encoder takes a short write for done.
    QByteArray jpeg;
    QBuffer encoded(&jpeg);
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, "jpg");
    writer.setQuality(85);
    if (!writer.write(image))
        return {QString(), QSize(), unreadable(writer.errorString())};
    if (size.keepsFacts)
        jpeg = withPublishedFacts(jpeg, picture);
    // Written beside its place and renamed when whole, so a stopped run leaves no half file.
    const QString target = QDir(size.folder).filePath(file);
    if (const cError error = cAtomicFile(target).save(jpeg, false); error.failed())
        return {QString(), QSize(),
                cError(cError::DeviceIO,
                       QStringLiteral("could not be written: ") + error.description())};
    return {file, image.size(), cError()};
}
} // namespace

QList<cThumbnailer::Thumbnail> cThumbnailer::makeOne(const cPicture &picture) const
{
    QList<Thumbnail> made(m_sizes.size());
    const QString source = picture.path();
    const QString stem = cThumbnailer::stem(picture);
    const QString stamp = cFileStamp::of(source).text();
    // Those not there yet, largest first: each smaller one is shrunk from the one before.
    QList<qsizetype> missing;
    for (qsizetype i = 0; i < m_sizes.size(); ++i) {
        const Size &size = m_sizes.at(i);
        if (size.webCopy && picture.type == QLatin1String("GIF"))
            continue;
        const QString file = sizedName(stem, size.box);
        made[i].size = madeBefore(QDir(size.folder).filePath(file), stampOf(size, stamp));
        if (made[i].size.isValid())
            made[i].file = file;
        else
            missing.append(i);
    }
    for (Thumbnail &thumbnail : made)
        thumbnail.stem = stem;
    if (missing.isEmpty())
        return made;
    const auto area = [this](qsizetype i) {
        return qint64(m_sizes.at(i).box.width()) * m_sizes.at(i).box.height();
    };
    std::stable_sort(missing.begin(), missing.end(),
                     [&area](qsizetype a, qsizetype b) { return area(a) > area(b); });
    cPictureReader picked(source);
    QImage image;
    if (const cError error = picked.open(); error.failed()) {
        made[missing.first()].problem = unreadable(error.description());
    } else {
        const Size &largest = m_sizes.at(missing.first());
        image = largest.webCopy ? picked.readWithin(largest.box) : picked.readFitting(largest.box);
        if (image.isNull())
            made[missing.first()].problem = unreadable(picked.errorString());
    }
    if (image.isNull()) {
        for (const qsizetype i : std::as_const(missing))
            made[i].problem = made[missing.first()].problem;
        return made;
    }
    image = flattened(image);
    for (const qsizetype i : std::as_const(missing)) {
        const Size &size = m_sizes.at(i);
        if (image.width() > size.box.width() || image.height() > size.box.height())
            image = image.scaled(size.box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        made[i] = written(size, sizedName(stem, size.box), image, stampOf(size, stamp), picture);
        made[i].stem = stem;
    }
    return made;
}

void cThumbnailer::refuseOwnFolders(const QList<cPicture> &pictures) const
{
    QSet<QString> folders;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (i == 0 || pictures.at(i).folder != pictures.at(i - 1).folder)
            folders.insert(pictures.at(i).folder);
    }
    for (const Size &size : m_sizes) {
        const QString made = QFileInfo(size.folder).canonicalFilePath();
        for (const QString &folder : std::as_const(folders)) {
            if (!made.isEmpty() && QFileInfo(folder).canonicalFilePath() == made)
                throw cError(cError::BadFileName,
                             QStringLiteral("%1 is a folder of the pictures themselves: %2")
                                 .arg(cSettings::name(size.webCopy ? cSettings::CopyDir
                                                                   : cSettings::ThumbDir),
                                      QDir::toNativeSeparators(size.folder)));
        }
    }
}

void cThumbnailer::logProblems(const QList<cPicture> &pictures, const QList<Thumbnail> &thumbnails)
{
    // A rerun over the same pictures says in the log only what is new.
    cRepeatedLog log(QStringLiteral("QDX_thumbnails.txt"));
    for (qsizetype i = 0; i < thumbnails.size(); ++i) {
        const Thumbnail &thumbnail = thumbnails.at(i);
        if (!thumbnail.file.isEmpty())
            continue;
        // The reason goes on the error's line, where no length cuts it.
        log.write(1, QStringLiteral("Thumbnail: ") + pictures.at(i).path(), thumbnail.problem);
    }
    log.save();
}

QList<QList<cThumbnailer::Thumbnail>> cThumbnailer::make(const QList<cPicture> &pictures,
                                                         cProgress *progress, bool &cancelled) const
{
    cancelled = false;
    refuseOwnFolders(pictures);
    for (const Size &size : m_sizes) {
        QDir().mkpath(size.folder);
        if (size.keepsFacts)
            cPictureFacts::quietExiv2();
    }
    QThreadPool pool;
    pool.setMaxThreadCount(m_jobs > 0 ? m_jobs : QThread::idealThreadCount());
    QFuture<QList<Thumbnail>> future = QtConcurrent::mapped(
        &pool, pictures, [this](const cPicture &picture) { return makeOne(picture); });
    // Awaited in an event loop, not asleep: the window repaints while the thumbnails are made.
    QFutureWatcher<QList<Thumbnail>> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&future, progress] {
        // The pictures being made finish whole; the others are not started.
        if (!progress->step(future.progressValue()))
            future.cancel();
    });
    if (progress)
        look.start(10);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    future.waitForFinished();
    if (future.isCanceled()) {
        cancelled = true;
        return {};
    }
    QList<QList<Thumbnail>> made(m_sizes.size());
    for (QList<Thumbnail> &ofSize : made)
        ofSize.reserve(pictures.size());
    for (const QList<Thumbnail> &sizes : future.results()) {
        for (qsizetype i = 0; i < sizes.size(); ++i)
            made[i].append(sizes.at(i));
    }
    logProblems(pictures, made.first());
    return made;
}
