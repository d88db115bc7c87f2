// Thumbnails of camera-sized pictures, against vipsthumbnail and ImageMagick run on the same
// files with as many parallel jobs as cores.
//   bench_thumbnails make FOLDER COUNT   writes COUNT noisy 4000 by 3000 JPEGs turned by EXIF
//   bench_thumbnails previews FROM TO    copies them, every other one with the EXIF thumbnail of
//                                        160 by 120 and the times a camera writes
//   bench_thumbnails run FOLDER [TO]     measures (peak memory is this process's alone)
#include "cTestFiles.h"
#include "catalog/cCatalogWriter.h"
#include "common/cOption.h"
#include "pictures/cImageFinder.h"
#include "pictures/cPictureFacts.h"
#include "pictures/cPictureReader.h"
#include "pictures/cPreviewLoader.h"
#include "pictures/cThumbnailer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Orientation 6, as a camera held upright writes it.
QByteArray cameraPicture(int seed)
{
    return cTestFiles::cameraJpeg(cTestFiles::cameraLike(QSize(4000, 3000), seed, 48), 6, 85);
}

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Runs one command a batch, all batches at once.
double parallelMs(const QString &program, const QStringList &before, const QStringList &files,
                  const QStringList &after = {})
{
    const int jobs = QThread::idealThreadCount();
    return elapsedMs([&] {
        QList<QProcess *> running;
        for (int job = 0; job < jobs; ++job) {
            QStringList batch;
            for (qsizetype i = job; i < files.size(); i += jobs)
                batch.append(files.at(i));
            auto *process = new QProcess;
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(program, before + batch + after);
            running.append(process);
        }
        for (QProcess *process : running) {
            process->waitForFinished(-1);
            delete process;
        }
    });
}
// Previews as the window asks for them, a step to the next picture every stepMs: the mean time
// from a step to its preview after the first (the first is decoded cold), the time from the
// last step to its preview, and the longest a request held the caller.
struct Stepping
{
    double afterStepMs = 0;
    double afterLastMs = 0;
    double longestRequestMs = 0;
};

