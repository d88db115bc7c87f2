#include "cCatalogTestCase.h"
#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "catalog/cCatalogPage.h"
#include "catalog/cCatalogPlaces.h"
#include "catalog/cCatalogPlan.h"
#include "catalog/cCatalogWriter.h"
#include "catalog/cPictureLinks.h"
#include "catalog/cWrittenRecord.h"
#include "common/cFolderLock.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/modUtil1.h"
#include "pictures/cPictureFacts.h"
#include "pictures/cPictureReader.h"
#include "pictures/cThumbnailer.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
const QByteArray head = "<html>\r\n<head>\r\n"
                        "  <!-- Quadrix v.1.00        -->\r\n"
                        "  <!-- QDX Project           -->\r\n"
                        "  <!-- www.qdx.example.org   -->\r\n";

QByteArray cell(const QByteArray &name, bool withName)
{
    return "<td bgcolor=\"#EEE\">\r\n <a href=\"" + name + "\">\r\n  <img src=\"" + name +
           "\" border=1 height=90 width=80>\r\n" + (withName ? "<br>" + name + "\r\n" : "") +
           " </a>\r\n</td>\r\n";
}
} // namespace

class tst_cCatalogWriter : public cCatalogTestCase
{
    Q_OBJECT
private slots:
    void init() { makeFolder(); }

    void pageBytes_data()
    {
        QTest::addColumn<QMap<QString, QString>>("changes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("styleAndAlign");
        QTest::addColumn<QByteArray>("cells");
        const QByteArray noCss = "<!-- no css selected -->\r\n";
        const QByteArray center = "<div align=\"center\">\r\n";
        QTest::newRow("three images, two per row, no names")
            << QMap<QString, QString>{{"TABCOLUMN", "2"}} << QStringList{"a.jpg", "b.jpg", "c.jpg"}
            << noCss + center
            << cell("a.jpg", false) + cell("b.jpg", false) + "</tr><tr>\r\n" + cell("c.jpg", false);
        QTest::newRow("two images fill the row and leave an empty one")
            << QMap<QString, QString>{{"TABCOLUMN", "2"}, {"IMGNAME", "1"}}
            << QStringList{"a.jpg", "b.jpg"} << noCss + center
            << cell("a.jpg", true) + cell("b.jpg", true) + "</tr><tr>\r\n";
        QTest::newRow("column count missing means a row per image")
            << QMap<QString, QString>{{"TABCOLUMN", "x"}, {"TABALIGN", "Right"}}
            << QStringList{"a.jpg", "b.jpg"} << noCss + "<div align=\"right\">\r\n"
            << cell("a.jpg", false) + "</tr><tr>\r\n" + cell("b.jpg", false) + "</tr><tr>\r\n";
        QTest::newRow("unknown alignment is left")
            << QMap<QString, QString>{{"TABALIGN", "middle"}} << QStringList{"a.jpg"}
            << noCss + "<div align=\"left\">\r\n"
            << cell("a.jpg", false);
        QTest::newRow("linked style sheet")
            << QMap<QString, QString>{{"USECSS", "1"}, {"CSSFILE", "site"}} << QStringList{"a.jpg"}
            << "<link rel=\"stylesheet\" type=\"Text/css\" href=\"site.css\">\r\n" + center
            << cell("a.jpg", false);
        const QByteArray block = "<STYLE TYPE=\"Text/css\">\r\n<!--\r\nPRE {display: inline; "
                                 "color: blue; font-name: courier new; font-size: 10pt}\r\n"
                                 "// -->\r\n</STYLE>\r\n";
        QTest::newRow("inline style, font size trimmed")
            << QMap<QString, QString>{{"USECSS", "1"}, {"CSSFILE", "(none)"}}
            << QStringList{"a.jpg"} << block + center << cell("a.jpg", false);
        QTest::newRow("inline style for an empty sheet name")
            << QMap<QString, QString>{{"USECSS", "1"}, {"CSSFILE", ""}} << QStringList{"a.jpg"}
            << block + center << cell("a.jpg", false);
        QTest::newRow("style sheet off whatever the name")
            << QMap<QString, QString>{{"USECSS", "0"}, {"CSSFILE", "site"}} << QStringList{"a.jpg"}
            << noCss + center << cell("a.jpg", false);
        QTest::newRow("names made safe only where they would break the page")
            << QMap<QString, QString>{{"IMGNAME", "1"}}
            << QStringList{"50% a#1?.jpg", "x&<y>\".gif"} << noCss + center
            << QByteArray("<td bgcolor=\"#EEE\">\r\n <a href=\"50%25 a%231%3F.jpg\">\r\n  <img "
                          "src=\"50%25 "
                          "a%231%3F.jpg\" border=1 height=90 width=80>\r\n<br>50% a#1?.jpg\r\n "
                          "</a>\r\n</td>\r\n"
                          "<td bgcolor=\"#EEE\">\r\n <a href=\"x&amp;<y>%22.gif\">\r\n  <img "
                          "src=\"x&amp;<y>%22.gif\" "
                          "border=1 height=90 width=80>\r\n<br>x&amp;&lt;y&gt;\".gif\r\n "
                          "</a>\r\n</td>\r\n");
    }

    // A page of ASCII text stays as it is; any other text, from a name, a folder or a setting,
    // is written as it is, and the page says it is UTF-8.
    void pagesOfOtherTextSayTheirEncoding_data()
    {
        QTest::addColumn<QMap<QString, QString>>("changes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("declared");
        QTest::newRow("ASCII") << ReplaceMap{{"IMGNAME", "1"}} << "a b.jpg"
                               << "" << false;
        QTest::newRow("an accented name") << ReplaceMap{{"IMGNAME", "1"}} << "città al mare.jpg"
                                          << "" << true;
        QTest::newRow("an accented title") << ReplaceMap{{"DOCTITLE", "Città"}} << "a.jpg"
                                           << "" << true;
        QTest::newRow("an accented folder, linked from the page")
            << ReplaceMap{{"RELLINKS", "1"}} << "a.jpg"
            << "Città" << true;
        QTest::newRow("an accented folder, not on the page") << ReplaceMap{} << "a.jpg"
                                                             << "Città" << false;
    }
    void pagesOfOtherTextSayTheirEncoding()
    {
        QFETCH(ReplaceMap, changes);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(bool, declared);
        const QString pictures = m_dir->filePath(folder) + QDir::separator();
        QVERIFY(cCatalogWriter(store(changes)).write(outPath(), picturesOf({name}, {pictures})).ok);
        const QByteArray page = cTestFiles::read(outPath() + "page.htm");
        QCOMPARE(page.startsWith("<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n  <!-- "),
                 declared);
        QVERIFY(page.startsWith("<html>\r\n<head>\r\n") && page.contains(head.mid(16)));
        QVERIFY(page.contains("<a href=\"" +
                              (folder.isEmpty() || !changes.contains("RELLINKS")
                                   ? QByteArray()
                                   : folder.toUtf8() + "/") +
                              name.toUtf8() + "\">"));
    }
    void pageBytes()
    {
        QFETCH(ReplaceMap, changes);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, styleAndAlign);
        QFETCH(QByteArray, cells);
        cOption options = store(changes);
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf(names));
        QVERIFY(result.ok);
        const QByteArray expected = head + "  <title>Mine & <yours></title>\r\n" +
                                    styleAndAlign.left(styleAndAlign.lastIndexOf("<div")) +
                                    "</head>\r\n<body bgcolor=\"white\">\r\n" +
                                    styleAndAlign.mid(styleAndAlign.lastIndexOf("<div")) +
                                    "<table border=1>\r\n<tr>\r\n" + cells +
                                    "</tr>\r\n</table>\r\n</div>\r\n</body></html>\r\n";
        QCOMPARE(cTestFiles::read(outPath() + "page.htm"), expected);
    }

