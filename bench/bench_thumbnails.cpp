// Thumbnails of camera-sized pictures, against vipsthumbnail and ImageMagick run on the same
// files with as many parallel jobs as cores.
//   bench_thumbnails make FOLDER COUNT   writes COUNT noisy 4000 by 3000 JPEGs turned by EXIF
//   bench_thumbnails run FOLDER          measures (peak memory is this process's alone)
#include "app/cImageFinder.h"
#include "app/cPictureReader.h"
#include "app/cThumbnailer.h"
#include "cTestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtConcurrent>
#include <cstdio>
#include <sys/resource.h>

namespace {
// Camera-like detail: noise over a gradient, which compresses as photographs do, not as flat
// colours; orientation 6, as a camera held upright writes it.
QByteArray cameraPicture(int seed)
{
    QImage picture(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int noise = int(random.bounded(48));
            line[x] = qRgb((x / 16 + noise) & 255, (y / 12 + noise) & 255, (x + y) / 28 & 255);
        }
    }
    return cTestFiles::cameraJpeg(picture, 6, 85);
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
    if (argc < 3 || QByteArray(argv[1]) != "run") {
        std::fprintf(stderr, "usage: bench_thumbnails make FOLDER COUNT | run FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    const QString work = folder + QStringLiteral("bench-out");
    QDir(work).removeRecursively();
    QStringList files;
    QList<cPicture> pictures;
    const double gatherMs =
        elapsedMs([&] { pictures = cImageFinder::find(folder, false, true).pictures; });
    for (const cPicture &picture : pictures)
        files.append(picture.path());
    const cThumbnailer thumbnailer(work + QStringLiteral("/qdx"), QSize(120, 120));
    bool cancelled = false;
    const double qdxMs = elapsedMs([&] { thumbnailer.make(pictures, nullptr, cancelled); });
    const double againMs = elapsedMs([&] { thumbnailer.make(pictures, nullptr, cancelled); });
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

    QDir().mkpath(work + QStringLiteral("/vips"));
    QDir().mkpath(work + QStringLiteral("/magick"));
    const double vipsMs = parallelMs(QStringLiteral("vipsthumbnail"),
                                     {QStringLiteral("-s"), QStringLiteral("120"),
                                      QStringLiteral("-o"), work + QStringLiteral("/vips/%s.jpg")},
                                     files);
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
    std::printf("| peak memory, thumbnails | %lld | %.1f MB | | | |\n", (long long)files.size(),
                usage.ru_maxrss / 1024.0);
    std::printf("| preview of one 4000 by 3000 JPEG | %lld | %.1f | the whole picture decoded | "
                "%.1f | %.2f |\n",
                (long long)previews, previewMs, wholeMs, previewMs / wholeMs);
    QDir(work).removeRecursively();
    return 0;
}