Stepping stepThrough(const QStringList &files, int steps, int stepMs)
{
    cPreviewLoader loader(QSize(233, 233));
    QElapsedTimer clock;
    clock.start();
    QString shown;
    qint64 shownAt = 0;
    QObject::connect(&loader, &cPreviewLoader::ready, [&](const QString &path) {
        shown = path;
        shownAt = clock.nsecsElapsed();
    });
    Stepping stepping;
    double waitedMs = 0;
    for (int step = 0; step < steps; ++step) {
        const QString path = files.at(step % files.size());
        const QStringList ahead = {files.at((step + 1) % files.size()),
                                   files.at((step + 2) % files.size())};
        const qint64 asked = clock.nsecsElapsed();
        loader.request(path, ahead);
        stepping.longestRequestMs =
            std::max(stepping.longestRequestMs, (clock.nsecsElapsed() - asked) / 1e6);
        const bool last = step == steps - 1;
        // Asleep between events, as the window's loop is.
        QTimer stepEnd;
        stepEnd.setSingleShot(true);
        stepEnd.start(stepMs);
        while (stepEnd.remainingTime() > 0 || (last && shown != path))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (shown == path && step > 0)
            waitedMs += (shownAt - asked) / 1e6;
        if (last)
            stepping.afterLastMs = (shownAt - asked) / 1e6;
    }
    stepping.afterStepMs = waitedMs / (steps - 1);
    return stepping;
}
// The same held key when each preview is decoded in the key's handler, as the window did: keys
// wait for the decodes before them.
double heldInHandlerMs(const QStringList &files, int steps, int stepMs)
{
    QElapsedTimer clock;
    clock.start();
    double lagMs = 0;
    for (int step = 0; step < steps; ++step) {
        const double pressedMs = double(step) * stepMs;
        while (clock.nsecsElapsed() / 1e6 < pressedMs)
            QThread::usleep(200);
        cPictureReader reader(files.at(step % files.size()));
        if (!reader.open().failed())
            reader.readFitting(QSize(233, 233));
        lagMs = clock.nsecsElapsed() / 1e6 - pressedMs;
    }
    return lagMs;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc >= 4 && QByteArray(argv[1]) == "make") {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(folder);
        QList<int> seeds;
        for (int i = 0; i < QString(argv[3]).toInt(); ++i)
            seeds.append(i);
        QtConcurrent::blockingMap(seeds, [&folder](int seed) {
            QFile file(folder +
                       QStringLiteral("/camera_%1.jpg").arg(seed, 4, 10, QLatin1Char('0')));
            if (file.open(QIODevice::WriteOnly))
                file.write(cameraPicture(seed));
        });
        return 0;
    }
    if (argc >= 4 && QByteArray(argv[1]) == "previews") {
        const QDir from(QString::fromLocal8Bit(argv[2]));
        const QString to = QString::fromLocal8Bit(argv[3]);
        QDir().mkpath(to);
        const QStringList names = from.entryList({QStringLiteral("*.jpg")}, QDir::Files);
        QtConcurrent::blockingMap(names, [&](const QString &name) {
            QByteArray picture = cTestFiles::read(from.filePath(name));
            if (names.indexOf(name) % 2 == 0) {
                QImageReader reader(from.filePath(name));
                reader.setAutoTransform(false);
                reader.setScaledSize(QSize(160, 120));
                const QString taken = QStringLiteral("2024:07:14 18:03:22");
                picture = cTestFiles::withMetadata(
                    picture,
                    {{"Exif.Photo.DateTimeOriginal", taken}, {"Exif.Image.DateTime", taken}},
                    reader.read());
            }
            cTestFiles::write(to + QLatin1Char('/') + name, picture);
        });
        return 0;
    }
    if (argc < 3 || QByteArray(argv[1]) != "run") {
        std::fprintf(
            stderr,
            "usage: bench_thumbnails make FOLDER COUNT | previews FROM TO | run FOLDER [TO]\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    const QString work = folder + QStringLiteral("bench-out");
    QDir(work).removeRecursively();
    QStringList files;
    QList<cPicture> pictures;
    const double gatherMs = elapsedMs([&] {
        pictures = cImageFinder::find(folder, {false, true}).pictures;
    });
    for (const cPicture &picture : pictures)
        files.append(picture.path());
    const cThumbnailer thumbnailer(work + QStringLiteral("/qdx"), QSize(120, 120));
    bool cancelled = false;
    const double qdxMs = elapsedMs([&] { thumbnailer.make(pictures, nullptr, cancelled); });
    const double againMs = elapsedMs([&] { thumbnailer.make(pictures, nullptr, cancelled); });
    // The same pictures in another folder, as after the folder was renamed or moved: linked, not
    // copied, so that they are the very files, times and all.
    const QString moved = work + QStringLiteral("/moved/");
    QDir().mkpath(moved);
    for (const QString &file : files)
        ::link(QFile::encodeName(file).constData(),
               QFile::encodeName(moved + QFileInfo(file).fileName()).constData());
    const QList<cPicture> movedPictures = cImageFinder::find(moved, {false, true}).pictures;
    const double movedMs = elapsedMs([&] { thumbnailer.make(movedPictures, nullptr, cancelled); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // A preview, one picture at a time, as a click in the list makes it: fitted to the preview
    // box (3495 twips at 96 dots an inch), against the whole picture decoded and turned.
    const qsizetype previews = std::min<qsizetype>(20, pictures.size());
    const double previewMs = elapsedMs([&] {
                                 for (qsizetype i = 0; i < previews; ++i) {
                                     cPictureReader reader(pictures.at(i).path());
                                     if (!reader.open().failed())
                                         reader.readFitting(QSize(233, 233));
                                 }
                             }) /
                             double(previews);
    const double wholeMs = elapsedMs([&] {
                               for (qsizetype i = 0; i < previews; ++i) {
                                   QImageReader reader(pictures.at(i).path());
                                   reader.setAutoTransform(true);
                                   reader.read();
                               }
                           }) /
                           double(previews);

    const QStringList looked = files.mid(0, previews);
    const Stepping looking = stepThrough(looked, int(previews), 150);
    const Stepping holding = stepThrough(looked, int(previews), 33);
    const double heldMs = heldInHandlerMs(looked, int(previews), 33);

    // vipsthumbnail at a size, one job a core, into a folder of its own under work.
    const auto vips = [&work](int size, const QString &folder, const QStringList &pictures) {
        QDir().mkpath(work + folder);
        return parallelMs(QStringLiteral("vipsthumbnail"),
                          {QStringLiteral("-s"), QString::number(size), QStringLiteral("-o"),
                           work + folder + QStringLiteral("/%s.jpg")},
                          pictures);
    };
    QDir().mkpath(work + QStringLiteral("/magick"));
    const double vipsMs = vips(120, QStringLiteral("/vips"), files);
    const double magickMs = parallelMs(QStringLiteral("mogrify"),
                                       {QStringLiteral("-path"), work + QStringLiteral("/magick"),
                                        QStringLiteral("-auto-orient"),
                                        QStringLiteral("-thumbnail"), QStringLiteral("120x120")},
                                       files);
    const auto row = [&](const char *step, double ms, const char *baseline, double baseMs) {
        std::printf("| %s | %lld | %.0f | %s | %.0f | %.2f |\n", step, (long long)files.size(), ms,
                    baseline, baseMs, ms / baseMs);
    };
    row("thumbnails, 4000 by 3000 JPEGs", qdxMs, "vipsthumbnail, one job a core", vipsMs);
    row("thumbnails, 4000 by 3000 JPEGs", qdxMs, "ImageMagick mogrify, one job a core", magickMs);
    row("thumbnails again, nothing changed", againMs, "gathering the folder", gatherMs);
    row("thumbnails after the pictures moved to another folder", movedMs,
        "thumbnails, the first time", qdxMs);
    if (argc >= 4) {
        // The same pictures, every other one with the camera's copy in its EXIF.
        const QString withCopies = QDir(QString::fromLocal8Bit(argv[3])).absolutePath() + '/';
        const QList<cPicture> copied = cImageFinder::find(withCopies, {false, true}).pictures;
        QStringList copiedFiles;
        for (const cPicture &picture : copied)
            copiedFiles.append(picture.path());
        const cThumbnailer fromCopies(work + QStringLiteral("/copies"), QSize(120, 120));
        const double copiesMs = elapsedMs([&] { fromCopies.make(copied, nullptr, cancelled); });
        const double vipsCopiesMs = vips(120, QStringLiteral("/vips-copies"), copiedFiles);
        row("thumbnails, half the JPEGs with the camera's EXIF thumbnail", copiesMs,
            "vipsthumbnail -s 120, one job a core", vipsCopiesMs);
        // A catalog of them as the shipped settings write it (every other one dated by the
        // camera), then again with nothing changed: the second run writes no file.
        cOption shipped;
        shipped.iniread(QStringLiteral(QDX_SHIPPED_INI));
        QList<cPicture> dated = copied;
        cPictureFacts().read(dated);
        const QString site = work + QStringLiteral("/site/");
        QDir().mkpath(site);
        const cCatalogWriter catalog(shipped);
        const double catalogMs =
            elapsedMs([&] { catalog.write(site, dated, nullptr, withCopies); });
        const double catalogAgainMs =
            elapsedMs([&] { catalog.write(site, dated, nullptr, withCopies); });
        row("a catalog as shipped, again with nothing changed", catalogAgainMs,
            "the same, the first time", catalogMs);
    }
    // As the shipped settings make them: the thumbnail, the one twice its size and the copy for
    // the web, from one decode; against one program a size, as a script would run them.
    const QString web = work + QStringLiteral("/web");
    const cThumbnailer forTheWeb(
        {{web, QSize(120, 120)},
         {web, QSize(240, 240)},
         {web + QStringLiteral("/copies"), QSize(2048, 2048), true, true}});
    const double webMs = elapsedMs([&] { forTheWeb.make(pictures, nullptr, cancelled); });
    const double webMovedMs = elapsedMs([&] { forTheWeb.make(movedPictures, nullptr, cancelled); });
    const double vipsWebMs = vips(2048, QStringLiteral("/vips-web"), files);
    row("thumbnails, double thumbnails and 2048-pixel web copies", webMs,
        "vipsthumbnail -s 120, then -s 2048, one job a core", vipsMs + vipsWebMs);
    row("the same after the pictures moved to another folder", webMovedMs,
        "the same, the first time", webMs);
    std::printf("| peak memory, thumbnails | %lld | %.1f MB | | | |\n", (long long)files.size(),
                usage.ru_maxrss / 1024.0);
    std::printf("| preview of one 4000 by 3000 JPEG | %lld | %.1f | the whole picture decoded | "
                "%.1f | %.2f |\n",
                (long long)previews, previewMs, wholeMs, previewMs / wholeMs);
    std::printf("| preview after a step, a step every 150 ms | %lld | %.1f | the picture decoded "
                "when asked | %.1f | %.2f |\n",
                (long long)previews, looking.afterStepMs, previewMs,
                looking.afterStepMs / previewMs);
    std::printf(
        "| preview after an arrow key held down (30 steps a second) is let go | %lld | %.1f "
        "| each picture decoded in the key's handler | %.1f | %.2f |\n",
        (long long)previews, holding.afterLastMs, heldMs, holding.afterLastMs / heldMs);
    std::printf("| longest the window waits for a preview request | %lld | %.2f | the picture "
                "decoded when asked | %.1f | %.3f |\n",
                (long long)previews, std::max(looking.longestRequestMs, holding.longestRequestMs),
                previewMs,
                std::max(looking.longestRequestMs, holding.longestRequestMs) / previewMs);
    QDir(work).removeRecursively();
    return 0;
}