    // Every cell reads the settings as they are when it is written, however often it reads them.
    void cellsReadTheSettingsOfTheirMoment_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("cell colour")
            << "TABCOLORBK"
            << "red" << QByteArray("bgcolor=\"#EEE\"") << QByteArray("bgcolor=\"red\"");
        QTest::newRow("picture height")
            << "IMGH"
            << "33" << QByteArray("height=90 ") << QByteArray("height=33 ");
        QTest::newRow("names shown") << "IMGNAME"
                                     << "1" << QByteArray() << QByteArray("<br>");
        QTest::newRow("columns") << "TABCOLUMN"
                                 << "1" << QByteArray() << QByteArray("</tr><tr>");
    }
    void cellsReadTheSettingsOfTheirMoment()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        cOption options = store({});
        // The change comes as the third cell is about to be written.
        class cChanging : public cProgress
        {
        public:
            std::function<void()> change;
            bool step(qint64 done) override
            {
                if (done == 2)
                    change();
                return true;
            }
        } progress;
        progress.change = [&] { options.chgStrVal(key, value); };
        QVERIFY(cCatalogWriter(options)
                    .write(outPath(), picturesOf({"a.gif", "b.gif", "c.gif", "d.gif"}), &progress)
                    .ok);
        const QByteArray page = cTestFiles::read(outPath() + "page.htm");
        QList<QByteArray> cells;
        for (qsizetype at = page.indexOf("<td "); at >= 0;) {
            const qsizetype next = page.indexOf("<td ", at + 1);
            cells.append(page.mid(at, next < 0 ? -1 : next - at));
            at = next;
        }
        QCOMPARE(cells.size(), 4);
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const bool changed = i >= 2;
            if (!before.isEmpty())
                QCOMPARE(cells.at(i).contains(before), !changed);
            QCOMPARE(cells.at(i).contains(after), changed);
        }
    }

    void emptySelectionWritesNothing()
    {
        cOption options = store({});
        QVERIFY(cCatalogWriter(options).write(outPath(), {}).ok);
        QVERIFY(!QFile::exists(outPath() + "page.htm"));
    }

    void missingKeyCutsThePageShort_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<int>("marker");
        QTest::addColumn<QByteArray>("ending");
        QTest::newRow("title") << "DOCTITLE" << 1 << QByteArray("www.qdx.example.org   -->\r\n");
        QTest::newRow("border") << "TABBORDER" << 5 << QByteArray("<div align=\"center\">\r\n");
        QTest::newRow("thumbnail width") << "IMGW" << 10 << QByteArray(" <a href=\"a.jpg\">\r\n");
    }
    void missingKeyCutsThePageShort()
    {
        QFETCH(QString, missing);
        QFETCH(int, marker);
        QFETCH(QByteArray, ending);
        cOption options = store({}, missing);
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf({"a.jpg", "b.jpg"}));
        QVERIFY(!result.ok);
        QCOMPARE(result.marker, marker);
        QCOMPARE(result.error.number(), int(cError::InvalidArgument));
        QVERIFY(cTestFiles::read(outPath() + "page.htm").endsWith(ending));
    }

    // Refused at step 1, before a thumbnail or a page is written: nothing changes anywhere.
    void refusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("docFile");
        QTest::addColumn<QString>("thumbDir");
        QTest::addColumn<int>("error");
        QTest::newRow("a missing output folder") << "gone/deeper"
                                                 << "page.htm"
                                                 << "" << 76;
        QTest::newRow("a missing output folder, with thumbnails") << "gone/deeper"
                                                                  << "page.htm"
                                                                  << "thumbs" << 76;
        QTest::newRow("the pictures' own folder for thumbnails") << "."
                                                                 << "page.htm"
                                                                 << "." << 52;
        QTest::newRow("a page outside the output folder") << "site"
                                                          << "../x.htm"
                                                          << "" << 52;
        QTest::newRow("thumbnails outside the output folder") << "site"
                                                              << "page.htm"
                                                              << "../t" << 52;
    }
    void refusedBeforeAnythingIsWritten()
    {
        QFETCH(QString, out);
        QFETCH(QString, docFile);
        QFETCH(QString, thumbDir);
        QFETCH(int, error);
        cTestFiles::write(m_dir->filePath("a.jpg"), cameraJpeg(300, 200, 1));
        QDir().mkpath(m_dir->filePath("site"));
        const cOption options = store({{"DOCFILE", docFile}, {"THUMBDIR", thumbDir}});
        const QStringList before = tree();
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(QDir::cleanPath(m_dir->filePath(out)) + "/",
                                          picturesOf({"a.jpg"}, {m_dir->path() + "/"}));
        QVERIFY(!result.ok);
        QCOMPARE(result.marker, 1);
        QCOMPARE(result.error.number(), error);
        QCOMPARE(tree(), before);
    }

    // Each setting of a place lands under the output folder, whichever separator or form it has.
    void placesStayUnderTheOutputFolder_data()
    {
        QTest::addColumn<QString>("docFile");
        QTest::addColumn<QString>("thumbDir");
        QTest::addColumn<QString>("pageFolder"); // below the output folder; "!" when refused
        QTest::addColumn<QString>("pageName");
        QTest::addColumn<QString>("thumbnails"); // below the output folder; "-" for none
        QTest::newRow("the text's page") << "index.htm"
                                         << ""
                                         << ""
                                         << "index.htm"
                                         << "-";
        QTest::newRow("a page in a folder") << "sub/x.htm"
                                            << "thumbs"
                                            << "sub/"
                                            << "x.htm"
                                            << "/thumbs";
        QTest::newRow("a dotted folder, a page without extension") << "a.b/index"
                                                                   << ""
                                                                   << "a.b/"
                                                                   << "index"
                                                                   << "-";
        QTest::newRow("Windows separators") << "sub\\x.htm"
                                            << "t\\small"
                                            << "sub/"
                                            << "x.htm"
                                            << "/t/small";
        QTest::newRow("dots that stay inside") << "./sub/../x.htm"
                                               << "./t/."
                                               << ""
                                               << "x.htm"
                                               << "/t";
        QTest::newRow("thumbnails beside the page") << "x.htm"
                                                    << "."
                                                    << ""
                                                    << "x.htm"
                                                    << "";
        QTest::newRow("absolute, inside") << "<out>/x.htm"
                                          << "<out>/t"
                                          << ""
                                          << "x.htm"
                                          << "/t";
        QTest::newRow("a page above") << "../x.htm"
                                      << ""
                                      << "!"
                                      << ""
                                      << "";
        QTest::newRow("a page far away") << "/etc/x.htm"
                                         << ""
                                         << "!"
                                         << ""
                                         << "";
        QTest::newRow("no page name") << "sub/.."
                                      << ""
                                      << "!"
                                      << ""
                                      << "";
        QTest::newRow("thumbnails above") << "x.htm"
                                          << "a/../../t"
                                          << "!"
                                          << ""
                                          << "";
        QTest::newRow("thumbnails far away") << "x.htm"
                                             << "/tmp/t"
                                             << "!"
                                             << ""
                                             << "";
    }
    void placesStayUnderTheOutputFolder()
    {
        QFETCH(QString, docFile);
        QFETCH(QString, thumbDir);
        QFETCH(QString, pageFolder);
        QFETCH(QString, pageName);
        QFETCH(QString, thumbnails);
        const QString out = m_dir->path() + "/";
        docFile.replace("<out>", m_dir->path());
        thumbDir.replace("<out>", m_dir->path());
        try {
            const cCatalogPlaces places(out, docFile, thumbDir);
            QCOMPARE(places.pageFolder(), out + pageFolder);
            QCOMPARE(places.pageName(), pageName);
            QCOMPARE(places.thumbnailFolder(),
                     thumbnails == "-" ? QString() : m_dir->path() + thumbnails);
        } catch (const cError &error) {
            QVERIFY2(pageFolder == "!", qPrintable(error.description()));
            QCOMPARE(error.number(), int(cError::BadFileName));
            return;
        }
        QVERIFY(pageFolder != "!");
    }

    // "PAGESIZE" splits the catalog; without it, or at 0, the one page of the text.
    void pagesOfAChosenSize_data()
    {
        QTest::addColumn<QString>("pageSize");
        QTest::addColumn<QString>("docFile");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("page");
        QTest::addColumn<QByteArray>("navigation");
        QTest::newRow("zero is one page")
            << "0"
            << "page.htm" << 5 << QStringList{"page.htm"} << 1 << QByteArray();
        QTest::newRow("more room than pictures")
            << "9"
            << "page.htm" << 5 << QStringList{"page.htm"} << 1 << QByteArray();
        QTest::newRow("a middle page")
            << "2"
            << "page.htm" << 5 << QStringList{"page.htm", "page2.htm", "page3.htm"} << 2
            << QByteArray("<p><a href=\"page.htm\">&lt;</a> <a href=\"page.htm\">1</a> <b>2</b> "
                          "<a href=\"page3.htm\">3</a> <a href=\"page3.htm\">&gt;</a></p>\r\n");
        QTest::newRow("the first page, no extension")
            << "2"
            << "catalog" << 3 << QStringList{"catalog", "catalog2"} << 1
            << QByteArray("<p><b>1</b> <a href=\"catalog2\">2</a> <a href=\"catalog2\">&gt;</a>"
                          "</p>\r\n");
        QByteArray many = "<p><a href=\"page9.htm\">&lt;</a> <a href=\"page.htm\">1</a> ...";
        for (int number : {7, 8, 9})
            many += " <a href=\"page" + QByteArray::number(number) + ".htm\">" +
                    QByteArray::number(number) + "</a>";
        many += " <b>10</b>";
        for (int number : {11, 12, 13})
            many += " <a href=\"page" + QByteArray::number(number) + ".htm\">" +
                    QByteArray::number(number) + "</a>";
        many += " ... <a href=\"page20.htm\">20</a> <a href=\"page11.htm\">&gt;</a></p>\r\n";
        QStringList twenty{"page.htm"};
        for (int number = 2; number <= 20; ++number)
            twenty.append(QString("page%1.htm").arg(number));
        QTest::newRow("far from both ends") << "1"
                                            << "page.htm" << 20 << twenty << 10 << many;
    }
    void pagesOfAChosenSize()
    {
        QFETCH(QString, pageSize);
        QFETCH(QString, docFile);
        QFETCH(int, pictures);
        QFETCH(QStringList, files);
        QFETCH(int, page);
        QFETCH(QByteArray, navigation);
        QStringList names;
        for (int i = 1; i <= pictures; ++i)
            names.append(QString("p%1.jpg").arg(i));
        const cCatalogWriter::Result result =
            cCatalogWriter(store({{"PAGESIZE", pageSize}, {"DOCFILE", docFile}}))
                .write(outPath(), picturesOf(names));
        QVERIFY(result.ok);
        QCOMPARE(result.path, outPath() + docFile);
        const QStringList written = QDir(m_dir->path()).entryList({"page*", "catalog*"});
        QCOMPARE(QSet<QString>(written.cbegin(), written.cend()),
                 QSet<QString>(files.cbegin(), files.cend()));
        const QByteArray shown = cTestFiles::read(m_dir->filePath(files.at(page - 1)));
        const QByteArray single = cTestFiles::read(m_dir->filePath(files.first()));
        // Every page has the head and the table settings of the first.
        QCOMPARE(shown.left(shown.indexOf("<tr>")), single.left(single.indexOf("<tr>")));
        const qsizetype table = shown.indexOf("</table>\r\n") + 10;
        QCOMPARE(shown.mid(table, shown.indexOf("</div>") - table), navigation);
        QCOMPARE(shown.count("<img "),
                 qsizetype(std::min(pictures - (page - 1) * pageSize.toInt(),
                                    pageSize.toInt() > 0 ? pageSize.toInt() : pictures)));
    }

    // "THUMBDIR": small pictures made for the page, turned as the camera recorded them, each
    // picture keeping its own; the cells still link the full pictures.
    void thumbnailsForThePage()
    {
        const QString a = m_dir->filePath("a");
        const QString b = m_dir->filePath("b");
        QDir().mkpath(a);
        QDir().mkpath(b);
        cTestFiles::write(a + "/photo.jpg", cameraJpeg(400, 300, 6));
        cTestFiles::write(b + "/photo.jpg", cameraJpeg(300, 100, 1));
        cTestFiles::write(a + "/anim.gif", cTestFiles::tinyGif());
        cTestFiles::write(a + "/broken.jpg", "not a picture");
        const QStringList names{"photo.jpg", "photo.jpg", "anim.gif", "broken.jpg"};
        const QStringList folders{a + "/", b + "/", a + "/", a + "/"};
        const ReplaceMap settings{{"THUMBDIR", "thumbs"},
                                  {"THUMBSIZE", "1"},
                                  {"RELLINKS", "1"},
                                  {"IMGW", "120"},
                                  {"IMGH", "120"}};
        const cCatalogWriter::Result result =
            cCatalogWriter(store(settings)).write(outPath(), picturesOf(names, folders));
        QVERIFY(result.ok);
        QCOMPARE(result.unreadable, 1);
        const QStringList made = QDir(m_dir->filePath("thumbs")).entryList(QDir::Files);
        QCOMPARE(made.size(), 3);
        const QByteArray page = cTestFiles::read(m_dir->filePath("page.htm"));
        QStringList sizes;
        for (const QString &file : made) {
            const QImage thumbnail(m_dir->filePath("thumbs/" + file));
            QVERIFY(thumbnail.width() <= 120 && thumbnail.height() <= 120);
            QVERIFY2(page.contains("<img src=\"thumbs/" + file.toUtf8() +
                                   "\" border=1 height=" + QByteArray::number(thumbnail.height()) +
                                   " width=" + QByteArray::number(thumbnail.width()) + ">"),
                     qPrintable(file));
            sizes.append(QString("%1x%2").arg(thumbnail.width()).arg(thumbnail.height()));
        }
        // The sideways 400 by 300 stands upright: 90 by 120; the other keeps 3 to 1; the GIF is
        // not enlarged.
        sizes.sort();
        QCOMPARE(sizes, (QStringList{"120x40", "1x1", "90x120"}));
        QVERIFY(page.contains(" <a href=\"a/photo.jpg\">") &&
                page.contains(" <a href=\"b/photo.jpg\">"));
        QVERIFY(page.contains("  <img src=\"a/broken.jpg\" border=1 height=120 width=120>"));

        // A second run over unchanged pictures makes nothing again; a newer picture is made again.
        // A thumbnail dated ahead would lose that date if it were written again.
        const QString first = m_dir->filePath("thumbs/" + made.first());
        const QDateTime ahead = QDateTime::currentDateTime().addSecs(100);
        const auto dated = [](const QString &path, const QDateTime &when) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) &&
                   file.setFileTime(when, QFileDevice::FileModificationTime);
        };
        QVERIFY(dated(first, ahead));
        QVERIFY(cCatalogWriter(store(settings)).write(outPath(), picturesOf(names, folders)).ok);
        QCOMPARE(QFileInfo(first).lastModified(), ahead);
        for (const QString &picture : {a + "/anim.gif", a + "/photo.jpg", b + "/photo.jpg"})
            QVERIFY(dated(picture, ahead.addSecs(100)));
        QVERIFY(cCatalogWriter(store(settings)).write(outPath(), picturesOf(names, folders)).ok);
        QVERIFY(QFileInfo(first).lastModified() < ahead);
        QCOMPARE(QDir(m_dir->filePath("thumbs")).entryList(QDir::Files | QDir::Hidden).size(), 3);
        // Every run finds the broken picture unreadable; the log says so once.
        QCOMPARE(cTestFiles::read(modUtil1::logFilePath(QDate::currentDate()))
                     .count("ERROR[481]could not be read"),
                 qsizetype(1));
    }

    // A camera's own copy of the picture in its EXIF makes the thumbnail where it shows the same
    // picture, turned as the picture is; a copy of another shape, with black bars, too small, or
    // of a picture changed since (as its EXIF tells) is left, and the picture decoded.
    void thumbnailsFromTheCamerasCopy_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("bars");
        QTest::addColumn<QByteArray>("modified");
        QTest::addColumn<int>("recordedWidth");
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("fromCopy");
        QTest::addColumn<int>("declared"); // the long side the copy's header claims; 0: its own
        const QByteArray taken = "2024:07:14 18:03:22";
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::addRow("the camera's copy, orientation %d", orientation)
                << QSize(400, 300) << orientation << 0 << taken << 400 << 120 << true << 0;
        QTest::newRow("a wide picture, its copy letterboxed")
            << QSize(400, 225) << 1 << 15 << taken << 400 << 120 << false << 0;
        QTest::newRow("black bars on a copy of the picture's shape")
            << QSize(400, 300) << 1 << 8 << taken << 400 << 120 << false << 0;
        QTest::newRow("edited after: modified later than taken")
            << QSize(400, 300) << 1 << 0 << QByteArray("2025:01:02 10:00:00") << 400 << 120 << false
            << 0;
        QTest::newRow("cropped after: the EXIF's size is another")
            << QSize(400, 300) << 6 << 0 << taken << 4000 << 120 << false << 0;
        QTest::newRow("a copy too small for the box")
            << QSize(400, 300) << 1 << 0 << taken << 400 << 200 << false << 0;
        QTest::newRow("a copy declaring more pixels than worth decoding")
            << QSize(400, 300) << 1 << 0 << taken << 400 << 120 << false << 4000;
    }

    void thumbnailsFromTheCamerasCopy()
    {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(int, bars);
        QFETCH(QByteArray, modified);
        QFETCH(int, recordedWidth);
        QFETCH(int, box);
        QFETCH(bool, fromCopy);
        QFETCH(int, declared);
        // Two halves side by side as stored: green and red in the picture, blue and yellow in
        // the copy, so that both the source and the turn show.
        const auto halves = [](const QSize &size, Qt::GlobalColor left, Qt::GlobalColor right,
                               int bars) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(left);
            QPainter painter(&image);
            painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(),
                             right);
            painter.fillRect(0, 0, size.width(), bars, Qt::black);
            painter.fillRect(0, size.height() - bars, size.width(), bars, Qt::black);
            return image;
        };
        const QImage picture = halves(stored, Qt::green, Qt::red, 0);
        const QByteArray taken = "2024:07:14 18:03:22";
        QByteArray file = cTestFiles::withMetadata(
            cTestFiles::cameraJpeg(picture, orientation, 95),
            {{"Exif.Photo.DateTimeOriginal", taken},
             {"Exif.Image.DateTime", modified},
             {"Exif.Photo.PixelXDimension", QString::number(recordedWidth)},
             {"Exif.Photo.PixelYDimension", QString::number(stored.height())}},
            halves(QSize(160, 120), Qt::blue, Qt::yellow, bars));
        if (declared > 0) {
            // The copy's frame header comes first in the file, inside the EXIF.
            const qsizetype frame = file.indexOf(QByteArray("\xFF\xC0\x00\x11\x08", 5));
            QVERIFY(frame > 0);
            const int across = declared * 3 / 4;
            file[frame + 5] = char(across >> 8);
            file[frame + 6] = char(across & 0xFF);
            file[frame + 7] = char(declared >> 8);
            file[frame + 8] = char(declared & 0xFF);
        }
        cTestFiles::write(m_dir->filePath("photo.jpg"), file);
        const QString size = QString::number(box);
        QVERIFY(cCatalogWriter(store({{"THUMBDIR", "thumbs"}, {"IMGW", size}, {"IMGH", size}}))
                    .write(outPath(), picturesOf({"photo.jpg"}))
                    .ok);
        const QStringList made = QDir(m_dir->filePath("thumbs")).entryList(QDir::Files);
        QCOMPARE(made.size(), 1);
        const QImage thumbnail(m_dir->filePath("thumbs/" + made.first()));
        // The picture decoded whole and turned by Qt: where it is green, the thumbnail is green
        // or the copy's blue.
        QImageReader reader(m_dir->filePath("photo.jpg"));
        reader.setAutoTransform(true);
        const QImage whole = reader.read().scaled(thumbnail.size());
        QCOMPARE(thumbnail.size(), whole.size().scaled(box, box, Qt::KeepAspectRatio));
        for (const QPointF at :
             {QPointF(0.25, 0.5), QPointF(0.75, 0.5), QPointF(0.5, 0.25), QPointF(0.5, 0.75)}) {
            const QPoint point(int(at.x() * thumbnail.width()), int(at.y() * thumbnail.height()));
            const bool green = qGreen(whole.pixel(point)) > 128 && qRed(whole.pixel(point)) < 128;
            const QColor expected =
                fromCopy ? (green ? Qt::blue : Qt::yellow) : (green ? Qt::green : Qt::red);
            // JPEG's halved colour moves the hues: the nearest of the four is the one seen.
            const QColor seen = thumbnail.pixelColor(point);
            const auto distance = [&seen](const QColor &colour) {
                return std::abs(seen.red() - colour.red()) +
                       std::abs(seen.green() - colour.green()) +
                       std::abs(seen.blue() - colour.blue());
            };
            const QList<QColor> hues = {Qt::green, Qt::red, Qt::blue, Qt::yellow};
            const QColor nearest = *std::min_element(
                hues.cbegin(), hues.cend(),
                [&](const QColor &a, const QColor &b) { return distance(a) < distance(b); });
            QVERIFY2(nearest == expected, qPrintable(QString("at %1,%2: %3, not %4")
                                                         .arg(point.x())
                                                         .arg(point.y())
                                                         .arg(seen.name(), expected.name())));
        }
    }

    // Stopped while making thumbnails: no page is written and no thumbnail is left half-made.
    void cancelWhileMakingThumbnails()
    {
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QStringList names;
        for (int i = 0; i < 200; ++i) {
            names.append(QString("p%1.jpg").arg(i));
            QVERIFY(picture.save(m_dir->filePath(names.last()), "JPG"));
        }
        cTestDesktop desktop;
        desktop.cancelAfter = 0;
        const auto progress = desktop.progress(nullptr, "Writing the catalog:", names.size());
        const cCatalogWriter::Result result =
            cCatalogWriter(store({{"THUMBDIR", "thumbs"}}))
                .write(outPath(), picturesOf(names), progress.get());
        QVERIFY(result.cancelled);
        QVERIFY(!QFile::exists(m_dir->filePath("page.htm")));
        const QStringList made =
            QDir(m_dir->filePath("thumbs")).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(made.size() < names.size());
        QVERIFY(made.filter(".qdx-").isEmpty());
    }

    // A generation stopped by the user leaves every page as it was before it started.
    void cancelledGenerationChangesNoPage()
    {
        cTestFiles::write(m_dir->filePath("page.htm"), "old first");
        cTestFiles::write(m_dir->filePath("page2.htm"), "old second");
        cTestDesktop desktop;
        desktop.cancelAfter = 3; // stops on the third page
        const auto progress = desktop.progress(nullptr, "Writing the catalog:", 5);
        const cCatalogWriter::Result result =
            cCatalogWriter(store({{"PAGESIZE", "2"}}))
                .write(outPath(), picturesOf({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}),
                       progress.get());
        QVERIFY(result.cancelled);
        QCOMPARE(cTestFiles::read(m_dir->filePath("page.htm")), QByteArray("old first"));
        QCOMPARE(cTestFiles::read(m_dir->filePath("page2.htm")), QByteArray("old second"));
        QCOMPARE(QDir(m_dir->path()).entryList({"page*"}, QDir::Files | QDir::Hidden),
                 (QStringList{"page.htm", "page2.htm"}));
        // Written to the end, the pages replace the old ones.
        QVERIFY(cCatalogWriter(store({{"PAGESIZE", "2"}}))
                    .write(outPath(), picturesOf({"a.jpg", "b.jpg", "c.jpg"}))
                    .ok);
        QVERIFY(cTestFiles::read(m_dir->filePath("page2.htm")).contains("c.jpg"));
        QCOMPARE(QDir(m_dir->path()).entryList({"page*"}, QDir::Files | QDir::Hidden),
                 (QStringList{"page.htm", "page2.htm"}));
    }

    // What the program makes replaces whatever stands at its name: a link planted there must not
    // carry the write to the file it names, nor a FIFO stop the program.
    void plantedNamesAreReplaced_data()
    {
        QTest::addColumn<bool>("thumbnail");
        QTest::addColumn<bool>("fifo");
        QTest::newRow("a link at a thumbnail's name") << true << false;
        QTest::newRow("a FIFO at a thumbnail's name") << true << true;
        QTest::newRow("a link at the page's name") << false << false;
        QTest::newRow("a FIFO at the page's name") << false << true;
    }
    void plantedNamesAreReplaced()
    {
        QFETCH(bool, thumbnail);
        QFETCH(bool, fifo);
        const QString pictures = m_dir->filePath("pics/");
        QDir().mkpath(pictures);
        cTestFiles::write(pictures + "a.jpg", cameraJpeg(300, 200, 1));
        const QString notes = m_dir->filePath("notes.txt");
        cTestFiles::write(notes, "my notes");
        const QString thumbnails = m_dir->filePath("thumbs");
        QDir().mkpath(thumbnails);
        const QString planted =
            thumbnail
                ? thumbnails + "/" + cTestFiles::thumbnailName(pictures + "a.jpg", QSize(80, 90))
                : m_dir->filePath("page.htm");
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(planted).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(notes, planted));
        const cOption options = store({{"THUMBDIR", "thumbs"}, {"RELLINKS", "1"}});
        // A write that waits for a reader of the FIFO ends the test instead of stalling it.
        ::alarm(60);
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf({"a.jpg"}, {pictures}));
        ::alarm(0);
        QVERIFY(result.ok);
        QCOMPARE(result.unreadable + result.unwritable, 0);
        QCOMPARE(cTestFiles::read(notes), QByteArray("my notes"));
        const QFileInfo made(planted);
        QVERIFY(made.isFile() && !made.isSymLink());
        QVERIFY(thumbnail ? !QImage(planted).isNull()
                          : cTestFiles::read(planted).startsWith("<html>"));
    }

    // A disk that refuses the new catalog, whether at a thumbnail or at the page, leaves the
    // previous page whole and says why.
    void refusedPageKeepsThePreviousOne_data()
    {
        QTest::addColumn<bool>("thumbnails");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("limit");
        QTest::newRow("the page") << false << 3000 << 100000;
        QTest::newRow("the thumbnails") << true << 12 << 1000;
    }
    void refusedPageKeepsThePreviousOne()
    {
        QFETCH(bool, thumbnails);
        QFETCH(int, pictures);
        QFETCH(int, limit);
        QImage noise(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        }
        QStringList names;
        for (int i = 0; i < pictures; ++i) {
            names.append(QString("p%1.jpg").arg(i));
            if (thumbnails)
                QVERIFY(noise.save(m_dir->filePath(names.last()), "JPG"));
        }
        cTestFiles::write(m_dir->filePath("page.htm"), "the previous page");
        const cOption options = store({{"THUMBDIR", thumbnails ? "thumbs" : ""}});
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit before;
        ::getrlimit(RLIMIT_FSIZE, &before);
        rlimit limited = before;
        limited.rlim_cur = rlim_t(limit);
        ::setrlimit(RLIMIT_FSIZE, &limited);
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf(names));
        ::setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(!result.ok);
        QCOMPARE(result.error.number(), int(cError::DeviceIO));
        QVERIFY2(result.error.description().contains("File too large"),
                 qPrintable(result.error.description()));
        QCOMPARE(cTestFiles::read(m_dir->filePath("page.htm")), QByteArray("the previous page"));
        QCOMPARE(result.unwritable, thumbnails ? pictures : 0);
        QCOMPARE(result.unreadable, 0);
        QStringList left;
        for (QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            left.append(it.next());
        QCOMPARE(left.filter(".qdx-"), QStringList());
    }

    // The pages of a run take their places together or not at all: one that cannot (a folder of
    // the user's at its name) leaves every page of the run before, picture pages too.
    void aPageThatCannotTakeItsPlaceTakesTheOthersBack()
    {
        const QStringList names = {"a.gif", "b.gif", "c.gif", "d.gif"};
        for (const QString &name : names)
            cTestFiles::write(m_dir->filePath(name), cTestFiles::tinyGif());
        const cOption options = store({{"PAGESIZE", "2"}, {"PICTUREPAGES", "1"}});
        QVERIFY(cCatalogWriter(options).write(outPath(), picturesOf(names)).ok);
        const auto pages = [this] {
            QMap<QString, QByteArray> all;
            for (const QString &name : QDir(m_dir->path()).entryList({"*.htm*"}, QDir::Files))
                all.insert(name, cTestFiles::read(m_dir->filePath(name)));
            return all;
        };
        QVERIFY(QFile::remove(m_dir->filePath("page2.htm")));
        QVERIFY(QDir(m_dir->path()).mkpath("page2.htm"));
        cTestFiles::write(m_dir->filePath("page2.htm/mine.txt"), "the user's");
        const QMap<QString, QByteArray> before = pages();
        QCOMPARE(before.size(), 1 + 4);
        QStringList reversed = names;
        std::reverse(reversed.begin(), reversed.end());
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf(reversed));
        QVERIFY(!result.ok);
        QCOMPARE(result.path, m_dir->filePath("page2.htm"));
        QCOMPARE(pages(), before);
        QCOMPARE(QDir(m_dir->path()).entryList({"*.qdx-*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // Two runs into one output folder at once, as from two windows: one waits for the other, and
    // both end well with whole pages; a run waiting can be stopped, and then writes nothing.
    void twoRunsIntoOneFolder()
    {
        QStringList names;
        for (int i = 0; i < 400; ++i) {
            names.append(QString("p%1.gif").arg(i));
            cTestFiles::write(m_dir->filePath(names.last()), cTestFiles::tinyGif());
        }
        const cOption options = store({{"PAGESIZE", "20"}, {"PICTUREPAGES", "1"}});
        QList<cCatalogWriter::Result> results(2);
        std::thread other(
            [&] { results[1] = cCatalogWriter(options).write(outPath(), picturesOf(names)); });
        results[0] = cCatalogWriter(options).write(outPath(), picturesOf(names));
        other.join();
        for (const cCatalogWriter::Result &result : results)
            QVERIFY2(result.ok, qPrintable(result.error.description()));
        const QByteArray page = cTestFiles::read(m_dir->filePath("page.htm"));
        QVERIFY(page.endsWith("</body></html>\r\n"));
        QCOMPARE(page.count("<td "), 20);

        struct Stopping : cProgress
        {
            int asked = 0;
            bool step(qint64) override { return ++asked < 3; }
        } stopping;
        cFolderLock held(m_dir->path());
        QVERIFY(held.take([] { return true; }));
        QVERIFY(QFile::remove(m_dir->filePath("page.htm")));
        const cCatalogWriter::Result waited =
            cCatalogWriter(options).write(outPath(), picturesOf(names), &stopping);
        QVERIFY(waited.cancelled);
        QVERIFY(!QFile::exists(m_dir->filePath("page.htm")));
    }

    // A catalog of more pages (and picture pages) than the process may keep files open: each
    // page's file is closed once written, while it waits to take its place with the others.
    void morePagesThanFilesOpenAtOnce()
    {
        QStringList names;
        for (int i = 0; i < 150; ++i)
            names.append(QString("p%1.jpg").arg(i));
        const cOption options = store({{"PAGESIZE", "1"}, {"PICTUREPAGES", "1"}});
        rlimit before;
        ::getrlimit(RLIMIT_NOFILE, &before);
        rlimit limited = before;
        limited.rlim_cur = 100;
        ::setrlimit(RLIMIT_NOFILE, &limited);
        const cCatalogWriter::Result result =
            cCatalogWriter(options).write(outPath(), picturesOf(names));
        ::setrlimit(RLIMIT_NOFILE, &before);
        QVERIFY2(result.ok, qPrintable(result.error.description()));
        QCOMPARE(result.pages, 150);
        QCOMPARE(QDir(m_dir->path()).entryList({"page*.htm"}, QDir::Files).size(), 150);
        QCOMPARE(QDir(m_dir->path()).entryList({"p*-*.htm"}, QDir::Files).size(), 150);
    }

    // A thumbnail belongs to the picture it was made from, not to a date: a picture replaced by
    // an older one gets a new thumbnail.
    void replacedPictureGetsANewThumbnail()
    {
        const QString picture = m_dir->filePath("a.jpg");
        cTestFiles::write(picture, cameraJpeg(300, 200, 1));
        const cOption options = store({{"THUMBDIR", "thumbs"}, {"THUMBSIZE", "1"}});
        QVERIFY(cCatalogWriter(options).write(outPath(), picturesOf({"a.jpg"})).ok);
        QVERIFY(cTestFiles::read(m_dir->filePath("page.htm")).contains("height=53 width=80>"));
        cTestFiles::write(picture, cameraJpeg(200, 300, 1));
        QFile replaced(picture);
        QVERIFY(replaced.open(QIODevice::ReadWrite));
        QVERIFY(replaced.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
        replaced.close();
        QVERIFY(cCatalogWriter(options).write(outPath(), picturesOf({"a.jpg"})).ok);
        QVERIFY(cTestFiles::read(m_dir->filePath("page.htm")).contains("height=90 width=60>"));
    }

    // A thumbnail is found by what its picture is: the folder renamed, or the pictures moved into
    // another, nothing is made again; a picture changed in place is made again.
    void thumbnailsSurviveAMove()
    {
        const QString before = m_dir->filePath("2024 trip");
        const QString after = m_dir->filePath("Holidays/Rome 2024");
        QVERIFY(QDir().mkpath(before) && QDir().mkpath(m_dir->filePath("Holidays")));
        const QStringList names = {"a.jpg", "b.jpg"};
        cTestFiles::write(before + "/a.jpg", cameraJpeg(300, 200, 1));
        cTestFiles::write(before + "/b.jpg", cameraJpeg(200, 300, 6));
        const cOption options = store({{"THUMBDIR", "thumbs"}, {"RELLINKS", "1"}});
        const auto thumbnails = [&] {
            QStringList made;
            for (const QFileInfo &file : QDir(m_dir->filePath("thumbs")).entryInfoList(QDir::Files))
                made.append(file.fileName() + " " +
                            QString::number(file.lastModified().toMSecsSinceEpoch()));
            return made;
        };
        QVERIFY(cCatalogWriter(options)
                    .write(outPath(), picturesOf(names, {before + "/", before + "/"}))
                    .ok);
        const QStringList first = thumbnails();
        QCOMPARE(first.size(), 2);
        QTest::qWait(20); // a thumbnail written again would have a later time
        QVERIFY(QDir().rename(before, after));
        QVERIFY(cCatalogWriter(options)
                    .write(outPath(), picturesOf(names, {after + "/", after + "/"}))
                    .ok);
        QCOMPARE(thumbnails(), first);
        QVERIFY(
            cTestFiles::read(m_dir->filePath("page.htm")).contains("Holidays/Rome%202024/a.jpg"));
        cTestFiles::write(after + "/a.jpg", cameraJpeg(320, 200, 1));
        QVERIFY(cCatalogWriter(options)
                    .write(outPath(), picturesOf(names, {after + "/", after + "/"}))
                    .ok);
        QCOMPARE(thumbnails().size(), 3);
    }

    // "COPYSIZE": a JPEG copy of every picture but a GIF, upright, fitted to the long edge and
    // never enlarged, transparency on white, linked instead of the picture; made again only when
    // the picture changed.
    void webCopiesOfEveryPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("copy"); // empty: the picture is linked itself
        // Keys other than COPYSIZE, each absent where it is not given.
        QTest::addColumn<ReplaceMap>("keys");
        const ReplaceMap web{{"COPYDIR", "web"}};
        QTest::newRow("a turned camera JPEG")
            << "a.jpg" << cameraJpeg(400, 300, 6) << QSize(150, 200) << web;
        QTest::newRow("a camera JPEG with its date and copyright kept")
            << "f.jpg"
            << cTestFiles::withMetadata(cameraJpeg(400, 300, 1),
                                        {{"Exif.Photo.DateTimeOriginal", "2021:07:03 10:00:00"},
                                         {"Exif.Image.Copyright", "Me"}})
            << QSize(200, 150) << ReplaceMap{{"COPYDIR", "web"}, {"COPYFACTS", "1"}};
        QTest::newRow("a turned JPEG at the decoder's half, nearly the copy size")
            << "h.jpg" << cameraJpeg(400, 300, 6) << QSize(150, 200)
            << ReplaceMap{{"COPYDIR", "web"}, {"COPYSIZE", "210"}};
        QTest::newRow("no COPYDIR key: the copies go where it says by default")
            << "n.jpg" << cameraJpeg(400, 300, 1) << QSize(200, 150) << ReplaceMap{};
        QTest::newRow("a small JPEG, never enlarged")
            << "s.jpg" << cameraJpeg(100, 80, 1) << QSize(100, 80) << web;
        QImage clear(300, 300, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        clear.save(&buffer, "PNG");
        QTest::newRow("a transparent PNG") << "t.png" << png << QSize(200, 200) << web;
        QTest::newRow("a GIF") << "g.gif" << cTestFiles::tinyGif() << QSize() << web;
        if (cPictureReader::canRead("HEIC")) {
            QImage phone(400, 200, QImage::Format_RGB32);
            phone.fill(Qt::blue);
            QTest::newRow("a phone's HEIC")
                << "p.heic" << cTestFiles::heif(phone, false) << QSize(200, 100) << web;
        }
    }
    void webCopiesOfEveryPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, copy);
        QFETCH(ReplaceMap, keys);
        const QString pictures = m_dir->filePath("pictures");
        QVERIFY(QDir().mkpath(pictures));
        cTestFiles::write(pictures + "/" + name, bytes);
        const QString type = QFileInfo(name).suffix().toUpper();
        QList<cPicture> list = {{pictures + "/", name, type}};
        cPictureFacts().read(list);
        keys.insert("RELLINKS", "1");
        if (!keys.contains("COPYSIZE"))
            keys.insert("COPYSIZE", "200");
        const cOption options = store(keys);
        QVERIFY(cCatalogWriter(options).write(outPath(), list).ok);
        const QFileInfoList copies = QDir(m_dir->filePath("web")).entryInfoList(QDir::Files);
        const QByteArray page = cTestFiles::read(m_dir->filePath("page.htm"));
        if (copy.isEmpty()) {
            QCOMPARE(copies.size(), 0);
            QVERIFY(page.contains("<a href=\"pictures/" + name.toUtf8() + "\">"));
            return;
        }
        QCOMPARE(copies.size(), 1);
        QVERIFY(page.contains("<a href=\"web/" + copies.first().fileName().toUtf8() + "\">"));
        QImageReader reader(copies.first().filePath());
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage shown = reader.read();
        QCOMPARE(shown.size(), copy);
        QCOMPARE(cTestFiles::read(copies.first().filePath()).contains("2021:07:03 10:00:00"),
                 keys.contains("COPYFACTS"));
        if (name.endsWith(".png"))
            QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::white));
        const QDateTime made = copies.first().lastModified();
        QTest::qWait(20); // a copy written again would have a later time
        QVERIFY(cCatalogWriter(options).write(outPath(), list).ok);
        QCOMPARE(QFileInfo(copies.first().filePath()).lastModified(), made);
        QFile picture(pictures + "/" + name);
        QVERIFY(picture.open(QIODevice::ReadWrite));
        QVERIFY(picture.setFileTime(made.addSecs(60), QFileDevice::FileModificationTime));
        picture.close();
        QVERIFY(cCatalogWriter(options).write(outPath(), list).ok);
        QVERIFY(QFileInfo(copies.first().filePath()).lastModified() > made);
    }

    // A run that changes nothing writes no file: not a page, not a picture page, not a copy
    // with the date taken and copyright it publishes, not the record.
    void anUnchangedRunWritesNothing()
    {
        const QString in = m_dir->filePath("in");
        QList<cPicture> pictures = pictureTree(in, {{"", "a.jpg"}, {"Rome", "b.jpg"}});
        cTestFiles::write(
            pictures.first().path(),
            cTestFiles::withMetadata(cameraJpeg(300, 200, 1),
                                     {{"Exif.Photo.DateTimeOriginal", "2021:07:03 10:00:00"},
                                      {"Exif.Image.Copyright", "Me"}}));
        cPictureFacts().read(pictures);
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        const cOption options = store({{"THUMBDIR", "thumbs"},
                                       {"COPYSIZE", "100"},
                                       {"COPYFACTS", "1"},
                                       {"PHONES", "1"},
                                       {"PICTUREPAGES", "1"},
                                       {"PRUNE", "1"},
                                       {"ALBUMS", "1"}});
        const auto times = [&site] {
            QMap<QString, QDateTime> times;
            for (QDirIterator it(site, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
                times.insert(it.next(), it.fileInfo().lastModified());
            return times;
        };
        QVERIFY(cCatalogWriter(options).write(site + "/", pictures, nullptr, in + "/").ok);
        const QMap<QString, QDateTime> first = times();
        // Three sizes of two pictures, two album pages, two picture pages, the sheet, the record.
        QCOMPARE(first.size(), 3 * 2 + 2 + 2 + 1 + 1);
        QTest::qWait(20); // a file written again would have a later time
        QVERIFY(cCatalogWriter(options).write(site + "/", pictures, nullptr, in + "/").ok);
        QCOMPARE(times(), first);
    }

    // "PRUNE": what the run before wrote and this one does not (pages of a longer run,
    // thumbnails of pictures no longer chosen) goes, as the record in the output folder tells;
    // nothing else does: not the user's files, not a recorded file changed since, not a file the
    // record leads outside the folder or through a link.
    void pruneRemovesOnlyWhatItWrote()
    {
        const QString out = m_dir->path();
        for (const char *name : {"a.gif", "b.gif", "c.gif"})
            cTestFiles::write(out + "/" + name, cTestFiles::tinyGif());
        const ReplaceMap settings{{"THUMBDIR", "thumbs"}, {"PAGESIZE", "1"}, {"PRUNE", "1"}};
        QVERIFY(cCatalogWriter(store(settings))
                    .write(outPath(), picturesOf({"a.gif", "b.gif", "c.gif"}))
                    .ok);
        const QString record = out + "/qdx-written.lst";
        QCOMPARE(cTestFiles::read(record).count('\n'), 1 + 6);
        const QString victim = m_dir->filePath("../victim of " + QFileInfo(out).fileName());
        cTestFiles::write(victim, "not the program's");
        const auto stamp = [](const QString &path) {
            const QFileInfo file(path);
            return QByteArray::number(file.size()) + '\t' +
                   QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + '\t';
        };
        QVERIFY(QFile::link(victim, out + "/link.htm"));
        QByteArray planted = stamp(victim) + "../" + QFileInfo(victim).fileName().toUtf8() + "\n" +
                             stamp(victim) + victim.toUtf8() + "\n" + stamp(victim) + "link.htm\n";
        // The user's own files of the program's names and kinds, and the very pictures
        // catalogued, named in the record with their true sizes and times.
        for (const char *mine : {"mine.htm", "page4.htm", "thumbs/mine.jpg"}) {
            cTestFiles::write(out + "/" + mine, "the user's");
            planted += stamp(out + "/" + mine) + mine + "\n";
        }
        planted += stamp(out + "/a.gif") + "a.gif\n" + stamp(out + "/b.gif") + "b.gif\n";
        cTestFiles::write(record, cTestFiles::read(record) + planted);
        QTest::qWait(20);
        cTestFiles::write(out + "/page3.htm", "changed by the user since");
        const cCatalogWriter::Result result =
            cCatalogWriter(store(settings)).write(outPath(), picturesOf({"a.gif"}));
        QVERIFY(result.ok);
        QCOMPARE(result.pruned, 3); // page2.htm and two thumbnails
        QVERIFY(!QFile::exists(out + "/page2.htm"));
        QCOMPARE(QDir(out + "/thumbs").entryList({"*-*x*.jpg"}, QDir::Files).size(), 1);
        for (const char *kept : {"mine.htm", "page4.htm", "thumbs/mine.jpg", "page3.htm",
                                 "link.htm", "a.gif", "b.gif"})
            QVERIFY2(QFileInfo(out + "/" + kept).exists(), kept);
        QCOMPARE(cTestFiles::read(victim), QByteArray("not the program's"));
        QCOMPARE(cTestFiles::read(record).count('\n'), 1 + 2);
        QFile::remove(victim);
        // Without the key nothing is recorded, as the text writes only its pages.
        QFile::remove(record);
        QVERIFY(cCatalogWriter(store({{"THUMBDIR", "thumbs"}}))
                    .write(outPath(), picturesOf({"a.gif"}))
                    .ok);
        QVERIFY(!QFile::exists(record));
    }

    // An album folder's name, line breaks and tabs and all, is one entry of the record: it can
    // neither name a file of the user's with its true size and time nor hide one of the program's.
    void aNameIsOneEntryOfTheRecord()
    {
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        // A page the user saved there, the program's mark and all.
        const QString saved = site + "/photos/index.htm";
        QVERIFY(QDir().mkpath(site + "/photos"));
        cTestFiles::write(saved, ("<html>\r\n" + cCatalogPage::markLine() + "\r\n").toUtf8());
        const QFileInfo user(saved);
        const QString forged = QString("Rome\n%1\t%2\tphotos")
                                   .arg(user.size())
                                   .arg(user.lastModified().toMSecsSinceEpoch());
        const QList<cPicture> pictures =
            pictureTree(in, {{"", "a.jpg"}, {forged, "r.jpg"}, {"tab\there", "t.gif"}});
        const cOption options = store(
            {{"ALBUMS", "1"}, {"PRUNE", "1"}, {"THUMBDIR", "thumbs"}, {"DOCFILE", "index.htm"}});
        for (int run = 1; run <= 2; ++run) {
            const cCatalogWriter::Result result = cCatalogWriter(options).write(
                site + QDir::separator(), run == 1 ? pictures : pictures.mid(0, 1), nullptr,
                in + QDir::separator());
            QVERIFY2(result.ok, qPrintable(result.error.description()));
            QStringList written;
            for (QDirIterator it(site, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
                const QString file = it.next();
                if (file != saved && !file.endsWith(cWrittenRecord::recordName()))
                    written.append(file);
            }
            QStringList recorded = cWrittenRecord::recorded(site);
            written.sort();
            recorded.sort();
            QCOMPARE(recorded, written);
            QVERIFY(QFile::exists(saved));
        }
    }

    // PRUNE removes through the output folder's own descriptor: a folder of it swapped for a
    // link to another folder, again and again while the run prunes, leads nowhere, and nothing
    // of that folder goes, though its files are twins of the program's by name, bytes and time.
    void aFolderSwappedForALinkLeadsNowhere()
    {
        const QString site = m_dir->filePath("site");
        const QString rome = site + "/Rome";
        const QString other = m_dir->filePath("other");
        QVERIFY(QDir().mkpath(rome) && QDir().mkpath(other));
        const QByteArray page = ("<html>\r\n" + cCatalogPage::markLine() + "\r\n").toUtf8();
        const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
        constexpr int pages = 4000;
        QByteArray record = "qdx-written 2\n";
        for (int i = 0; i < pages; ++i) {
            const QString name = QString("index%1.htm").arg(i);
            for (const QString &folder : {rome, other}) {
                QFile file(folder + "/" + name);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(page) == page.size() &&
                        file.flush());
                QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
            }
            record += QByteArray::number(page.size()) + '\t' +
                      QByteArray::number(time.toMSecsSinceEpoch()) + "\tRome/" + name.toUtf8() +
                      '\n';
        }
        cTestFiles::write(site + "/" + cWrittenRecord::recordName(), record);
        const cCatalogPlan plan(store({{"ALBUMS", "1"}, {"DOCFILE", "index.htm"}}),
                                site + QDir::separator());
        std::atomic<bool> done = false;
        std::thread swapper([&] {
            const QByteArray real = QFile::encodeName(rome);
            const QByteArray aside = QFile::encodeName(rome + ".real");
            const QByteArray target = QFile::encodeName(other);
            while (!done) {
                ::rename(real, aside);
                ::symlink(target, real);
                ::usleep(20);
                ::unlink(real);
                ::rename(aside, real);
                ::usleep(20);
            }
        });
        const int removed = cWrittenRecord(plan).replace({});
        done = true;
        swapper.join();
        QCOMPARE(QDir(other).entryList(QDir::Files).size(), pages);
        QCOMPARE(QDir(rome).entryList(QDir::Files).size(), pages - removed);
    }

    // With "RELLINKS" a link leads from the output folder to the picture's own folder.
    void linksFromTheOutputFolder_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("link");
        QTest::newRow("same folder: the bare name") << "/p/"
                                                    << "/p/"
                                                    << "a.jpg"
                                                    << "a.jpg";
        QTest::newRow("a sibling folder") << "/site/"
                                          << "/pics/"
                                          << "a.jpg"
                                          << "../pics/a.jpg";
        QTest::newRow("a folder below") << "/p/"
                                        << "/p/sub/"
                                        << "a b.jpg"
                                        << "sub/a b.jpg";
        QTest::newRow("the folder above") << "/p/sub/"
                                          << "/p/"
                                          << "a.jpg"
                                          << "../a.jpg";
        QTest::newRow("folder names made safe as names are") << "/site/"
                                                             << "/my pics#1/"
                                                             << "a&b.jpg"
                                                             << "../my%20pics%231/a&amp;b.jpg";
        QTest::newRow("a colon in the first part") << "/p/"
                                                   << "/p/c:d/"
                                                   << "x.jpg"
                                                   << "./c:d/x.jpg";
        QTest::newRow("a colon in the name of the same folder") << "/p/"
                                                                << "/p/"
                                                                << "a:b.jpg"
                                                                << "./a:b.jpg";
    }
    void linksFromTheOutputFolder()
    {
        QFETCH(QString, out);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, link);
        QCOMPARE(cPictureLinks(true, out, QString()).picture({folder, name, "JPG"}), link);
    }

    // The folders a window hands over change nothing while "RELLINKS" is absent or 0.
    void foldersChangeNothingWithoutRelLinks_data()
    {
        QTest::addColumn<QString>("relLinks");
        QTest::newRow("absent") << QString();
        QTest::newRow("zero") << "0";
    }
    void foldersChangeNothingWithoutRelLinks()
    {
        QFETCH(QString, relLinks);
        const ReplaceMap changes =
            relLinks.isNull() ? ReplaceMap{} : ReplaceMap{{"RELLINKS", relLinks}};
        const QStringList names{"a.jpg", "b c.gif"};
        QVERIFY(cCatalogWriter(store(changes)).write(outPath(), picturesOf(names)).ok);
        const QByteArray plain = cTestFiles::read(m_dir->filePath("page.htm"));
        QVERIFY(cCatalogWriter(store(changes))
                    .write(outPath(), picturesOf(names, {"/elsewhere/", "/other/"}))
                    .ok);
        QCOMPARE(cTestFiles::read(m_dir->filePath("page.htm")), plain);
        QVERIFY(plain.contains("<a href=\"a.jpg\">"));
    }

    // An album's cover is its first picture that could be made a thumbnail, its own or of an
    // album inside: a picture that cannot be read never stands for an album.
    void anUnreadablePictureIsNoCover()
    {
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        const QList<cPicture> pictures = pictureTree(
            in, {{"Late", "x.jpg"}, {"Late/Day", "y.jpg"}, {"Trip", "a.jpg"}, {"Trip", "b.jpg"}});
        for (const char *broken : {"/Late/x.jpg", "/Trip/a.jpg"})
            cTestFiles::write(in + broken, "not a picture");
        const cCatalogWriter::Result result =
            cCatalogWriter(store({{"ALBUMS", "1"}, {"THUMBDIR", "thumbs"}, {"IMGNAME", "1"}}))
                .write(site + QDir::separator(), pictures, nullptr, in + QDir::separator());
        QVERIFY2(result.ok, qPrintable(result.error.description()));
        const QString top = QString::fromUtf8(cTestFiles::read(site + "/page.htm"));
        QCOMPARE(top.count(QRegularExpression("<img src=\"thumbs/y-[^\"]+\"")), 1);
        QCOMPARE(top.count(QRegularExpression("<img src=\"thumbs/b-[^\"]+\"")), 1);
        QVERIFY2(!top.contains("in/"), qPrintable(top));
    }

    // The folders of albums, thumbnails and web copies are made by the program in the output
    // folder: one whose place a link or a file holds is not written through, and no page is
    // written.
    void aFolderOfOursTakenWritesNothing_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<bool>("link");
        QTest::newRow("an album's, a link to a folder elsewhere") << "Rome" << true;
        QTest::newRow("an album's, a file") << "Rome" << false;
        QTest::newRow("the thumbnails', a link") << "thumbs" << true;
        QTest::newRow("a part of the web copies' path, a link") << "pics" << true;
    }
    void aFolderOfOursTakenWritesNothing()
    {
        QFETCH(QString, place);
        QFETCH(bool, link);
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        const QString elsewhere = m_dir->filePath("elsewhere");
        for (const QString &folder : {in + "/Rome", site, elsewhere})
            QVERIFY(QDir().mkpath(folder));
        if (link)
            QVERIFY(QFile::link(elsewhere, site + "/" + place));
        else
            cTestFiles::write(site + "/" + place, "mine");
        for (const QString &name : {in + "/a.jpg", in + "/Rome/r.jpg"})
            cTestFiles::write(name, cameraJpeg(300, 200, 1));
        const cCatalogWriter::Result result =
            cCatalogWriter(store({{"ALBUMS", "1"},
                                  {"THUMBDIR", "thumbs"},
                                  {"COPYSIZE", "100"},
                                  {"COPYDIR", "pics/web"}}))
                .write(site + QDir::separator(),
                       picturesOf({"a.jpg", "r.jpg"}, {in + "/", in + "/Rome/"}), nullptr,
                       in + "/");
        QVERIFY(!result.ok);
        QVERIFY2(result.error.description().contains("taken by a file or a link"),
                 qPrintable(result.error.description()));
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(!QFile::exists(site + "/page.htm"));
        if (!link)
            QCOMPARE(cTestFiles::read(site + "/" + place), QByteArray("mine"));
    }
};

QTEST_MAIN(tst_cCatalogWriter)
#include "tst_cCatalogWriter.moc"
