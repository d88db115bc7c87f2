#include "app/frmZentra.h"
#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "cUserInput.h"
#include "common/cFolderLock.h"
#include "common/cOption.h"
#include "common/modUtil1.h"
#include "desktop/cProgressWindow.h"
#include "lists/cImageList.h"
#include "pictures/cPreviewLoader.h"
#include "pictures/cThumbnailer.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray tinyGif = cTestFiles::tinyGif();

QStringList column(QTableView *list, int col = 0)
{
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts.append(list->model()->index(row, col).data().toString());
    return texts;
}
} // namespace

class tst_imageLists : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        modUtil1::setLogFolder(m_dir->path());
        m_in = m_dir->filePath("in");
        QDir().mkpath(m_in);
        cTestFiles::write(m_dir->filePath("QDX.ini"),
                          "[Folders]\r\nINPATH=In|50|" + m_in.toUtf8() + "\r\nOUTPATH=Out|50|" +
                              m_dir->path().toUtf8() + "\r\nRELLINKS=r|-1|0\r\nTHUMBDIR=t|20|\r\n" +
                              cTestFiles::pageSettings(0, 4));
        m_desktop.reset(new cTestDesktop);
        m_window.reset(new frmZentra(m_dir->path()));
        m_window->Form_Load();
        // Jpg starts cleared; most cases want both types.
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        m_desktop->messages.clear();
    }
    void cleanup()
    {
        m_window.reset();
        m_desktop.reset();
    }

    // Only what can be opened as a picture is listed; ".jpeg" counts as JPG.
    void gathersGifsThenJpgs()
    {
        for (const char *name : {"a.gif", "b.jpg", "c.GIF", ".hidden.gif", "d.png", "e.jpeg"})
            cTestFiles::write(m_in + "/" + name, tinyGif);
        QDir(m_in).mkdir("folder.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(m_in + "/fifo.gif").constData(), 0600), 0);
        QVERIFY(QFile::link(m_in + "/gone.gif", m_in + "/broken.gif"));
        QVERIFY(QFile::link(m_in + "/b.jpg", m_in + "/link.jpg"));
        // A name that is not UTF-8 cannot be given back to the system, so it cannot be opened.
        const QByteArray notUtf8 = QFile::encodeName(m_in) + "/bad\xff.gif";
        ::close(::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0600));
        m_window->cmdGetFiles_Click();
        const QStringList names = column(found());
        QCOMPARE(names.size(), 5);
        QCOMPARE(QSet<QString>(names.cbegin(), names.cbegin() + 2),
                 (QSet<QString>{"a.gif", "c.GIF"}));
        QCOMPARE(QSet<QString>(names.cbegin() + 2, names.cend()),
                 (QSet<QString>{"b.jpg", "e.jpeg", "link.jpg"}));
        QCOMPARE(column(found(), 1), (QStringList{"GIF", "GIF", "JPG", "JPG", "JPG"}));
        QCOMPARE(field("txtNfiles"), QString("5"));
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(m_desktop->messages.first().contains("cannot be read: 1"));
        QCOMPARE(m_desktop->messagesOverProgress, 0);
        ::unlink(notUtf8.constData()); // the temporary folder cannot see it to remove it
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Each type in name order ignoring case, as the file system the program was made for lists a
    // folder (upper case, unit by unit); this one lists in the order of its hashes.
    void gathersInNameOrder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QStringList photos;
        for (int i = 1; i <= 12; ++i)
            photos.append(QString("photo %1.jpg").arg(i));
        QTest::newRow("numbers as text")
            << photos << QStringList{"photo 1.jpg", "photo 10.jpg", "photo 11.jpg", "photo 12.jpg",
                                     "photo 2.jpg", "photo 3.jpg",  "photo 4.jpg",  "photo 5.jpg",
                                     "photo 6.jpg", "photo 7.jpg",  "photo 8.jpg",  "photo 9.jpg"};
        QTest::newRow("case ignored, GIFs first")
            << QStringList{"b.jpg", "A.JPG", "c.gif", "B.GIF"}
            << QStringList{"B.GIF", "c.gif", "A.JPG", "b.jpg"};
        QTest::newRow("signs beside the letters")
            << QStringList{"_x.jpg", "a.jpg", "Z.jpg", "[1].jpg", "0.jpg", "a b.jpg"}
            << QStringList{"0.jpg", "a b.jpg", "a.jpg", "Z.jpg", "[1].jpg", "_x.jpg"};
        QTest::newRow("letters beyond ASCII")
            << QStringList{"été.jpg", "Eau.jpg", "zèbre.jpg", "Öl.jpg", "Ω2.jpg", "ω.jpg"}
            << QStringList{"Eau.jpg", "zèbre.jpg", "été.jpg", "Öl.jpg", "ω.jpg", "Ω2.jpg"};
    }
    void gathersInNameOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        for (const QString &name : files)
            cTestFiles::write(m_in + "/" + name, tinyGif);
        QVERIFY(cUserInput::showActive(m_window.get()));
        press("cmdGetFiles");
        QCOMPARE(column(found()), listed);
    }

    // A folder too large for one read of the system's listing: listed whole, in order, or stopped
    // at any point without waiting for the rest.
    void aLargeFolderIsListedWholeOrStopped_data()
    {
        QTest::addColumn<int>("cancelAfter");
        QTest::addColumn<int>("gathered");
        QTest::newRow("whole") << -1 << 8000;
        QTest::newRow("stopped early") << 100 << 101;
        QTest::newRow("stopped late") << 7000 << 7001;
    }
    void aLargeFolderIsListedWholeOrStopped()
    {
        QFETCH(int, cancelAfter);
        QFETCH(int, gathered);
        // Long names, so that a few thousand fill several reads.
        const QString start = QString(150, QLatin1Char('p'));
        for (int i = 7999; i >= 0; --i)
            cTestFiles::write(m_in + "/" + start + QString::number(i) + ".jpg", QByteArray());
        QVERIFY(cUserInput::showActive(m_window.get()));
        m_desktop->cancelAfter = cancelAfter;
        press("cmdGetFiles");
        QCOMPARE(field("txtNfiles"), QString::number(gathered));
        if (cancelAfter < 0) {
            const QStringList names = column(found());
            QVERIFY(std::is_sorted(names.cbegin(), names.cend()));
            QCOMPARE(names.first(), start + "0.jpg");
        }
    }

    // "ORDER" arranges the found list: names with their numbers as numbers, or the time taken
    // (EXIF, else XMP, else the file's own time), then the name.
    void foundListInTheOrderChosen_data()
    {
        QTest::addColumn<QByteArray>("order");
        QTest::addColumn<QStringList>("listed");
        const QStringList byType = {"scan.gif",    "Photo 1.jpg", "photo 10.jpg", "photo 2.jpg",
                                    "photo 3.jpg", "photo 4.jpg", "IMG_0005.HEIC"};
        QTest::newRow("without the key") << QByteArray() << byType;
        QTest::newRow("the key at 0") << QByteArray("ORDER=o|1|0\r\n") << byType;
        QTest::newRow("names, their numbers as numbers")
            << QByteArray("ORDER=o|1|1\r\n")
            << QStringList{"IMG_0005.HEIC", "Photo 1.jpg",  "photo 2.jpg", "photo 3.jpg",
                           "photo 4.jpg",   "photo 10.jpg", "scan.gif"};
        QTest::newRow("time taken")
            << QByteArray("ORDER=o|1|2\r\n")
            << QStringList{"Photo 1.jpg", "IMG_0005.HEIC", "photo 10.jpg", "photo 3.jpg",
                           "photo 4.jpg", "photo 2.jpg",   "scan.gif"};
    }
    void foundListInTheOrderChosen()
    {
        QFETCH(QByteArray, order);
        QFETCH(QStringList, listed);
        restart(order + "MORETYPES=m|9|heic\r\n");
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        const QByteArray jpeg = cTestFiles::cameraJpeg(pixels, 1);
        const auto write = [this](const QString &name, const QByteArray &bytes,
                                  const QDateTime &fileTime) {
            QFile file(m_in + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.flush();
            QVERIFY(file.setFileTime(fileTime, QFileDevice::FileModificationTime));
        };
        const QDateTime now = QDateTime::currentDateTime();
        write("Photo 1.jpg", jpeg, QDateTime({2023, 3, 1}, {12, 0}));
        write(
            "photo 2.jpg",
            cTestFiles::withMetadata(jpeg, {{"Exif.Photo.DateTimeOriginal", "2024:01:05 08:00:00"},
                                            {"Xmp.exif.DateTimeOriginal", "2020-01-01T00:00:00"}}),
            now);
        write(
            "photo 3.jpg",
            cTestFiles::withMetadata(jpeg, {{"Xmp.exif.DateTimeOriginal", "2024-01-04T08:00:00"}}),
            now);
        // Taken in the same second as photo 3: the name decides.
        write("photo 4.jpg",
              cTestFiles::withMetadata(jpeg,
                                       {{"Exif.Photo.DateTimeOriginal", "2024:01:04 08:00:00"}}),
              now);
        write("photo 10.jpg",
              cTestFiles::withMetadata(jpeg,
                                       {{"Exif.Photo.DateTimeOriginal", "2024:01:03 08:00:00"}}),
              now);
        write("scan.gif", tinyGif, QDateTime({2025, 6, 1}, {12, 0}));
        // A phone's picture: its EXIF is an item of the HEIF file.
        write("IMG_0005.HEIC",
              cTestFiles::heif(pixels, false, QImage(),
                               {{"Exif.Photo.DateTimeOriginal", "2024:01:02 08:00:00"}}),
              now);
        press("cmdGetFiles");
        QCOMPARE(column(found()), listed);
        QCOMPARE(m_desktop->messages, QStringList());
    }

    // "SUBFOLDERS": the folders below the input folder too, each folder's pictures before its
    // subfolders'; not hidden folders, links that lead out or back up, nor the thumbnail folder
    // the program writes there. The page links each picture where it is.
    void subfoldersAreGathered()
    {
        restart("SUBFOLDERS=s|-1|1\r\n");
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        gOption.chgStrVal("THUMBDIR", "thumbs");
        m_window->findChild<QLineEdit *>("txtOutPath")->setText(m_in);
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        const QByteArray jpeg = cTestFiles::cameraJpeg(pixels, 1);
        for (const QString folder : {"2024/July", ".hidden", "Ä folder", "thumbs"})
            QVERIFY(QDir(m_in).mkpath(folder));
        QVERIFY(QDir(m_dir->path()).mkpath("elsewhere"));
        for (const QString name : {"b.jpg", "2024/a b & c#.jpg", ".hidden/h.jpg", "Ä folder/ü.jpg",
                                   "thumbs/planted.jpg"})
            cTestFiles::write(m_in + "/" + name, jpeg);
        cTestFiles::write(m_in + "/2024/July/x.gif", tinyGif);
        cTestFiles::write(m_dir->filePath("elsewhere/e.jpg"), jpeg);
        QVERIFY(QFile::link(m_in + "/2024", m_in + "/2024/July/back up"));
        QVERIFY(QFile::link(m_dir->filePath("elsewhere"), m_in + "/out"));
        // Each by its name first, its folder after it; the whole path as its tool tip.
        const QStringList listed = {"b.jpg", "a b & c#.jpg (2024)", "x.gif (2024/July)",
                                    "ü.jpg (Ä folder)"};
        press("cmdGetFiles");
        QCOMPARE(column(found()), listed);
        QCOMPARE(found()->model()->index(2, 0).data(Qt::ToolTipRole).toString(),
                 m_in + "/2024/July/x.gif");
        press("cmdAddAll");
        QCOMPARE(column(selected()), listed);
        press("CmdGenFiles");
        QCOMPARE(m_desktop->messages, QStringList());
        // Every cell links a picture that is there, from the page's folder.
        const QString page = QString::fromUtf8(cTestFiles::read(m_in + "/index.htm"));
        QRegularExpressionMatchIterator links =
            QRegularExpression("<a href=\"([^\"]+)\"").globalMatch(page);
        int linked = 0;
        while (links.hasNext()) {
            const QString link =
                QUrl::fromPercentEncoding(links.next().captured(1).replace("&amp;", "&").toUtf8());
            QVERIFY2(QFile::exists(m_in + "/" + link), qPrintable(link));
            ++linked;
        }
        QCOMPARE(linked, listed.size());
        // The thumbnails just written are not gathered.
        QCOMPARE(QDir(m_in + "/thumbs").count(), uint(2 + 1 + listed.size()));
        press("cmdGetFiles");
        QCOMPARE(column(found()), listed);
    }

    // A folder that is there but cannot be opened is an error the user sees, not an empty one.
    void aFolderThatCannotBeOpenedIsSaid()
    {
        const QString loop = m_dir->filePath("loop");
        QVERIFY(QFile::link(loop, loop));
        QVERIFY(cUserInput::showActive(m_window.get()));
        m_window->findChild<QLineEdit *>("txtInPath")->setText(loop);
        press("cmdGetFiles");
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY2(m_desktop->messages.first().contains("The folder could not be read: " + loop),
                 qPrintable(m_desktop->messages.first()));
        QCOMPARE(column(found()), QStringList());
        QCOMPARE(field("txtNfiles"), QString("0"));
    }

    // Nothing a catalog writes is gathered the next time, wherever the settings put it: a
    // catalog refreshed from the same settings finds the same pictures and writes again.
    void aCatalogIsNeverGathered_data()
    {
        QTest::addColumn<QString>("site"); // the output folder below the input folder
        QTest::addColumn<QString>("thumbDir");
        QTest::addColumn<QString>("copyDir");
        QTest::addColumn<QString>("copyDirAfter"); // the key changed before the second run
        QTest::newRow("the output folder is the input folder") << ""
                                                               << "thumbs"
                                                               << "web"
                                                               << "";
        QTest::newRow("a folder name with a blank before it") << ""
                                                              << " thumbs"
                                                              << " big"
                                                              << "";
        QTest::newRow("the output folder inside the input folder") << "site"
                                                                   << "thumbs"
                                                                   << "web"
                                                                   << "";
        QTest::newRow("the copy folder renamed since") << ""
                                                       << "thumbs"
                                                       << "web"
                                                       << "copies";
    }
    void aCatalogIsNeverGathered()
    {
        QFETCH(QString, site);
        QFETCH(QString, thumbDir);
        QFETCH(QString, copyDir);
        QFETCH(QString, copyDirAfter);
        restart("ALBUMS=a|-1|1\r\nCOPYSIZE=c|5|64\r\nCOPYDIR=d|20|" + copyDir.toUtf8() +
                "\r\nPHONES=p|-1|1\r\nPICTUREPAGES=p|-1|1\r\nPRUNE=p|-1|1\r\n");
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        gOption.chgStrVal("THUMBDIR", thumbDir);
        const QString out = site.isEmpty() ? m_in : m_in + "/" + site;
        QVERIFY(QDir().mkpath(out + "/Rome"));
        m_window->findChild<QLineEdit *>("txtOutPath")->setText(out);
        QVERIFY(QDir(m_in).mkpath("Rome"));
        const QByteArray jpeg = cTestFiles::cameraJpeg(cTestFiles::cameraLike({200, 150}, 1, 8), 1);
        for (const QString name : {"b.jpg", "Rome/a.jpg"})
            cTestFiles::write(m_in + "/" + name, jpeg);
        const QStringList listed = {"b.jpg", "a.jpg (Rome)"};
        for (int run = 1; run <= 2; ++run) {
            press("cmdGetFiles");
            QCOMPARE(column(found()), listed);
            press("cmdAddAll");
            press("CmdGenFiles");
            QCOMPARE(m_desktop->messages, QStringList());
            if (!copyDirAfter.isEmpty())
                gOption.chgStrVal("COPYDIR", copyDirAfter);
        }
        const QString copies = (copyDirAfter.isEmpty() ? copyDir : copyDirAfter).trimmed();
        QCOMPARE(QDir(out + "/" + copies).entryList(QDir::Files).size(), 2);
        press("cmdGetFiles");
        QCOMPARE(column(found()), listed);
    }

    // "ALBUMS" through the window: the input folder is the top album, each folder of the pictures
    // chosen has its pages in a folder of the output folder, linked both ways.
    void albumsThroughTheWindow()
    {
        restart("ALBUMS=a|-1|1\r\n");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site) && QDir(m_in).mkpath("Rome") && QDir(m_in).mkpath("Oslo"));
        m_window->findChild<QLineEdit *>("txtOutPath")->setText(site);
        for (const QString name : {"top.gif", "Rome/r.gif", "Oslo/o.gif"})
            cTestFiles::write(m_in + "/" + name, tinyGif);
        press("cmdGetFiles");
        QCOMPARE(column(found()), (QStringList{"top.gif", "o.gif (Oslo)", "r.gif (Rome)"}));
        for (const int row : {0, 2}) {
            const QRect cell = found()->visualRect(found()->model()->index(row, 0));
            QCOMPARE(cUserInput::click(found()->viewport(), cell), found()->viewport());
            press("cmdAdd");
        }
        press("CmdGenFiles");
        QCOMPARE(m_desktop->messages, QStringList());
        const QByteArray top = cTestFiles::read(site + "/index.htm");
        QVERIFY2(top.contains("<a href=\"Rome/index.htm\">") && top.contains("<br>Rome (1)"),
                 top.constData());
        QVERIFY(!top.contains("Oslo") && !QFile::exists(site + "/Oslo"));
        const QByteArray rome = cTestFiles::read(site + "/Rome/index.htm");
        QVERIFY(rome.contains("<a href=\"../index.htm\">&lt;&lt; Up</a>"));
        QVERIFY(rome.contains("<a href=\"../../in/Rome/r.gif\">"));
    }

    // "SAYPLACE": once the catalog is written, one message counts the pictures it links that
    // carry the place where they were taken; web copies ("COPYSIZE") linked instead carry none.
    void linkedPicturesWithAPlaceAreCounted_data()
    {
        QTest::addColumn<QByteArray>("copies");
        QTest::newRow("the pictures linked") << QByteArray();
        QTest::newRow("their copies linked")
            << QByteArray("COPYSIZE=c|5|100\r\nCOPYDIR=c|20|web\r\n");
    }
    void linkedPicturesWithAPlaceAreCounted()
    {
        QFETCH(QByteArray, copies);
        restart("SAYPLACE=s|-1|1\r\n" + copies);
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        const QByteArray jpeg = cTestFiles::cameraJpeg(pixels, 1);
        cTestFiles::write(
            m_in + "/home.jpg",
            cTestFiles::withMetadata(jpeg, {{"Exif.GPSInfo.GPSLatitude", "48/1 51/1 0/1"}}));
        cTestFiles::write(m_in + "/away.jpg", jpeg);
        press("cmdGetFiles");
        press("cmdAddAll");
        press("CmdGenFiles");
        const QByteArray page = cTestFiles::read(m_dir->filePath("index.htm"));
        QCOMPARE(page.count("<a href=\"web/"), copies.isEmpty() ? 0 : 2);
        QCOMPARE(m_desktop->messages.size(), copies.isEmpty() ? 1 : 0);
        if (copies.isEmpty())
            QVERIFY2(m_desktop->messages.first().contains(
                         "1 linked pictures carry the place where they were taken"),
                     qPrintable(m_desktop->messages.first()));
    }

    // "PICTUREPAGES" through the window: each cell leads to its picture's page, which shows the
    // copy for the web and leads on to the next picture; the cells without thumbnails show it too.
    // "PHONES": the page is for phones, its style sheet beside it.
    void aPageForEachPicture()
    {
        restart("PICTUREPAGES=p|-1|1\r\nCOPYSIZE=c|5|100\r\nCOPYDIR=c|20|web\r\nPHONES=p|-1|1\r\n");
        QVERIFY(!m_window->findChild<QCheckBox *>("chkJpg")->isChecked());
        press("chkJpg");
        QImage pixels(300, 200, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        for (const char *name : {"/one.jpg", "/two.jpg"})
            QVERIFY(pixels.save(m_in + name));
        press("cmdGetFiles");
        press("cmdAddAll");
        press("CmdGenFiles");
        const QString page = QString::fromUtf8(cTestFiles::read(m_dir->filePath("index.htm")));
        const QRegularExpression cell(" <a href=\"((one|two)-[0-9a-f]{12}\\.htm)\">");
        QStringList linked;
        for (const QRegularExpressionMatch &match : cell.globalMatch(page))
            linked.append(match.captured(1));
        QCOMPARE(linked.size(), 2);
        QVERIFY(page.startsWith("<!DOCTYPE html>\r\n"));
        QVERIFY(QFile::exists(m_dir->filePath("qdx.css")));
        // Without thumbnails the cells show the copies.
        QCOMPARE(
            page.count(QRegularExpression("<img src=\"web/(one|two)-[0-9a-f]{12}-100x100.jpg\"")),
            2);
        const QString first = QString::fromUtf8(cTestFiles::read(m_dir->filePath(linked.first())));
        QVERIFY2(
            first.contains(QRegularExpression("<img src=\"web/one-[0-9a-f]{12}-100x100.jpg\"")),
            qPrintable(first));
        QVERIFY(first.contains("<a id=\"next\" rel=\"next\" href=\"" + linked.last() + "\">"));
        QVERIFY(!first.contains("id=\"previous\""));
    }

    // Broken and hostile metadata neither stops the gathering nor gives a date: the file's time
    // stands.
    void brokenMetadataGivesTheFileTime_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        const QByteArray dated =
            cTestFiles::withMetadata(cTestFiles::cameraJpeg(pixels, 1),
                                     {{"Exif.Photo.DateTimeOriginal", "2001:01:01 00:00:00"},
                                      {"Xmp.dc.title", "lang=x-default Old"}});
        const qsizetype exifAt = dated.indexOf("Exif");
        QTest::newRow("cut short inside its EXIF") << dated.left(exifAt + 40);
        QByteArray overlong = dated;
        overlong[exifAt - 2] = char(0xFF);
        overlong[exifAt - 1] = char(0xFF);
        QTest::newRow("a segment longer than the file") << overlong;
        QByteArray noTiff = dated;
        noTiff.replace(exifAt + 6, 4, "XX\xff\xff");
        QTest::newRow("EXIF without a TIFF header") << noTiff;
        QTest::newRow("a date of no calendar")
            << cTestFiles::withMetadata(cTestFiles::cameraJpeg(pixels, 1),
                                        {{"Exif.Photo.DateTimeOriginal", "2001:13:45 99:99:99"}});
        const QByteArray heic = cTestFiles::heif(
            pixels, false, QImage(), {{"Exif.Photo.DateTimeOriginal", "2001:01:01 00:00:00"}});
        QTest::newRow("a HEIC cut in half") << heic.left(heic.size() / 2);
        QTest::newRow("bytes named HEIC") << QByteArray(4000, '\x5A');
    }
    void brokenMetadataGivesTheFileTime()
    {
        QFETCH(QByteArray, bytes);
        restart("ORDER=o|1|2\r\nCAPTION=c|1|3\r\nMORETYPES=m|9|heic\r\n");
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        cTestFiles::write(
            m_in + "/a.jpg",
            cTestFiles::withMetadata(cTestFiles::cameraJpeg(pixels, 1),
                                     {{"Exif.Photo.DateTimeOriginal", "2010:01:01 00:00:00"}}));
        const QString broken =
            m_in +
            (bytes.contains("ftyp") || bytes.startsWith("ZZ") ? "/broken.heic" : "/broken.jpg");
        cTestFiles::write(broken, bytes);
        press("cmdGetFiles");
        // Taken in 2010, before the broken file's time of today.
        QCOMPARE(column(found()), (QStringList{"a.jpg", QFileInfo(broken).fileName()}));
    }

    // What was read of a file is kept for the next gathering, but not past a change of the file.
    void aChangedPictureIsReadAgain()
    {
        restart("ORDER=o|1|2\r\n");
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(true);
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::green);
        const auto taken = [&pixels](const char *time) {
            return cTestFiles::withMetadata(cTestFiles::cameraJpeg(pixels, 1),
                                            {{"Exif.Photo.DateTimeOriginal", time}});
        };
        cTestFiles::write(m_in + "/a.jpg", taken("2024:01:01 10:00:00"));
        cTestFiles::write(m_in + "/b.jpg", taken("2024:01:02 10:00:00"));
        press("cmdGetFiles");
        QCOMPARE(column(found()), (QStringList{"a.jpg", "b.jpg"}));
        press("cmdGetFiles");
        QCOMPARE(column(found()), (QStringList{"a.jpg", "b.jpg"}));
        // Written over with a picture of the same size, as an editor saving a new date does.
        cTestFiles::write(m_in + "/a.jpg", taken("2024:01:03 10:00:00"));
        QFile edited(m_in + "/a.jpg");
        QVERIFY(edited.open(QIODevice::ReadWrite));
        QVERIFY(edited.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                   QFileDevice::FileModificationTime));
        edited.close();
        press("cmdGetFiles");
        QCOMPARE(column(found()), (QStringList{"b.jpg", "a.jpg"}));
    }

    // "MORETYPES": the pictures phones, cameras and screenshots give beside GIF and JPG are
    // listed with their type, previewed and thumbnailed.
    void furtherTypesAreShownAndThumbnailed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("bytes");
        // The colour the left and the right of what is shown must have.
        QTest::addColumn<QColor>("left");
        QTest::addColumn<QColor>("right");
        // Its left half red, its right half blue.
        QImage picture(640, 320, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QPainter(&picture).fillRect(0, 0, 320, 320, Qt::red);
        const auto saved = [&picture](const char *format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, format);
            return bytes;
        };
        const QColor red(Qt::red);
        const QColor blue(Qt::blue);
        QTest::newRow("PNG, a screenshot") << "shot.png"
                                           << "PNG" << saved("png") << red << blue;
        QTest::newRow("WebP") << "web.WEBP"
                              << "WEBP" << saved("webp") << red << blue;
        QTest::newRow("TIFF") << "scan.tiff"
                              << "TIFF" << saved("tiff") << red << blue;
        QTest::newRow("HEIC, a phone's picture")
            << "IMG_0001.HEIC"
            << "HEIC" << cTestFiles::heif(picture, false) << red << blue;
        QTest::newRow("AVIF") << "still.avif"
                              << "AVIF" << cTestFiles::heif(picture, true) << red << blue;
        // A thumbnail of the file's own, green here to tell it, serves when it is large enough
        // and shows the whole picture; one with bars does not.
        QImage green(320, 160, QImage::Format_RGB32);
        green.fill(Qt::green);
        QTest::newRow("HEIC with a thumbnail of its own")
            << "IMG_0002.heic"
            << "HEIC" << cTestFiles::heif(picture, false, green) << QColor(Qt::green)
            << QColor(Qt::green);
        QTest::newRow("HEIC with a letterboxed thumbnail")
            << "IMG_0003.heic"
            << "HEIC" << cTestFiles::heif(picture, false, green.copy(0, 0, 320, 320)) << red
            << blue;
    }
    void furtherTypesAreShownAndThumbnailed()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QColor, left);
        QFETCH(QColor, right);
        QVERIFY2(!bytes.isEmpty(), "no encoder for the type on this machine");
        restart("MORETYPES=m|40|png webp tiff heic avif\r\n");
        gOption.chgStrVal("THUMBDIR", "thumbs");
        cTestFiles::write(m_in + "/" + name, bytes);
        cTestFiles::write(m_in + "/a.gif", tinyGif);
        press("cmdGetFiles");
        QCOMPARE(column(found()), (QStringList{"a.gif", name}));
        QCOMPARE(column(found(), 1), (QStringList{"GIF", type}));
        cUserInput::click(found()->viewport(), found()->visualRect(found()->model()->index(1, 0)));
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(640));
        QCOMPARE(label("lblH"), frmZentra::previewText(320));
        const auto near = [](const QColor &seen, const QColor &wanted) {
            return std::abs(seen.red() - wanted.red()) < 60 &&
                   std::abs(seen.green() - wanted.green()) < 60 &&
                   std::abs(seen.blue() - wanted.blue()) < 60;
        };
        const QImage shown = m_window->findChild<QLabel *>("ImgPreview")->pixmap().toImage();
        QVERIFY(near(shown.pixelColor(4, shown.height() / 2), left));
        QVERIFY(near(shown.pixelColor(shown.width() - 4, shown.height() / 2), right));
        press("cmdAddAll");
        press("CmdGenFiles");
        QCOMPARE(m_desktop->messages, QStringList());
        const QString thumbnail = m_dir->filePath("thumbs/") +
                                  cTestFiles::thumbnailName(m_in + "/" + name, QSize(120, 120));
        const QImage made(thumbnail);
        QCOMPARE(made.size(), QSize(120, 60));
        QVERIFY(near(made.pixelColor(4, 30), left));
        QVERIFY(near(made.pixelColor(115, 30), right));
    }

    // A type this machine cannot decode is said once, not per picture, and not gathered.
    void anUnreadableTypeIsSaidOnce()
    {
        restart("MORETYPES=m|40|xyz png\r\n");
        for (const char *file : {"a.xyz", "b.xyz", "c.xyz", "d.png"})
            cTestFiles::write(m_in + "/" + file, "x");
        press("cmdGetFiles");
        QCOMPARE(column(found()), QStringList{"d.png"});
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(m_desktop->messages.first().contains("cannot read XYZ pictures"));
    }

    // With links from the output folder, a picture keeps the folder it was gathered from, so two
    // of one name from two folders are two pictures; without, the text's one.
    void samePictureNameFromTwoFolders_data()
    {
        QTest::addColumn<QString>("relLinks");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("links by bare name") << "0" << QStringList{"a.jpg"};
        QTest::newRow("links from the output folder")
            << "1" << QStringList{"in/a.jpg", "in2/a.jpg"};
    }
    void samePictureNameFromTwoFolders()
    {
        QFETCH(QString, relLinks);
        QFETCH(QStringList, links);
        gOption.chgStrVal("RELLINKS", relLinks);
        const QString second = m_dir->filePath("in2");
        QDir().mkpath(second);
        cTestFiles::write(m_in + "/a.jpg", tinyGif);
        cTestFiles::write(second + "/a.jpg", tinyGif);
        QVERIFY(cUserInput::showActive(m_window.get()));
        press("cmdGetFiles");
        press("cmdAddAll");
        m_window->findChild<QLineEdit *>("txtInPath")->setText(second);
        press("cmdGetFiles");
        press("cmdAddAll");
        QCOMPARE(column(selected()).size(), links.size());
        QCOMPARE(field("txtNsel"), QString::number(links.size()));
        press("CmdGenFiles");
        const QByteArray page = cTestFiles::read(m_dir->filePath("index.htm"));
        QCOMPARE(page.count("<a href="), qsizetype(links.size()));
        for (const QString &link : links)
            QVERIFY2(page.contains("<a href=\"" + link.toUtf8() + "\">"), qPrintable(link));
    }

    // Stopping long work through its progress window keeps what was done so far.
    void cancelledWorkKeepsWhatItDid()
    {
        for (const char *name : {"a.gif", "b.gif", "c.gif", "d.gif", "e.gif"})
            cTestFiles::write(m_in + "/" + name, tinyGif);
        QVERIFY(cUserInput::showActive(m_window.get()));
        m_desktop->cancelAfter = 2;
        press("cmdGetFiles");
        QCOMPARE(column(found()).size(), 3);
        QCOMPARE(field("txtNfiles"), QString("3"));
        press("cmdAddAll");
        QCOMPARE(column(selected()).size(), 3);
        QCOMPARE(m_desktop->progressLabels,
                 (QStringList{"Gathering pictures:", "Selecting pictures:"}));
        QVERIFY(m_desktop->messages.isEmpty());
    }

    void typeBoxesChooseWhatIsGathered_data()
    {
        QTest::addColumn<bool>("gif");
        QTest::addColumn<bool>("jpg");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("gif only") << true << false << QStringList{"a.gif"};
        QTest::newRow("jpg only") << false << true << QStringList{"b.jpg"};
        QTest::newRow("neither") << false << false << QStringList{};
    }
    void typeBoxesChooseWhatIsGathered()
    {
        QFETCH(bool, gif);
        QFETCH(bool, jpg);
        QFETCH(QStringList, expected);
        cTestFiles::write(m_in + "/a.gif", tinyGif);
        cTestFiles::write(m_in + "/b.jpg", tinyGif);
        m_window->cmdGetFiles_Click();
        found()->setCurrentIndex(found()->model()->index(0, 0));
        m_window->cmdAdd_Click();
        m_window->findChild<QCheckBox *>("chkGif")->setChecked(gif);
        m_window->findChild<QCheckBox *>("chkJpg")->setChecked(jpg);
        m_window->cmdGetFiles_Click();
        QCOMPARE(column(found()), expected);
        QCOMPARE(field("txtNfiles"), QString::number(expected.size()));
        // The selected list survives a gathering, and its counter says so.
        QCOMPARE(column(selected()).size(), 1);
        QCOMPARE(field("txtNsel"), QString("1"));
    }

    void missingFolderGathersNothing()
    {
        m_window->findChild<QLineEdit *>("txtInPath")->setText(m_dir->filePath("gone"));
        m_window->cmdGetFiles_Click();
        QCOMPARE(found()->model()->rowCount(), 0);
        QCOMPARE(field("txtNfiles"), QString("0"));
        QVERIFY(m_desktop->messages.isEmpty());
    }

    void addAndRemoveKeepTheCounterTrue()
    {
        QVERIFY(cUserInput::showActive(m_window.get()));
        for (const char *name : {"a.gif", "b.gif", "c.jpg"})
            cTestFiles::write(m_in + "/" + name, tinyGif);
        press("cmdGetFiles");
        press("cmdAdd"); // nothing chosen yet
        QCOMPARE(field("txtNsel"), QString("0"));
        found()->setCurrentIndex(found()->model()->index(0, 0));
        press("cmdAdd");
        press("cmdAdd");
        QCOMPARE(selected()->model()->rowCount(), 1);
        QCOMPARE(field("txtNsel"), QString("1"));
        // The selected list shows no type, but the picture keeps it, as with ">>".
        QCOMPARE(static_cast<cImageList *>(selected()->model())->at(0).type, QString("GIF"));
        press("cmdAddAll");
        QCOMPARE(column(selected()).size(), 3);
        QCOMPARE(column(selected()).first(), column(found()).first());
        QCOMPARE(field("txtNsel"), QString("3"));
        selected()->setCurrentIndex(selected()->model()->index(1, 0));
        press("cmdDel");
        QCOMPARE(field("txtNsel"), QString("2"));
        press("cmdDelAll");
        QCOMPARE(field("txtNsel"), QString("0"));
        press("cmdDel"); // on an empty list
        QCOMPARE(field("txtNsel"), QString("0"));
    }

    void columnSortAlternatesAndSticks()
    {
        QVERIFY(cUserInput::showActive(m_window.get()));
        for (const char *name : {"b.jpg", "A.gif", "c.gif", "D.jpg"})
            cTestFiles::write(m_in + "/" + name, tinyGif);
        press("cmdGetFiles");
        clickHeader(0);
        QCOMPARE(column(found()), (QStringList{"D.jpg", "c.gif", "b.jpg", "A.gif"}));
        clickHeader(0);
        QCOMPARE(column(found()), (QStringList{"A.gif", "b.jpg", "c.gif", "D.jpg"}));
        // One toggle for the whole list: "Type" continues with descending.
        clickHeader(1);
        QCOMPARE(column(found(), 1), (QStringList{"JPG", "JPG", "GIF", "GIF"}));
        cTestFiles::write(m_in + "/e.gif", tinyGif);
        press("cmdGetFiles");
        QCOMPARE(column(found(), 1), (QStringList{"JPG", "JPG", "GIF", "GIF", "GIF"}));
        // Adding from a sorted list picks the row the user sees.
        found()->setCurrentIndex(found()->model()->index(0, 0));
        press("cmdAdd");
        QCOMPARE(column(selected()), QStringList{column(found()).first()});
    }

    // The order of a case-blind compare of the names, equal names keeping the gathered order.
    void sortFollowsTheCaseBlindOrder_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("case and the signs between the letters")
            << QStringList{"a_b", "aB", "AA", "a", "A-b", "[x", "Zz", "_"};
        QTest::newRow("names equal but for case") << QStringList{"Zebra", "zebra", "ZEBRA", "zebr"};
        QTest::newRow("a long common start")
            << QStringList{"picture_0000010",  "picture_000001",  "picture_0000011",
                           "picture_00000100", "Picture_0000002", "picture_0000001x"};
        QTest::newRow("letters beyond ASCII")
            << QStringList{"Ärger", "ärger", "Zoo", "école",  "Ecole", "straße", "STRASSE",
                           "Ω",     "ω",     "😀",   "\uFF21", "a",     "Éa"};
    }
    void sortFollowsTheCaseBlindOrder()
    {
        QFETCH(QStringList, names);
        QVERIFY(cUserInput::showActive(m_window.get()));
        for (const QString &name : names)
            cTestFiles::write(m_in + "/" + name + ".gif", tinyGif);
        press("cmdGetFiles");
        QStringList expected = column(found());
        const auto caseBlind = [](const QString &a, const QString &b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        };
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const QString &a, const QString &b) { return caseBlind(b, a); });
        clickHeader(0);
        QCOMPARE(column(found()), expected);
        std::stable_sort(expected.begin(), expected.end(), caseBlind);
        clickHeader(0);
        QCOMPARE(column(found()), expected);
    }

    // Every picture still selected is known, in its place, after others were taken out of either
    // half of the list.
    void removedPicturesLeaveTheOthersKnown()
    {
        QVERIFY(cUserInput::showActive(m_window.get()));
        const int count = 300;
        for (int i = 0; i < count; ++i)
            cTestFiles::write(m_in + QStringLiteral("/p%1.gif").arg(i), QByteArray());
        press("cmdGetFiles");
        press("cmdAddAll");
        QStringList kept = column(found());
        for (int row = count - 1; row >= 0; row -= 3) {
            selected()->setCurrentIndex(selected()->model()->index(row, 0));
            press("cmdDel");
            kept.removeAt(row);
        }
        QCOMPARE(column(selected()), kept);
        // The ones left are refused as already there, the ones taken out come back; in another
        // order than they were first added, so none is looked for only after its neighbours.
        clickHeader(0);
        press("cmdAddAll");
        QStringList names = column(selected());
        QCOMPARE(names.size(), count);
        names.removeDuplicates();
        QCOMPARE(names.size(), count);
    }

    void previewGivesTheNaturalSize()
    {
        QImage picture(96, 48, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(m_in + "/p.jpg", "JPG"));
        m_window->cmdGetFiles_Click();
        m_window->ListView1_ItemClick(found()->model()->index(0, 0));
        const QString point = QLocale::system().decimalPoint();
        QTRY_COMPARE(label("lblW"), "4" + point + "47971781");
        QCOMPARE(label("lblH"), "2" + point + "23985890");
        QVERIFY(!m_window->findChild<QLabel *>("ImgPreview")->pixmap().isNull());
    }

    // A phone picture taken upright is stored on its side, with the turn the camera recorded.
    void previewIsUpright_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("redOnTop");
        QTest::newRow("as stored") << QSize(96, 48) << 1 << true;
        QTest::newRow("upside down") << QSize(96, 48) << 3 << false;
        QTest::newRow("turned right") << QSize(96, 48) << 6 << true;
        QTest::newRow("turned left") << QSize(96, 48) << 8 << false;
        QTest::newRow("a phone's 12 megapixels, turned right") << QSize(4000, 3000) << 6 << true;
    }
    void previewIsUpright()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(bool, redOnTop);
        // Its left half red, its right half blue.
        QImage picture(stored, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QPainter(&picture).fillRect(0, 0, stored.width() / 2, stored.height(), Qt::red);
        cTestFiles::write(m_in + "/phone.jpg", cTestFiles::cameraJpeg(picture, orientation));
        QVERIFY(cUserInput::showActive(m_window.get()));
        cUserInput::click(m_window->findChild<QWidget *>("cmdGetFiles"));
        cUserInput::click(found()->viewport(), found()->visualRect(found()->model()->index(0, 0)));
        const QSize upright = orientation >= 5 ? stored.transposed() : stored;
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(upright.width()));
        QCOMPARE(label("lblH"), frmZentra::previewText(upright.height()));
        // Whole when it fits the box, else no larger than the box, in its own proportions.
        const auto *box = m_window->findChild<QLabel *>("ImgPreview");
        const QImage shown = box->pixmap().toImage();
        QCOMPARE(shown.size(), upright.boundedTo(box->size()) == upright
                                   ? upright
                                   : upright.scaled(box->size(), Qt::KeepAspectRatio));
        const QColor topLeft = shown.pixelColor(2, 2);
        QCOMPARE(topLeft.red() > topLeft.blue(), redOnTop);
    }

    // The names were cut where the Type column, far wider than "JPG", left room.
    void namesTakeTheRoomTheTypesLeave()
    {
        const QString name = "a rather long name of a picture.gif";
        cTestFiles::write(m_in + "/" + name, tinyGif);
        QVERIFY(cUserInput::showActive(m_window.get()));
        cUserInput::click(m_window->findChild<QWidget *>("cmdGetFiles"));
        QHeaderView *header = found()->horizontalHeader();
        QCOMPARE(header->sectionSize(0) + header->sectionSize(1), found()->viewport()->width());
        QVERIFY(header->sectionSize(1) > found()->fontMetrics().horizontalAdvance("Type"));
        QVERIFY(header->sectionSize(0) > 2 * header->sectionSize(1));
    }

    // Home and End used to scroll the lists sideways.
    void homeAndEndGoToTheFirstAndTheLast()
    {
        writeWidths();
        QVERIFY(cUserInput::showActive(m_window.get()));
        cUserInput::click(m_window->findChild<QWidget *>("cmdGetFiles"));
        cUserInput::click(m_window->findChild<QWidget *>("cmdAddAll"));
        for (QTableView *list : {found(), selected()}) {
            cUserInput::click(list->viewport(), list->visualRect(list->model()->index(2, 0)));
            cUserInput::key(Qt::Key_End);
            QCOMPARE(list->currentIndex().row(), 4);
            QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 4);
            cUserInput::key(Qt::Key_Home);
            QCOMPARE(list->currentIndex().row(), 0);
        }
        // The found list previews what the keys reach.
        cUserInput::click(found()->viewport(), found()->visualRect(found()->model()->index(2, 0)));
        cUserInput::key(Qt::Key_End);
        const QString last = column(found()).last();
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(last.mid(1, 2).toInt()));
    }

    // Arrow keys used to move the selection without previewing the picture selected.
    void previewFollowsTheMouseAndTheKeys()
    {
        QMap<QString, int> widths;
        for (const int width : {96, 48}) {
            QImage picture(width, 20, QImage::Format_RGB32);
            picture.fill(Qt::red);
            const QString name = QString("w%1.jpg").arg(width);
            QVERIFY(picture.save(m_in + "/" + name, "JPG"));
            widths.insert(name, width);
        }
        QVERIFY(cUserInput::showActive(m_window.get()));
        cUserInput::click(m_window->findChild<QWidget *>("cmdGetFiles"));
        const QStringList names = column(found());
        QCOMPARE(names.size(), 2);
        QCOMPARE(cUserInput::click(found()->viewport(),
                                   found()->visualRect(found()->model()->index(0, 0))),
                 found()->viewport());
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(widths.value(names.at(0))));
        cUserInput::key(Qt::Key_Down);
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(widths.value(names.at(1))));
        cUserInput::key(Qt::Key_Up);
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(widths.value(names.at(0))));
        QVERIFY(m_desktop->messages.isEmpty());
    }

    // A large photo held the window while it decoded, and holding an arrow key lagged behind.
    void previewIsDecodedAwayFromTheWindow()
    {
        writeWidths();
        QVERIFY(cUserInput::showActive(m_window.get()));
        cUserInput::click(m_window->findChild<QWidget *>("cmdGetFiles"));
        const QStringList names = column(found());
        const auto widthAt = [&names](int row) {
            return frmZentra::previewText(names.at(row).mid(1, 2).toInt());
        };
        const auto *loader = m_window->findChild<cPreviewLoader *>();
        cUserInput::click(found()->viewport(), found()->visualRect(found()->model()->index(0, 0)));
        QTRY_COMPARE(label("lblW"), widthAt(0));
        QTRY_VERIFY(loader->isIdle());
        // The next picture was decoded while the user looked at this one.
        cUserInput::key(Qt::Key_Down);
        QCOMPARE(label("lblW"), widthAt(1));
        // One not decoded yet comes after the key, not inside it.
        cUserInput::key(Qt::Key_End);
        QCOMPARE(label("lblW"), widthAt(1));
        QTRY_COMPARE(label("lblW"), widthAt(4));
        // A picture written over since it was decoded is decoded again.
        QImage wider(70, 20, QImage::Format_RGB32);
        wider.fill(Qt::blue);
        QVERIFY(wider.save(m_in + "/" + names.at(0), "JPG"));
        cUserInput::key(Qt::Key_Home);
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(70));
        QVERIFY(m_desktop->messages.isEmpty());
    }

    void previewOfABrokenFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("removed");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not a picture") << QByteArray("plain text") << false;
        QTest::newRow("truncated") << tinyGif.left(12) << false;
        QTest::newRow("removed since gathering") << tinyGif << true;
        QTest::newRow("a FIFO since gathering") << QByteArray("fifo") << true;
        QTest::newRow("a folder since gathering") << QByteArray("folder") << true;
        QTest::newRow("not readable for the user") << QByteArray("unreadable") << false;
        QTest::newRow("declaring 30000 x 30000 pixels")
            << cTestFiles::progressiveBomb(30000) << false;
    }
    void previewOfABrokenFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, removed);
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        picture.save(m_in + "/good.jpg", "JPG");
        // What is gone since the gathering was a sound picture then.
        cTestFiles::write(m_in + "/bad.gif", removed ? tinyGif : bytes);
        m_window->cmdGetFiles_Click();
        // A picture previewed while it was sound is read again when it changed.
        if (removed) {
            m_window->ListView1_ItemClick(found()->model()->index(0, 0));
            QTRY_VERIFY(!m_window->findChild<QLabel *>("ImgPreview")->pixmap().isNull());
        }
        m_window->ListView1_ItemClick(found()->model()->index(1, 0)); // good.jpg
        QTRY_COMPARE(label("lblW"), frmZentra::previewText(10));
        if (removed)
            QFile::remove(m_in + "/bad.gif");
        // Reading a FIFO would wait for a writer that never comes.
        if (removed && bytes == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(m_in + "/bad.gif").constData(), 0600), 0);
        if (removed && bytes == "folder")
            QVERIFY(QDir(m_in).mkdir("bad.gif"));
        if (bytes == "unreadable") {
            if (::geteuid() == 0)
                QSKIP("root reads every file");
            QVERIFY(QFile::setPermissions(m_in + "/bad.gif", QFileDevice::WriteOwner));
        }
        m_window->ListView1_ItemClick(found()->model()->index(0, 0));
        QTRY_COMPARE(m_desktop->messages.size(), 1);
        QCOMPARE(label("lblH"), QString("0"));
        QCOMPARE(label("lblW"), QString("0"));
        QVERIFY(m_window->findChild<QLabel *>("ImgPreview")->pixmap().isNull());
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(m_desktop->messages.first().contains("bad.gif"));
        if (bytes == "unreadable")
            QVERIFY(m_desktop->messages.first().contains("Permission denied"));
        if (bytes.startsWith("\xFF\xD8"))
            QVERIFY(m_desktop->messages.first().contains("declares 30000 x 30000 pixels"));
    }

    // From the first moment of long work, a click on the window does not run its handler inside
    // the work: "<<" during Generate Catalog leaves the selection whole.
    void clickDuringLongWorkIsNotRunInsideIt()
    {
        QImage picture(1600, 1200, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        for (int i = 0; i < 100; ++i)
            QVERIFY(picture.save(m_in + QString("/p%1.jpg").arg(i), "JPG"));
        gOption.chgStrVal("THUMBDIR", "thumbs");
        QVERIFY(cUserInput::showActive(m_window.get()));
        press("cmdGetFiles");
        press("cmdAddAll");
        QCOMPARE(field("txtNsel"), QString("100"));
        m_desktop->realProgress = true;
        bool clicked = false;
        QTimer::singleShot(20, m_window.get(), [this, &clicked] {
            cUserInput::click(m_window->findChild<QWidget *>("cmdDelAll"));
            clicked = true;
        });
        press("CmdGenFiles");
        QVERIFY2(clicked, "the work ended before the click came");
        QCOMPARE(field("txtNsel"), QString("100"));
        QCOMPARE(column(selected()).size(), 100);
        QCOMPARE(QDir(m_dir->filePath("thumbs")).entryList(QDir::Files).size(), 100);
    }

    // Once the progress window shows, its Cancel button takes the click that the rest refuse.
    void progressWindowCancels()
    {
        QVERIFY(cUserInput::showActive(m_window.get()));
        cProgressWindow progress(m_window.get(), "Working:", 10);
        QTest::qWait(600);
        QVERIFY(progress.step(1)); // half a second has passed: the window shows
        auto *dialog = m_window->findChild<QProgressDialog *>();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        auto *cancel = dialog->findChild<QPushButton *>();
        QCOMPARE(cUserInput::click(cancel), cancel);
        QVERIFY(!progress.step(2));
    }

    // A run into a folder another run holds (a second window, a script) waits for it with the
    // progress window open, whose Cancel ends the wait with nothing written.
    void aRunWaitingForAnotherIsCancelled()
    {
        QVERIFY(cUserInput::showActive(m_window.get()));
        cTestFiles::write(m_in + "/a.gif", tinyGif);
        press("cmdGetFiles");
        press("cmdAddAll");
        cFolderLock other(m_dir->path());
        QVERIFY(other.take([] { return true; }));
        m_desktop->realProgress = true;
        QPushButton *clicked = nullptr;
        QTimer::singleShot(1500, [&] {
            auto *dialog = m_window->findChild<QProgressDialog *>();
            if (auto *cancel = dialog ? dialog->findChild<QPushButton *>() : nullptr)
                clicked = qobject_cast<QPushButton *>(cUserInput::click(cancel));
        });
        press("CmdGenFiles");
        QVERIFY(clicked);
        QVERIFY(!QFile::exists(m_dir->filePath("index.htm")));
    }

    // With thumbnails or without: a FIFO planted at a thumbnail's name does not stop the window,
    // and a missing output folder is an error, never created.
    void generateWritesThePageOrReportsTheStep_data()
    {
        QTest::addColumn<QString>("thumbnails");
        QTest::newRow("without thumbnails") << QString();
        QTest::newRow("with thumbnails") << "thumbs";
    }
    void generateWritesThePageOrReportsTheStep()
    {
        QFETCH(QString, thumbnails);
        gOption.chgStrVal("THUMBDIR", thumbnails);
        QVERIFY(cUserInput::showActive(m_window.get()));
        cTestFiles::write(m_in + "/a.gif", tinyGif);
        press("cmdGetFiles");
        press("CmdGenFiles"); // nothing selected
        QVERIFY(!QFile::exists(m_dir->filePath("index.htm")));
        press("cmdAddAll");
        const QString planted = m_dir->filePath("thumbs/") +
                                cTestFiles::thumbnailName(m_in + "/a.gif", QSize(120, 120));
        if (!thumbnails.isEmpty()) {
            QDir().mkpath(m_dir->filePath("thumbs"));
            QCOMPARE(::mkfifo(QFile::encodeName(planted).constData(), 0600), 0);
        }
        // A write that waits for a reader of the FIFO ends the test instead of stalling it.
        ::alarm(60);
        press("CmdGenFiles");
        ::alarm(0);
        QVERIFY(QFile::exists(m_dir->filePath("index.htm")));
        QCOMPARE(QFileInfo(planted).isFile(), !thumbnails.isEmpty());
        QCOMPARE(m_desktop->messages, QStringList());
        m_window->findChild<QLineEdit *>("txtOutPath")->setText(m_dir->filePath("gone/deeper"));
        press("CmdGenFiles");
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(m_desktop->messages.first().startsWith("[1] CreateMainIndex\r\n  ERROR[76]"));
        QVERIFY(!QFile::exists(m_dir->filePath("gone")));
        // The error is said once the progress window is gone, not under it.
        QCOMPARE(m_desktop->messagesOverProgress, 0);
        QFile log(modUtil1::logFilePath(QDate::currentDate()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(" 001 CreateMainIndex"));
    }

    // A catalog written used to change nothing on the screen, as when nothing was selected.
    void aWrittenCatalogIsShown_data()
    {
        QTest::addColumn<QByteArray>("showPage");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("opens"); // whether the desktop has a program that opens it
        QTest::newRow("without the key") << QByteArray() << false << true;
        QTest::newRow("the key at 0") << QByteArray("SHOWPAGE=s|-1|0\r\n") << false << true;
        QTest::newRow("the key at 1") << QByteArray("SHOWPAGE=s|-1|1\r\n") << true << true;
        QTest::newRow("the key at 1, nothing opens it")
            << QByteArray("SHOWPAGE=s|-1|1\r\n") << true << false;
    }
    void aWrittenCatalogIsShown()
    {
        QFETCH(QByteArray, showPage);
        QFETCH(bool, shown);
        QFETCH(bool, opens);
        restart(showPage);
        m_desktop->openSucceeds = opens;
        cTestFiles::write(m_in + "/a.gif", tinyGif);
        press("cmdGetFiles");
        press("CmdGenFiles"); // nothing selected: nothing written, nothing to show
        press("cmdAddAll");
        press("CmdGenFiles");
        QVERIFY(QFile::exists(m_dir->filePath("index.htm")));
        QCOMPARE(m_desktop->urls,
                 shown ? QList<QUrl>{QUrl::fromLocalFile(m_dir->filePath("index.htm"))}
                       : QList<QUrl>());
        // Where it could not be shown, the user learns once that it was written, and where.
        QCOMPARE(m_desktop->messages.size(), opens ? 0 : 1);
        if (!opens)
            QVERIFY2(m_desktop->messages.first().startsWith(
                         "The catalog was written: " + m_dir->filePath("index.htm") +
                         "\nIt could not be shown, as "),
                     qPrintable(m_desktop->messages.first()));
    }

    // "Jpg" started cleared at every start, so a folder of camera pictures gave none.
    void pictureTypesLastChosen_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<bool>("kept");
        QTest::newRow("without the key")
            << QByteArray("GIFTYPE=g|0|1\r\nJPGTYPE=j|0|0\r\n") << false;
        QTest::newRow("the key at 1")
            << QByteArray("KEEPTYPES=k|-1|1\r\nGIFTYPE=g|0|1\r\nJPGTYPE=j|0|0\r\n") << true;
    }
    void pictureTypesLastChosen()
    {
        QFETCH(QByteArray, keys);
        QFETCH(bool, kept);
        restart(keys);
        QCOMPARE(m_window->findChild<QCheckBox *>("chkJpg")->isChecked(), false);
        press("chkGif");
        press("chkJpg");
        restart(QByteArray(), false);
        QCOMPARE(m_window->findChild<QCheckBox *>("chkGif")->isChecked(), !kept);
        QCOMPARE(m_window->findChild<QCheckBox *>("chkJpg")->isChecked(), kept);
    }

private:
    // A window started anew on the settings file, with these lines added to it first.
    // Pictures w10.jpg to w50.jpg, each as wide as its name says.
    void writeWidths()
    {
        for (int width = 10; width <= 50; width += 10) {
            QImage picture(width, 20, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QVERIFY(picture.save(m_in + QString("/w%1.jpg").arg(width), "JPG"));
        }
    }
    void restart(const QByteArray &lines, bool add = true)
    {
        if (add)
            cTestFiles::write(m_dir->filePath("QDX.ini"),
                              cTestFiles::read(m_dir->filePath("QDX.ini")) + lines);
        m_window.reset(new frmZentra(m_dir->path()));
        m_window->Form_Load();
        m_desktop->modalWindows.clear();
        QVERIFY(cUserInput::showActive(m_window.get()));
    }
    void press(const char *button)
    {
        QWidget *aimed = m_window->findChild<QWidget *>(button);
        QCOMPARE(cUserInput::click(aimed), aimed);
    }
    void clickHeader(int column)
    {
        QHeaderView *header = found()->horizontalHeader();
        cUserInput::click(header->viewport(), QRect(header->sectionViewportPosition(column), 0,
                                                    header->sectionSize(column), header->height()));
    }
    QTableView *found() { return m_window->findChild<QTableView *>("ListView1"); }
    QTableView *selected() { return m_window->findChild<QTableView *>("ListView2"); }
    QString field(const char *name) { return m_window->findChild<QLineEdit *>(name)->text(); }
    QString label(const char *name) { return m_window->findChild<QLabel *>(name)->text(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<cTestDesktop> m_desktop;
    std::unique_ptr<frmZentra> m_window;
    QString m_in;
};

QTEST_MAIN(tst_imageLists)
#include "tst_imageLists.moc"
