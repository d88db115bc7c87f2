// Reading the date taken and the title of camera pictures while gathering, against exiftool over
// the same folder; and thumbnails of 12-megapixel HEIC pictures, against heif-convert followed by
// vipsthumbnail.
//   bench_facts make FOLDER COUNT   writes COUNT camera JPEGs with EXIF and XMP, and two HEICs
//   bench_facts run FOLDER          measures
#include "cPairTimer.h"
#include "cTestFiles.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "pictures/cThumbnailer.h"
#include "run/cGathering.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// A camera's JPEG, small in pixels (what follows the metadata is never read), with what a camera
// and a photo manager write: make, model, time, the camera's filler description, a title.
QByteArray cameraJpeg(int seed)
{
    const QString time = QStringLiteral("2024:%1:%2 %3:%4:00")
                             .arg(1 + seed % 12, 2, 10, QLatin1Char('0'))
                             .arg(1 + seed % 28, 2, 10, QLatin1Char('0'))
                             .arg(seed % 24, 2, 10, QLatin1Char('0'))
                             .arg(seed % 60, 2, 10, QLatin1Char('0'));
    return cTestFiles::withMetadata(
        cTestFiles::cameraJpeg(cTestFiles::cameraLike(QSize(320, 240), seed, 48), 1, 85),
        {{"Exif.Image.Make", "OLYMPUS IMAGING CORP."},
         {"Exif.Image.Model", "E-M10"},
         {"Exif.Image.ImageDescription", "OLYMPUS DIGITAL CAMERA"},
         {"Exif.Photo.DateTimeOriginal", time},
         {"Exif.Photo.ExposureTime", "1/125"},
         {"Exif.Photo.FNumber", "56/10"},
         {"Xmp.dc.title", QStringLiteral("lang=x-default Picture %1").arg(seed)}});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc >= 4 && QByteArray(argv[1]) == "make") {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(folder + QStringLiteral("/jpeg"));
        QDir().mkpath(folder + QStringLiteral("/heic"));
        for (int i = 0; i < QString(argv[3]).toInt(); ++i) {
            QFile file(folder + QStringLiteral("/jpeg/P%1.JPG").arg(i, 7, 10, QLatin1Char('0')));
            if (file.open(QIODevice::WriteOnly))
                file.write(cameraJpeg(i));
        }
        // A phone's picture carries a thumbnail of its own; one without is decoded whole.
        const QImage picture = cTestFiles::cameraLike(QSize(4000, 3000), 7, 24);
        const QImage ownThumbnail =
            picture.scaled(320, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        for (const bool withThumbnail : {true, false}) {
            QFile file(folder + (withThumbnail ? QStringLiteral("/heic/IMG_0001.HEIC")
                                               : QStringLiteral("/heic/IMG_0002.HEIC")));
            if (file.open(QIODevice::WriteOnly))
                file.write(
                    cTestFiles::heif(picture, false, withThumbnail ? ownThumbnail : QImage()));
        }
        return 0;
    }
    if (argc < 3 || QByteArray(argv[1]) != "run") {
        std::fprintf(stderr, "usage: bench_facts make FOLDER COUNT | run FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const QString jpegs = folder + QStringLiteral("/jpeg/");
    QTemporaryDir work;
    const QString ini = work.filePath(QStringLiteral("QDX.ini"));
    QFile settings(ini);
    settings.open(QIODevice::WriteOnly);
    settings.write("[Program]\r\nORDER=o|1|2\r\nCAPTION=c|1|1\r\n");
    settings.close();
    cOption options;
    options.iniread(ini);
    const cOption plain;
    const auto none = [](cGathering::Step, qint64) { return std::unique_ptr<cProgress>(); };
    const QString count = QString::number(QDir(jpegs).entryList(QDir::Files).size());

    const cPairTimer timer;
    timer.row(
        "gathering camera JPEGs, reading each one's date taken and title", count,
        [&] { cGathering(options).gather(jpegs, false, true, jpegs, none); },
        "exiftool -fast2 -DateTimeOriginal -Title",
        [&] {
            cPairTimer::runProgram("exiftool",
                                   {"-fast2", "-DateTimeOriginal", "-Title", "-q", jpegs});
        });
    cGathering kept(options);
    kept.gather(jpegs, false, true, jpegs, none);
    timer.row(
        "gathering them again, nothing changed", count,
        [&] { kept.gather(jpegs, false, true, jpegs, none); }, "gathering without dates or titles",
        [&] { cGathering(plain).gather(jpegs, false, true, jpegs, none); });

    // The keys that need facts only once a catalog is written, none that orders or shows one.
    const QString pageIni = work.filePath(QStringLiteral("page.ini"));
    QFile pageSettings(pageIni);
    pageSettings.open(QIODevice::WriteOnly);
    pageSettings.write("[Program]\r\nORDER=o|1|0\r\nCAPTION=c|1|0\r\nSAYPLACE=s|-1|1\r\n"
                       "PHONES=p|-1|1\r\nCOPYSIZE=c|5|2048\r\nCOPYFACTS=f|-1|1\r\n");
    pageSettings.close();
    cOption forThePage;
    forThePage.iniread(pageIni);
    timer.row(
        "gathering them the first time, facts needed by the page alone", count,
        [&] { cGathering(forThePage).gather(jpegs, false, true, jpegs, none); },
        "gathering without dates or titles",
        [&] { cGathering(plain).gather(jpegs, false, true, jpegs, none); });

    const cThumbnailer thumbnailer(work.filePath(QStringLiteral("thumbs")), QSize(120, 120));
    for (const auto &[name, step] :
         {std::pair{"IMG_0001.HEIC",
                    "thumbnail of a 12-megapixel HEIC with a thumbnail of its own"},
          std::pair{"IMG_0002.HEIC", "thumbnail of a 12-megapixel HEIC, decoded whole"}}) {
        const QList<cPicture> picture = {{folder + QStringLiteral("/heic/"), name, "HEIC"}};
        const QString converted = work.filePath(QStringLiteral("converted.jpg"));
        bool cancelled = false;
        timer.row(
            step, "1", [&] { thumbnailer.make(picture, nullptr, cancelled); },
            "heif-convert, then vipsthumbnail -s 120",
            [&] {
                cPairTimer::runProgram("heif-convert", {picture.first().path(), converted});
                cPairTimer::runProgram("vipsthumbnail",
                                       {"-s", "120", "-o", work.filePath("v_%s.jpg"), converted});
            },
            [&] { QDir(work.filePath(QStringLiteral("thumbs"))).removeRecursively(); });
    }
    return 0;
}
