#include "app/cThumbnailer.h"

#include "app/cPictureReader.h"
#include "common/cAtomicFile.h"
#include "common/cError.h"
#include "common/cProgress.h"
#include "common/cRegularFile.h"
#include "common/cRepeatedLog.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

cThumbnailer::cThumbnailer(const QString &folder, const QSize &box, int jobs)
    : m_folder(folder), m_box(box), m_jobs(jobs)
{
}

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

QString cThumbnailer::fileName(const cPicture &picture) const
{
    // The picture's own name, kept readable, then what tells it apart and the box it fits.
    QString stem = QFileInfo(picture.name).completeBaseName();
    for (QChar &c : stem) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-') &&
            c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    return stem.left(40) + QLatin1Char('-') +
           QString::fromLatin1(identity(picture.path()).toHex().left(12)) +
           QStringLiteral("-%1x%2.jpg").arg(m_box.width()).arg(m_box.height());
}

namespace {
// Which picture a thumbnail was made from, kept in the thumbnail itself: a picture replaced by
// another, even an older one, no longer matches.
const QString sourceKey = QStringLiteral("QDXSource");

QString sourceStamp(const QFileInfo &source)
{
    return QStringLiteral("%1 %2")
        .arg(source.size())
        .arg(source.lastModified().toMSecsSinceEpoch());
}

// The size of the thumbnail made earlier from this picture, or an invalid size. Only a regular
// file of the program's own counts: a link or a FIFO planted at its name is replaced.
QSize madeBefore(const QString &path, const QString &stamp)
{
    QFile file;
    if (cRegularFile::open(file, path, cRegularFile::OwnFileOnly).failed())
        return QSize();
    QImageReader reader(&file);
    return reader.text(sourceKey) == stamp ? reader.size() : QSize();
}
} // namespace

cThumbnailer::Thumbnail cThumbnailer::makeOne(const cPicture &picture) const
{
    Thumbnail thumbnail;
    const QString source = picture.path();
    const QString file = fileName(picture);
    const QString target = QDir(m_folder).filePath(file);
    const QString stamp = sourceStamp(QFileInfo(source));
    thumbnail.size = madeBefore(target, stamp);
    if (thumbnail.size.isValid()) {
        thumbnail.file = file;
        return thumbnail;
    }
    const auto unreadable = [&thumbnail](const QString &reason) {
        thumbnail.problem =
            cError(cError::InvalidPicture, QStringLiteral("could not be read: ") + reason);
        return thumbnail;
    };
    cPictureReader picked(source);
    if (const cError error = picked.open(); error.failed())
        return unreadable(error.description());
    QImage image = picked.readFitting(m_box);
    if (image.isNull())
        return unreadable(picked.errorString());
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setText(sourceKey, stamp);
    // Made in memory, where nothing can cut it short: the encoder takes a short write for done.
    QByteArray jpeg;
    QBuffer encoded(&jpeg);
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, "jpg");
    writer.setQuality(85);
    if (!writer.write(image))
        return unreadable(writer.errorString());
    // Written beside its place and renamed when whole, so a stopped run leaves no half thumbnail.
    if (const cError error = cAtomicFile(target).save(jpeg, false); error.failed()) {
        thumbnail.problem = cError(cError::DeviceIO,
                                   QStringLiteral("could not be written: ") + error.description());
        return thumbnail;
    }
    thumbnail.file = file;
    thumbnail.size = image.size();
    return thumbnail;
}

void cThumbnailer::refuseOwnFolder(const QList<cPicture> &pictures) const
{
    const QString thumbnails = QFileInfo(m_folder).canonicalFilePath();
    if (thumbnails.isEmpty())
        return;
    QSet<QString> folders;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (i == 0 || pictures.at(i).folder != pictures.at(i - 1).folder)
            folders.insert(pictures.at(i).folder);
    }
    for (const QString &folder : folders) {
        if (QFileInfo(folder).canonicalFilePath() == thumbnails)
            throw cError(cError::BadFileName,
                         QStringLiteral("THUMBDIR is a folder of the pictures themselves: ") +
                             QDir::toNativeSeparators(m_folder));
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

QList<cThumbnailer::Thumbnail> cThumbnailer::make(const QList<cPicture> &pictures,
                                                  cProgress *progress, bool &cancelled) const
{
    cancelled = false;
    refuseOwnFolder(pictures);
    QDir().mkpath(m_folder);
    QThreadPool pool;
    pool.setMaxThreadCount(m_jobs > 0 ? m_jobs : QThread::idealThreadCount());
    QFuture<Thumbnail> future = QtConcurrent::mapped(
        &pool, pictures, [this](const cPicture &picture) { return makeOne(picture); });
    // Awaited in an event loop, not asleep: the window repaints while the thumbnails are made.
    QFutureWatcher<Thumbnail> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&future, progress] {
        // The thumbnails being made finish whole; the others are not started.
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
    const QList<Thumbnail> thumbnails = future.results();
    logProblems(pictures, thumbnails);
    return thumbnails;
}
