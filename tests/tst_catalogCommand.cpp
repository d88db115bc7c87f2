#include "app/frmZentra.h"
#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "command/cCatalogCommand.h"
#include "common/cProgramPlace.h"
#include "common/modUtil1.h"

#include <QBuffer>
#include <QCheckBox>
#include <QColorSpace>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <csignal>
#include <exiv2/exiv2.hpp>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QByteArray pageSettings = cTestFiles::pageSettings(1, 2);
// The links each page of a catalog holds, by page.
using PageLinks = QMap<QString, QStringList>;

} // namespace

class tst_catalogCommand : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        modUtil1::setLogFolder(m_dir->path());
        m_in = m_dir->filePath("in");
        QDir().mkpath(m_in);
        for (const char *name : {"b.jpg", "C.gif", "a.GIF", "d.JPG"})
            cTestFiles::write(m_in + "/" + name, "x");
        m_ini = m_dir->filePath("QDX.ini");
        cTestFiles::write(m_ini, pageSettings);
    }

    void sameBytesAsTheWindow()
    {
        const QString out = m_dir->filePath("window");
        QDir().mkpath(out);
        cTestFiles::write(m_ini, "[Folders]\r\nINPATH=i|50|" + m_in.toUtf8() + "\r\nOUTPATH=o|50|" +
                                     out.toUtf8() + "\r\n" + pageSettings);
        {
            cTestDesktop desktop;
            frmZentra window(m_dir->path());
            window.Form_Load();
            window.findChild<QCheckBox *>("chkJpg")->setChecked(true);
            window.cmdGetFiles_Click();
            window.cmdAddAll_Click();
            window.CmdGenFiles_Click();
        }
        const QByteArray settings = cTestFiles::read(m_ini);
        QCOMPARE(run({m_in}), 0);
        QCOMPARE(cTestFiles::read(m_in + "/index.htm"), cTestFiles::read(out + "/index.htm"));
        QVERIFY(m_out.startsWith("4 pictures, page written: "));
        QVERIFY(m_err.isEmpty());
        QCOMPARE(cTestFiles::read(m_ini), settings);
    }

    void optionsChooseAndOrder_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("no gif") << QStringList{"--no-gif"} << QStringList{"b.jpg", "d.JPG"};
        QTest::newRow("no jpg") << QStringList{"--no-jpg"} << QStringList{"a.GIF", "C.gif"};
        QTest::newRow("by name") << QStringList{"--sort", "name"}
                                 << QStringList{"a.GIF", "b.jpg", "C.gif", "d.JPG"};
        QTest::newRow("values after an equals sign")
            << QStringList{"--sort=name", "--no-gif"} << QStringList{"b.jpg", "d.JPG"};
    }
    void optionsChooseAndOrder()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, names);
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run(options + QStringList{"--out", out, m_in}), 0);
        const QByteArray page = cTestFiles::read(out + "/index.htm");
        QVERIFY(!QFile::exists(m_in + "/index.htm"));
        qsizetype at = 0;
        for (const QString &name : names) {
            const qsizetype found = page.indexOf("<br>" + name.toUtf8() + "\r\n", at);
            QVERIFY2(found > at, qPrintable(name));
            at = found;
        }
        QCOMPARE(page.count("<td "), names.size());
    }

    // "CAPTION": under each thumbnail the name, the picture's own title (XMP, then IPTC, then the
    // EXIF description, not the camera's own words), the time taken, or both; made safe as names.
    void captionsChosen_data()
    {
        QTest::addColumn<QByteArray>("caption");
        QTest::addColumn<QStringList>("shown");
        const QStringList names = {"harbour.jpg", "koeln.jpg", "olympus.jpg"};
        QTest::newRow("without the key") << QByteArray() << names;
        QTest::newRow("the key at 0") << QByteArray("CAPTION=c|1|0\r\n") << names;
        QTest::newRow("title") << QByteArray("CAPTION=c|1|1\r\n")
                               << QStringList{"Harbour &amp; &lt;boats&gt;", "Straße in Köln",
                                              "olympus.jpg"};
        QTest::newRow("time taken")
            << QByteArray("CAPTION=c|1|2\r\n")
            << QStringList{"2024-07-14 18:03", "2024-07-15 09:00", "2023-05-01 10:00"};
        QTest::newRow("title and time taken")
            << QByteArray("CAPTION=c|1|3\r\n")
            << QStringList{"Harbour &amp; &lt;boats&gt; (2024-07-14 18:03)",
                           "Straße in Köln (2024-07-15 09:00)", "olympus.jpg (2023-05-01 10:00)"};
        QTest::newRow("time taken, in the order taken")
            << QByteArray("CAPTION=c|1|2\r\nORDER=o|1|2\r\n")
            << QStringList{"2023-05-01 10:00", "2024-07-14 18:03", "2024-07-15 09:00"};
    }
    void captionsChosen()
    {
        QFETCH(QByteArray, caption);
        QFETCH(QStringList, shown);
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(8, 8));
        cTestFiles::write(m_in + "/harbour.jpg",
                          cTestFiles::withMetadata(
                              jpeg, {{"Xmp.dc.title", "lang=x-default Harbour & <boats>"},
                                     {"Iptc.Application2.Caption", "not this"},
                                     {"Exif.Image.ImageDescription", "nor this"},
                                     {"Exif.Photo.DateTimeOriginal", "2024:07:14 18:03:22"}}));
        cTestFiles::write(m_in + "/koeln.jpg",
                          cTestFiles::withMetadata(
                              jpeg, {{"Iptc.Application2.Caption", "Straße in Köln"},
                                     {"Exif.Photo.DateTimeOriginal", "2024:07:15 09:00:00"}}));
        const QString olympus = m_in + "/olympus.jpg";
        cTestFiles::write(olympus,
                          cTestFiles::withMetadata(jpeg, {{"Exif.Image.ImageDescription",
                                                           "OLYMPUS DIGITAL CAMERA         "}}));
        QFile file(olympus);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(
            file.setFileTime(QDateTime({2023, 5, 1}, {10, 0}), QFileDevice::FileModificationTime));
        file.close();
        cTestFiles::write(m_ini, pageSettings + caption);
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        const QByteArray page = cTestFiles::read(out + "/index.htm");
        qsizetype at = 0;
        for (const QString &text : shown) {
            const qsizetype found = page.indexOf("<br>" + text.toUtf8() + "\r\n", at);
            QVERIFY2(found > at, qPrintable(text));
            at = found;
        }
        // A title beyond ASCII makes the page say it is UTF-8.
        QCOMPARE(page.contains("<meta charset=\"utf-8\">"), shown.at(1).contains("ö"));
    }

    // A title in Latin-1 that does not say so reads as it was meant; a description that only
    // names the camera is no title; a title's line breaks never reach the page.
    void titlesReadAsTheyWereMeant_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("latin1");
        QTest::addColumn<QString>("shown");
        QTest::newRow("IPTC in Latin-1")
            << QByteArray("Iptc.Application2.Caption") << "Caf? cr?me"
            << QByteArray("Caf\xE9 cr\xE8me") << "Caf\u00e9 cr\u00e8me";
        QTest::newRow("IPTC in UTF-8")
            << QByteArray("Iptc.Application2.Caption") << "Caf\u00e9 cr\u00e8me" << QByteArray()
            << "Caf\u00e9 cr\u00e8me";
        QTest::newRow("EXIF in Latin-1") << QByteArray("Exif.Image.ImageDescription") << "M?nchen"
                                         << QByteArray("M\xFCnchen") << "M\u00fcnchen";
        QTest::newRow("the camera's model as description")
            << QByteArray("Exif.Image.ImageDescription") << "<Digimax i50 MP3, Samsung #1 MP3>"
            << QByteArray() << "samsung.jpg";
        QTest::newRow("the camera's make") << QByteArray("Exif.Image.ImageDescription")
                                           << "Samsung   " << QByteArray() << "samsung.jpg";
        QTest::newRow("a line break in a title")
            << QByteArray("Xmp.dc.title") << "lang=x-default Harbour\r\nat night" << QByteArray()
            << "Harbour  at night";
    }
    void titlesReadAsTheyWereMeant()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, text);
        QFETCH(QByteArray, latin1);
        QFETCH(QString, shown);
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(8, 8));
        QByteArray picture = cTestFiles::withMetadata(
            jpeg, {{"Exif.Image.Make", "SAMSUNG"},
                   {"Exif.Image.Model", "<Digimax i50 MP3, Samsung #1 MP3>"},
                   {key, text}});
        // The metadata library writes what it is given as UTF-8: the bytes of another encoding
        // take the place of as many of their own.
        if (!latin1.isEmpty()) {
            QVERIFY(picture.contains(text.toLatin1()));
            picture.replace(text.toLatin1(), latin1);
        }
        cTestFiles::write(m_in + "/samsung.jpg", picture);
        cTestFiles::write(m_ini, pageSettings + "CAPTION=c|1|1\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        const QString page = QString::fromUtf8(cTestFiles::read(out + "/index.htm"));
        QVERIFY2(page.contains("<br>" + shown + "\r\n"), qPrintable(page));
    }

    // Nothing the program writes carries where a picture was taken, the camera's serial number or
    // its owner's name, not even a thumbnail made from the camera's own copy; with "SAYPLACE" the
    // pictures linked that carry their place are counted once. Copies for the web, linked instead
    // of the pictures, are upright, fit their box, keep the colour profile, and keep the date
    // taken and the copyright when "COPYFACTS" says so, nothing else.
    void nothingPrivateLeaves_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("published");
        const QByteArray say = "SAYPLACE=s|-1|1\r\n";
        const QByteArray copy = "COPYSIZE=c|5|200\r\nCOPYDIR=c|20|web\r\n";
        const QByteArray publish = "COPYFACTS=f|-1|1\r\n";
        // The page, a thumbnail a picture, a copy a picture.
        QTest::newRow("said") << say
                              << "qdx-catalog: 3 linked pictures carry the place where they were "
                                 "taken\n"
                              << 1 + 3 << false;
        QTest::newRow("not asked") << QByteArray() << QString() << 1 + 3 << false;
        QTest::newRow("copies linked instead") << say + copy << QString() << 1 + 3 + 3 << false;
        QTest::newRow("copies with the date and copyright")
            << say + copy + publish << QString() << 1 + 3 + 3 << true;
        // Thumbnails twice the size, a page a picture and the style sheet.
        QTest::newRow("all a catalog for the web writes")
            << say + copy + publish + "PHONES=p|-1|1\r\nPICTUREPAGES=p|-1|1\r\n"
            << QString() << 1 + 3 + 3 + 3 + 3 + 1 << true;
    }
    void nothingPrivateLeaves()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, said);
        QFETCH(int, files);
        QFETCH(bool, published);
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(400, 300), 6, QColorSpace::DisplayP3);
        QImage copy(160, 120, QImage::Format_RGB32);
        copy.fill(Qt::darkGreen);
        const QString taken = "2024:07:14 18:03:22";
        const QString rights = "CC BY 4.0 Studio Q";
        const QList<QPair<QByteArray, QString>> secrets = {
            {"Exif.GPSInfo.GPSLatitudeRef", "N"},
            {"Exif.GPSInfo.GPSLatitude", "48/1 51/1 2957/100"},
            {"Exif.GPSInfo.GPSLongitudeRef", "E"},
            {"Exif.GPSInfo.GPSLongitude", "2/1 17/1 4012/100"},
            {"Exif.Photo.BodySerialNumber", "SERIAL4711XYZ"},
            {"Exif.Photo.LensSerialNumber", "LENS0815QRS"},
            {"Exif.Photo.CameraOwnerName", "Jane Q. Private"},
            {"Exif.Image.Copyright", rights},
            {"Exif.Image.DateTime", taken},
            {"Exif.Photo.DateTimeOriginal", taken}};
        cTestFiles::write(m_in + "/home.jpg", cTestFiles::withMetadata(jpeg, secrets));
        cTestFiles::write(m_in + "/home copy.jpg", cTestFiles::withMetadata(jpeg, secrets, copy));
        cTestFiles::write(m_in + "/xmp.jpg",
                          cTestFiles::withMetadata(jpeg, {{"Xmp.exif.GPSLatitude", "48,51.49N"}}));
        cTestFiles::write(m_ini, pageSettings + "THUMBDIR=t|20|thumbs\r\n" + keys);
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        QCOMPARE(m_err, said.isEmpty() ? QString() : said);
        QStringList written;
        for (QDirIterator it(out, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            written.append(it.next());
        QCOMPARE(written.size(), files);
        // Each copy linked once: from the cells, or from the pictures' pages.
        qsizetype copiesLinked = 0;
        for (const QString &file : written) {
            const QByteArray bytes = cTestFiles::read(file);
            if (file.endsWith(".htm"))
                copiesLinked += bytes.count("=\"web/");
            for (const char *trace : {"SERIAL4711XYZ", "LENS0815QRS", "Jane Q. Private", "48,51"})
                QVERIFY2(!bytes.contains(trace), qPrintable(file + ": " + trace));
            if (!file.endsWith(".jpg"))
                continue;
            const auto image = Exiv2::ImageFactory::open(
                reinterpret_cast<const Exiv2::byte *>(bytes.constData()), long(bytes.size()));
            image->readMetadata();
            const bool isCopy = file.contains("/web/");
            QStringList kept;
            for (const Exiv2::Exifdatum &datum : image->exifData()) {
                if (datum.key() != "Exif.Image.ExifTag")
                    kept.append(QString::fromStdString(datum.key() + "=" + datum.toString()));
            }
            const QStringList facts = {"Exif.Image.Copyright=" + rights,
                                       "Exif.Photo.DateTimeOriginal=" + taken};
            QCOMPARE(kept, isCopy && published && !file.contains("/xmp-") ? facts : QStringList());
            QVERIFY(image->xmpData().empty());
            if (isCopy) {
                const QImage shown(file);
                QCOMPARE(shown.size(), QSize(150, 200));
                QCOMPARE(shown.colorSpace(), QColorSpace(QColorSpace::DisplayP3));
            }
        }
        QCOMPARE(copiesLinked, files > 4 ? 3 : 0);
    }

    // What a picture's reader keeps as text (a PNG's XMP with the place and its Author and
    // Comment, a TIFF's description, a JPEG's comment) goes into no thumbnail, double or copy.
    void noTextOfAPictureLeaves()
    {
        emptyInputAndGreenJpeg(QSize(8, 8));
        QImage pixels(300, 200, QImage::Format_RGB32);
        pixels.fill(Qt::blue);
        const QList<QPair<QByteArray, QString>> place = {{"Xmp.exif.GPSLatitude", "48,51.49N"},
                                                         {"Xmp.dc.creator", "Jane Q. Private"}};
        const auto encoded = [](QImage image, const char *format, const QString &text) {
            for (const char *key : {"Author", "Comment", "Description"})
                image.setText(key, text);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, format);
            return bytes;
        };
        cTestFiles::write(m_in + "/a.png", cTestFiles::withMetadata(
                                               encoded(pixels, "png", "Jane Q. Private"), place));
        cTestFiles::write(m_in + "/b.jpg", encoded(pixels, "jpg", "Jane Q. Private"));
        cTestFiles::write(m_in + "/c.tif", encoded(pixels, "tiff", "Jane Q. Private 48,51"));
        cTestFiles::write(m_in + "/d.webp",
                          cTestFiles::withMetadata(encoded(pixels, "webp", QString()), place));
        cTestFiles::write(
            m_ini, pageSettings + "THUMBDIR=t|20|thumbs\r\nPHONES=p|-1|1\r\n" +
                       "COPYSIZE=c|5|250\r\nCOPYDIR=c|20|web\r\nMORETYPES=m|20|png tif webp\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        int pictures = 0;
        for (QDirIterator it(out, {"*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString file = it.next();
            const QByteArray bytes = cTestFiles::read(file);
            for (const char *trace : {"Jane", "48,51", "Author", "Description"})
                QVERIFY2(!bytes.contains(trace), qPrintable(file + ": " + trace));
            const auto image = Exiv2::ImageFactory::open(
                reinterpret_cast<const Exiv2::byte *>(bytes.constData()), long(bytes.size()));
            image->readMetadata();
            QVERIFY(image->exifData().empty() && image->xmpData().empty() &&
                    image->iptcData().empty());
            // The program's own stamp of the picture it was made from, nothing else.
            QVERIFY2(QString::fromStdString(image->comment()).startsWith("QDXSource: "),
                     qPrintable(file + ": " + QString::fromStdString(image->comment())));
            ++pictures;
        }
        QCOMPARE(pictures, 4 * 3); // a thumbnail, its double and a copy of each
    }

    // --prune removes, after a catalog written whole, the pages the run before wrote and this
    // one did not, picture pages too; the input folder's own files stay.
    void pruneRemovesPagesOfALongerRun()
    {
        cTestFiles::write(m_ini, pageSettings + "PAGESIZE=p|5|1\r\nPICTUREPAGES=p|-1|1\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--prune", "--out", out, m_in}), 0);
        QVERIFY(QFile::exists(out + "/index4.htm"));
        QCOMPARE(QDir(out).entryList({"*-*.htm"}, QDir::Files).size(), 4);
        for (const char *name : {"/b.jpg", "/C.gif"})
            QVERIFY(QFile::remove(m_in + name));
        QCOMPARE(run({"--prune", "--out", out, m_in}), 0);
        QCOMPARE(QDir(out).entryList({"index*.htm"}, QDir::Files),
                 (QStringList{"index.htm", "index2.htm"}));
        // The pages of the pictures taken away go too.
        const QStringList picturePages = QDir(out).entryList({"*-*.htm"}, QDir::Files);
        QCOMPARE(picturePages.size(), 2);
        QVERIFY(picturePages.first().startsWith("a-") && picturePages.last().startsWith("d-"));
        QCOMPARE(QDir(m_in).entryList(QDir::Files).size(), 2);
    }

    // "MORETYPES" gathers further types after the JPGs; one this machine cannot decode is said
    // once.
    // The shipped settings refresh their own catalog: what the first run wrote, wherever the
    // output folder and the keys put it, is not gathered by the second.
    void theShippedSettingsRefreshTheirCatalog_data()
    {
        QTest::addColumn<QString>("site"); // the output folder below the input folder
        QTest::addColumn<QByteArray>("copyDir");
        QTest::newRow("the page beside the pictures") << "" << QByteArray("web");
        QTest::newRow("the page in a folder of the pictures") << "site" << QByteArray("web");
        QTest::newRow("copies in a folder of another name") << "" << QByteArray("big copies");
    }
    void theShippedSettingsRefreshTheirCatalog()
    {
        QFETCH(QString, site);
        QFETCH(QByteArray, copyDir);
        const QByteArray shipped = cTestFiles::read(QDX_SHIPPED_INI);
        const QByteArray key = "COPYDIR=Web copy folder|20|";
        QVERIFY(shipped.contains(key + "web"));
        cTestFiles::write(m_ini, QByteArray(shipped).replace(key + "web", key + copyDir));
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(300, 200));
        QVERIFY(QDir(m_in).mkpath("Rome"));
        for (const char *name : {"b.jpg", "Rome/a.jpg"})
            cTestFiles::write(m_in + "/" + name, jpeg);
        QStringList arguments{m_in};
        if (!site.isEmpty()) {
            QVERIFY(QDir(m_in).mkpath(site));
            arguments = QStringList{"--out", m_in + "/" + site, m_in};
        }
        for (int rerun = 0; rerun < 2; ++rerun) {
            QCOMPARE(run(arguments), 0);
            QVERIFY2(m_out.startsWith("2 pictures, "), qPrintable(m_out + m_err));
            QCOMPARE(m_err, QString());
        }
    }

    // A clip renamed as a picture reaches no reader of clips: its date is the file's, and the
    // catalog is written, neither hanging nor crashing on it.
    void clipsRenamedAsPicturesAreNotOpened_data()
    {
        QTest::addColumn<QByteArray>("head");
        const auto le32 = [](quint32 value) {
            return QByteArray(reinterpret_cast<const char *>(&value), 4);
        };
        QTest::newRow("an AVI whose lists run past its end")
            << "RIFF" + le32(0xFFFFFFF0) + "AVI LIST" + le32(0xFFFFFFF0) + "hdrlavih" + le32(56) +
                   QByteArray(56, '\0') + "LIST" + le32(0x7FFFFFFF) + "strl" + QByteArray(20, '\0');
        QTest::newRow("a Matroska clip with an element of no length")
            << QByteArray("\x1a\x45\xdf\xa3\x01", 5) + QByteArray(7, '\0') +
                   QByteArray("\x18\x53\x80\x67\x01\xff\xff\xff\xff\xff\xff\xff", 12) +
                   QByteArray(64, '\0');
        QTest::newRow("an ASF clip of an endless header")
            << QByteArray("\x30\x26\xb2\x75\x8e\x66\xcf\x11\xa6\xd9\x00\xaa\x00\x62\xce\x6c", 16) +
                   QByteArray("\xff\xff\xff\xff\xff\xff\x00\x00", 8) + QByteArray(72, '\x5a');
    }
    void clipsRenamedAsPicturesAreNotOpened()
    {
        QFETCH(QByteArray, head);
        cTestFiles::write(m_ini, "[Program]\r\nORDER=o|1|2\r\n" + pageSettings);
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(8, 8));
        cTestFiles::write(m_in + "/a.jpg", jpeg);
        cTestFiles::write(m_in + "/clip.jpg", head);
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--no-gif", "--out", out, m_in}), 0);
        QVERIFY2(m_out.startsWith("2 pictures, page written"), qPrintable(m_out + m_err));
    }

    void furtherTypesAreGathered()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_in + "/shot.png"));
        for (const char *name : {"x.xyz", "y.xyz"})
            cTestFiles::write(m_in + "/" + name, "x");
        cTestFiles::write(m_ini, pageSettings + "MORETYPES=m|20|png xyz\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        const QByteArray page = cTestFiles::read(out + "/index.htm");
        QVERIFY(page.indexOf("<br>d.JPG\r\n") < page.indexOf("<br>shot.png\r\n"));
        QCOMPARE(page.count("<td "), 5);
        QCOMPARE(m_err.count("cannot read XYZ pictures"), 1);
    }

    // "SUBFOLDERS" gathers the folders below the input folder, each picture linked where it is.
    // Pictures of subfolders are linked from the page, two of one name being two pictures; with
    // "ALBUMS" each folder has its own page in a folder named after it, opened from its parent's.
    void subfoldersAreGathered_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<PageLinks>("links");
        QTest::newRow("one catalog")
            << QByteArray("SUBFOLDERS=s|-1|1\r\n")
            << PageLinks{
                   {"index.htm", {"../in/sub/deeper/s.jpg", "../in/sub/s.jpg", "../in/two/s.jpg"}}};
        QTest::newRow("albums")
            << QByteArray("ALBUMS=a|-1|1\r\n")
            << PageLinks{{"index.htm", {"sub/index.htm", "two/index.htm"}},
                         {"sub/index.htm", {"deeper/index.htm", "../../in/sub/s.jpg"}},
                         {"sub/deeper/index.htm", {"../../../in/sub/deeper/s.jpg"}},
                         {"two/index.htm", {"../../in/two/s.jpg"}}};
    }
    void subfoldersAreGathered()
    {
        QFETCH(QByteArray, key);
        QFETCH(PageLinks, links);
        QVERIFY(QDir(m_in).mkpath("sub/deeper") && QDir(m_in).mkpath("two"));
        for (const char *name : {"/sub/s.jpg", "/sub/deeper/s.jpg", "/two/s.jpg"})
            cTestFiles::write(m_in + name, "x");
        cTestFiles::write(m_ini, pageSettings + key);
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        for (auto page = links.cbegin(); page != links.cend(); ++page) {
            const QByteArray html = cTestFiles::read(out + "/" + page.key());
            for (const QString &link : page.value())
                QVERIFY2(html.contains("<a href=\"" + link.toUtf8() + "\">"),
                         qPrintable(page.key() + ": " + link + "\n" + html));
        }
        // The input folder's own four pictures are on the top page.
        QCOMPARE(cTestFiles::read(out + "/index.htm").count("<td "),
                 4 + links.value("index.htm").size());
    }

    // A tree deeper than the gathering goes is gathered as far as it goes, the rest said once;
    // links back up and to a folder gathered already are not followed again.
    void deepTreesEnd()
    {
        emptyInputAndGreenJpeg(QSize(8, 8));
        QString below;
        for (int depth = 1; depth <= 300; ++depth) {
            below += QString("/%1").arg(depth);
            if (depth == 10 || depth == 255 || depth == 256 || depth == 300) {
                QVERIFY(QDir(m_in).mkpath(below.mid(1)));
                cTestFiles::write(m_in + below + QString("/at%1.jpg").arg(depth), "x");
            }
        }
        QVERIFY(QFile::link(m_in, m_in + "/1/2/up"));
        QVERIFY(QFile::link(m_in + "/1/2/3", m_in + "/1/2/zz"));
        cTestFiles::write(m_ini, pageSettings + "SUBFOLDERS=s|-1|1\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        const QByteArray page = cTestFiles::read(out + "/index.htm");
        for (const char *shown : {"at10.jpg", "at255.jpg"})
            QVERIFY(page.contains(shown));
        for (const char *left : {"at256.jpg", "at300.jpg"})
            QVERIFY(!page.contains(left));
        QCOMPARE(page.count("<td "), 2);
        QCOMPARE(m_err.count("folders left out, with all they hold, as they lie more than 255 "
                             "folders deep: 1"),
                 1);
        // Through the link the pictures below 3 are not gathered a second time.
        QVERIFY(!page.contains("zz/"));
    }

    // "ALBUMS" 2: albums by the year, then the month, the pictures were taken, whatever day
    // folders of a phone's export they lie in; a picture without the camera's date stays on top.
    void albumsByMonth()
    {
        const QByteArray jpeg = emptyInputAndGreenJpeg(QSize(8, 8));
        const QList<QPair<QString, QString>> pictures = {
            {"2021-04-11/a.jpg", "2021:04:11 10:00:00"},
            {"2021-04-12/b.jpg", "2021:04:12 10:00:00"},
            {"2021-05-02/c.jpg", "2021:05:02 10:00:00"},
            {"2020-12-31/d.jpg", "2020:12:31 23:00:00"},
            {"misc/e.jpg", QString()}};
        for (const auto &[path, taken] : pictures) {
            QVERIFY(QDir(m_in).mkpath(QFileInfo(path).path()));
            cTestFiles::write(
                m_in + "/" + path,
                taken.isEmpty()
                    ? jpeg
                    : cTestFiles::withMetadata(jpeg, {{"Exif.Photo.DateTimeOriginal", taken}}));
        }
        cTestFiles::write(m_ini, pageSettings + "ALBUMS=a|1|2\r\n");
        const QString out = m_dir->filePath("out");
        QDir().mkpath(out);
        QCOMPARE(run({"--out", out, m_in}), 0);
        const QMap<QString, QStringList> cells = {
            {"index.htm", {"2020 (1)", "2021 (3)", "e.jpg"}},
            {"2021/index.htm", {"April 2021 (2)", "May 2021 (1)"}},
            {"2021/04/index.htm", {"a.jpg", "b.jpg"}},
            {"2021/05/index.htm", {"c.jpg"}},
            {"2020/12/index.htm", {"d.jpg"}}};
        for (auto page = cells.cbegin(); page != cells.cend(); ++page) {
            const QByteArray html = cTestFiles::read(out + "/" + page.key());
            QCOMPARE(html.count("<td "), page.value().size());
            for (const QString &cell : page.value())
                QVERIFY2(html.contains("<br>" + cell.toUtf8() + "\r\n"),
                         qPrintable(page.key() + ": " + cell + "\n" + html));
        }
    }

    void failuresSayWhatWentWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pageLines"); // -1: no page in the input folder
        QTest::newRow("missing input folder")
            << QStringList{"<dir>/gone"} << pageSettings << 1 << "input folder not found" << -1;
        QTest::newRow("output folder missing")
            << QStringList{"--out", "<dir>/nowhere/deeper", "<in>"} << pageSettings << 1
            << "could not be written (step 1)" << -1;
        QTest::newRow("output folder missing, with thumbnails")
            << QStringList{"--out", "<dir>/nowhere/deeper", "<in>"}
            << pageSettings + "THUMBDIR=t|20|thumbs\r\n"
            << 1 << "could not be written (step 1)" << -1;
        QTest::newRow("settings file missing")
            << QStringList{"--ini", "<dir>/none.ini", "<in>"} << pageSettings << 1
            << "settings file not found" << -1;
        QTest::newRow("settings with a duplicate key")
            << QStringList{"<in>"} << QByteArray("[A]\r\nK=a|1|1\r\nk=b|1|1\r\n") << 1
            << "cannot be read" << -1;
        QTest::newRow("settings without a page key")
            << QStringList{"<in>"} << QByteArray("[A]\r\nDOCFILE=f|20|index.htm\r\n") << 1
            << "could not be written (step 1)" << 5;
        QTest::newRow("settings file that is a FIFO")
            << QStringList{"--ini", "<dir>/fifo.ini", "<in>"} << pageSettings << 1
            << "fifo.ini cannot be read: Not a regular file" << -1;
        QTest::newRow("unknown option")
            << QStringList{"--fast", "<in>"} << pageSettings << 2 << "Unknown option 'fast'" << -1;
        QTest::newRow("no jobs") << QStringList{"--jobs", "0", "<in>"} << pageSettings << 2
                                 << "--jobs takes a number above 0" << -1;
        QTest::newRow("value missing") << QStringList{"<in>", "--ini"} << pageSettings << 2
                                       << "Missing value after '--ini'" << -1;
        QTest::newRow("no input folder")
            << QStringList{} << pageSettings << 2 << "no input folder given" << -1;
        QTest::newRow("sort by something else") << QStringList{"--sort", "size", "<in>"}
                                                << pageSettings << 2 << "--sort takes only" << -1;
    }
    void failuresSayWhatWentWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settings);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(int, pageLines);
        cTestFiles::write(m_ini, settings);
        ::mkfifo(QFile::encodeName(m_dir->filePath("fifo.ini")).constData(), 0600);
        arguments.replaceInStrings("<dir>", m_dir->path());
        arguments.replaceInStrings("<in>", m_in);
        QCOMPARE(run(arguments), status);
        QVERIFY2(m_err.contains(message), qPrintable(m_err));
        QVERIFY(m_out.isEmpty());
        // A usage error is one line and a pointer to the help.
        if (status == 2)
            QCOMPARE(m_err.split('\n').value(1), QString("Try 'qdx-catalog --help'"));
        QCOMPARE(cTestFiles::read(m_ini), settings);
        QVERIFY(!QFile::exists(m_dir->filePath("nowhere")));
        // A page cut short stays as the window would leave it.
        QCOMPARE(QFile::exists(m_in + "/index.htm"), pageLines >= 0);
        if (pageLines >= 0)
            QCOMPARE(cTestFiles::read(m_in + "/index.htm").count("\r\n"), qsizetype(pageLines));
    }

    // A disk that fills up takes part of a chunk first: the message used to be "Unknown error".
    void pageCutShortSaysWhy()
    {
        for (int i = 0; i < 2000; ++i)
            cTestFiles::write(m_in + QString("/p%1.gif").arg(i), "");
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit before;
        ::getrlimit(RLIMIT_FSIZE, &before);
        rlimit limit = before;
        limit.rlim_cur = 50000; // the page passes it, the log does not
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int status = run({m_in});
        ::setrlimit(RLIMIT_FSIZE, &before);
        QCOMPARE(status, 1);
        QVERIFY2(m_err.contains("File too large"), qPrintable(m_err));
    }

    // Folders given from the working folder: the links lead from where the page is.
    void relativeFoldersLinkFromThePage()
    {
        cTestFiles::write(m_ini, pageSettings + "RELLINKS=r|-1|1\r\n");
        QDir().mkpath(m_dir->filePath("out/x"));
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        const int status = run({"--out", "out/x", "in"});
        QDir::setCurrent(before);
        QCOMPARE(status, 0);
        const QByteArray page = cTestFiles::read(m_dir->filePath("out/x/index.htm"));
        QVERIFY2(page.contains(" <a href=\"../../in/b.jpg\">"), page.constData());
    }

    // Limits of the machine, run as a user runs the program: a picture that declares billions of
    // pixels is refused within a bounded address space, and a file size limit is an error that
    // keeps the previous page, not a signal that ends the program.
    void limitsGiveErrorsNotHarm_data()
    {
        QTest::addColumn<int>("resource");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("pictures declaring 30000 and 46000 pixels a side")
            << int(RLIMIT_AS) << (1500 << 20) << 0 << "7 pictures could not be read for thumbnails";
        QTest::newRow("a file size limit") << int(RLIMIT_FSIZE) << 50000 << 1 << "File too large";
    }
    void limitsGiveErrorsNotHarm()
    {
        QFETCH(int, resource);
        QFETCH(int, limit);
        QFETCH(int, status);
        QFETCH(QString, message);
        const bool bombs = resource == RLIMIT_AS;
        if (bombs) {
            cTestFiles::write(m_ini,
                              pageSettings + "THUMBDIR=t|20|thumbs\r\nMORETYPES=m|20|heic\r\n");
            // 266 megapixels in a grid of a file that declares 64 x 64.
            QImage tile(64, 64, QImage::Format_RGB32);
            tile.fill(Qt::gray);
            cTestFiles::write(
                m_in + "/g.heic",
                cTestFiles::heifGridBomb(cTestFiles::heif(tile, false), QSize(16320, 16320)));
            cTestFiles::write(m_in + "/b.jpg", cTestFiles::progressiveBomb(30000));
            cTestFiles::write(m_in + "/d.JPG", cTestFiles::progressiveBomb(46000));
            // Fewer pixels than the limit, but a decoder would hold 864 MB for them at once.
            cTestFiles::write(m_in + "/f.jpg", cTestFiles::progressiveBomb(12000));
            // A picture cut short: the image library's complaint goes to the log, not between
            // the program's lines.
            cTestFiles::write(m_in + "/e.jpg", cTestFiles::progressiveBomb(64).left(300));
        } else {
            for (int i = 0; i < 2000; ++i)
                cTestFiles::write(m_in + QString("/p%1.gif").arg(i), "");
        }
        cTestFiles::write(m_in + "/index.htm", "the previous page");
        QProcess catalog;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_dir->filePath("config"));
        environment.insert("XDG_DATA_HOME", m_dir->filePath("data"));
        catalog.setProcessEnvironment(environment);
        catalog.setChildProcessModifier([resource, limit] {
            // As a shell starts it: the signal a file size limit sends is not ignored.
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit bound{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(resource, &bound);
        });
        catalog.start(QDX_CATALOG, {"--ini", m_ini, "--jobs", "2", m_in});
        QVERIFY(catalog.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(catalog.readAllStandardError());
        QCOMPARE(catalog.exitStatus(), QProcess::NormalExit);
        QCOMPARE(catalog.exitCode(), status);
        QVERIFY2(err.contains(message), qPrintable(err));
        for (const QString &line : err.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith("qdx-catalog: "), qPrintable(line));
        // Run with --ini, it touches nothing of the user's: the log goes beside the settings.
        QVERIFY(!err.contains("could not be copied"));
        QVERIFY(!QFileInfo::exists(m_dir->filePath("config")));
        QVERIFY(!QFileInfo::exists(m_dir->filePath("data")));
        if (bombs) {
            const QByteArray log = cTestFiles::read(modUtil1::logFilePath(QDate::currentDate()));
            QVERIFY(log.contains("could not be read: declares 30000 x 30000 pixels"));
            QVERIFY(log.contains("could not be read: declares 46000 x 46000 pixels"));
            QVERIFY(log.contains("could not be read: a progressive JPEG of 12000 x 12000"));
            QVERIFY2(
                log.contains("Security limit exceeded: Image size 16320x16320 exceeds the maximum"),
                log.mid(log.indexOf("g.heic"), 400).constData());
        } else {
            QCOMPARE(cTestFiles::read(m_in + "/index.htm"), QByteArray("the previous page"));
        }
    }

    void folderWithoutPicturesWritesNoPage()
    {
        const QString empty = m_dir->filePath("empty");
        QDir().mkpath(empty);
        cTestFiles::write(empty + "/notes.txt", "x");
        QCOMPARE(run({empty}), 1);
        QVERIFY(m_err.contains("no GIF or JPG pictures"));
        QVERIFY(!QFile::exists(empty + "/index.htm"));
    }

    void helpAndVersion()
    {
        QCOMPARE(run({"--help"}), 0);
        QVERIFY(m_out.startsWith("Usage: qdx-catalog"));
        QVERIFY(m_out.contains("(default: " + m_ini + ")"));
        QCOMPARE(run({"--version"}), 0);
        QVERIFY(m_out.startsWith("qdx-catalog 1.00\nMIT License"));
        QVERIFY(m_err.isEmpty());
    }

    // "--" ends the options, so a folder may start with a dash.
    void folderNamedLikeAnOption()
    {
        const QString dashed = m_dir->filePath("-x");
        QDir().mkpath(dashed);
        cTestFiles::write(dashed + "/a.gif", "x");
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        const int status = run({"--", "-x"});
        QDir::setCurrent(before);
        QCOMPARE(status, 0);
        QVERIFY(QFile::exists(dashed + "/index.htm"));
    }

private:
    // Clears the input folder of the pictures every test starts with; a green camera JPEG.
    QByteArray emptyInputAndGreenJpeg(const QSize &size, int orientation = 1,
                                      const QColorSpace &profile = QColorSpace())
    {
        QDir(m_in).removeRecursively();
        QDir().mkpath(m_in);
        QImage pixels(size, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        pixels.setColorSpace(profile);
        return cTestFiles::cameraJpeg(pixels, orientation);
    }
    int run(const QStringList &arguments)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        const int status =
            cCatalogCommand::run(arguments, cProgramPlace::portable(m_dir->path()), out, err);
        out.flush();
        err.flush();
        return status;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_in;
    QString m_ini;
    QString m_out;
    QString m_err;
};

QTEST_MAIN(tst_catalogCommand)
#include "tst_catalogCommand.moc"
