#include "cCatalogTestCase.h"
#include "cTestFiles.h"
#include "catalog/cCatalogWriter.h"
#include "common/cOption.h"
#include "pictures/cPictureFacts.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// The pages as a browser, the Nu Html Checker and axe-core see them: run on their own, so that a
// change to the pages runs them and a change elsewhere need not.
class tst_pageChecks : public cCatalogTestCase
{
    Q_OBJECT
private slots:
    void init() { makeFolder(); }

    // A browser is the judge of links: every picture must load, every link must stay a file
    // beside the page, and no name may bring script into it.
    void everyPictureLoadsInABrowser_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<QString>("pageFolder");
        QTest::addColumn<QString>("thumbDir");
        QTest::addColumn<bool>("western");
        QTest::newRow("page beside the pictures") << false << false << ""
                                                  << "thumbs" << false;
        QTest::newRow("page in another folder, links from there") << true << false << ""
                                                                  << "thumbs" << false;
        QTest::newRow("the shipped settings, in another folder") << true << true << ""
                                                                 << "thumbs" << false;
        QTest::newRow("a page in a folder of its own, a thumbnail folder written with \\")
            << true << true << "pages"
            << "gallery\\small" << false;
        // The browser's guess from such names alone is Windows-1252.
        QTest::newRow("Western European names only") << false << false << ""
                                                     << "thumbs" << true;
        QTest::newRow("Western European names only, with thumbnails") << false << true << ""
                                                                      << "thumbs" << true;
    }
    void everyPictureLoadsInABrowser()
    {
        QFETCH(bool, elsewhere);
        QFETCH(bool, shipped);
        QFETCH(QString, pageFolder);
        QFETCH(QString, thumbDir);
        QFETCH(bool, western);
        const QString browser = QStandardPaths::findExecutable("chromium");
        if (browser.isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the page is not checked in "
                  "a browser");
        const QStringList names =
            western
                ? QStringList{"plain.jpg", "Citt\u00e0 vecchia.jpg"}
                : QStringList{"plain.jpg",        "two words.jpg",     "citt\u00e0 al mare.jpg",
                              "\u65e5\u672c.gif", "30&deg.jpg",        "amp&copy.jpg",
                              "amp&amp;x.jpg",    "cats&not dogs.gif", "javascript:alert(1).jpg",
                              "a:b.jpg",          "100%.jpg",          "%41.jpg",
                              "hash#tag.jpg",     "what?.jpg",         "quote\"d.jpg",
                              "it's.jpg",         "tab\there.jpg",     "cr\rhere.jpg",
                              "lf\nhere.jpg",     "back\\slash.jpg",   " leading.jpg",
                              "trailing.jpg ",    "<angle>.jpg",       "semi;colon.gif",
                              "plus+sign.jpg",    "at@sign.jpg",       "brace{}.jpg",
                              "bar|pipe.gif",     "equals=.jpg",       "\" onerror=\"alert(1).gif"};
        // Elsewhere, the folder names need making safe as well.
        const QString pictures = elsewhere ? m_dir->filePath("my pics #1&2") : m_dir->path();
        const QString site = elsewhere ? m_dir->filePath("site") : m_dir->path();
        QVERIFY(QDir().mkpath(pictures) && QDir().mkpath(site));
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::green);
        for (const QString &name : names) {
            if (name.endsWith(".gif"))
                cTestFiles::write(pictures + "/" + name, cTestFiles::tinyGif());
            else
                QVERIFY(picture.save(pictures + "/" + name, "JPG"));
        }
        const QStringList folders(names.size(), pictures + QDir::separator());
        cOption options = store({{"IMGNAME", "1"}, {"RELLINKS", elsewhere ? "1" : "0"}});
        if (shipped) {
            QFile::copy(QDX_SHIPPED_INI, m_dir->filePath("shipped.ini"));
            options.iniread(m_dir->filePath("shipped.ini"));
            options.chgStrVal("THUMBDIR", thumbDir);
            // The pictures themselves are linked, whose names are judged here.
            options.chgStrVal("COPYSIZE", "0");
            options.chgStrVal("PICTUREPAGES", "0");
            // Thumbnails in the grid's box, which the check of their size below knows.
            options.chgStrVal("ROWHEIGHT", "0");
        }
        const QString judged = (pageFolder.isEmpty() ? QString() : pageFolder + "\\") +
                               (shipped ? "index.htm" : "page.htm");
        options.chgStrVal("DOCFILE", judged);
        QVERIFY(pageFolder.isEmpty() || QDir(site).mkpath(pageFolder));
        QVERIFY(
            cCatalogWriter(options).write(site + QDir::separator(), picturesOf(names, folders)).ok);
        // Opened by itself, not in the judge's frame, the browser guesses the encoding of a page
        // that does not say it: each link must still read as its name.
        const QString own = browserDom(site + "/" + QString(judged).replace('\\', '/'));
        for (const QString &name : names) {
            if (western)
                QVERIFY2(own.contains("href=\"" + name), qPrintable(own));
        }
        const QJsonObject result = browserJudgement(
            site, QString(judged).replace('\\', '/'),
            R"(var result = {loaded: [], failed: [], foreign: [], large: 0, script: 0};
  for (var a of doc.links) {
    var img = a.querySelector('img');
    var name = decodeURIComponent(new URL(a.href).pathname.split('/').pop());
    (img.complete && img.naturalWidth > 0 ? result.loaded : result.failed).push(name);
    if (img.naturalWidth > 120 || img.naturalHeight > 120) ++result.large;
    if (a.protocol !== 'file:' || img.src.substring(0, 5) !== 'file:') result.foreign.push(a.href);
  }
  result.script = doc.scripts.length;
  for (var e of doc.querySelectorAll('*'))
    for (var at of e.attributes) if (at.name.startsWith('on')) ++result.script;)");
        QVERIFY(!result.isEmpty());
        QCOMPARE(result["failed"].toArray(), QJsonArray());
        QStringList loaded;
        for (const QJsonValue &name : result["loaded"].toArray())
            loaded.append(name.toString());
        QCOMPARE(loaded, names);
        QCOMPARE(result["foreign"].toArray(), QJsonArray());
        // Thumbnails fit the box; the originals shown without them do not.
        QCOMPARE(result["large"].toInt() == 0, shipped);
        QCOMPARE(result["script"].toInt(), 0);
        // The shipped settings make thumbnails, and each at twice its size for dense screens: the
        // pictures shown are those, not the originals.
        QCOMPARE(QDir(site + "/" + thumbDir.replace('\\', '/')).entryList(QDir::Files).size(),
                 shipped ? 2 * names.size() : 0);
    }

    // "ALBUMS": each folder its own catalog, in a folder of the output folder named after it,
    // whose first page opens with a cell for each album inside (its first picture as the cover,
    // its name and count) and a link up. A browser opens every album: each picture and cover
    // shows, and each link leads to a file that is there.
    void albumsMakeACatalogAFolder()
    {
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        // In the order of a gathering: each folder's pictures, then its subfolders'.
        const QList<std::pair<QString, QString>> tree = {
            {"", "top.jpg"},    {"Empty/Deeper", "deep.jpg"}, {"No\u00ebl & <Lyon> #1", "p.gif"},
            {"Rome", "r1.jpg"}, {"Rome", "r2.jpg"},           {"Rome/Vatican", "v.jpg"}};
        const QList<cPicture> pictures = pictureTree(in, tree);
        cOption options = store({{"ALBUMS", "1"},
                                 {"THUMBDIR", "thumbs"},
                                 {"DOCFILE", "index.htm"},
                                 {"IMGNAME", "1"},
                                 {"PAGESIZE", "0"}});
        const cCatalogWriter::Result result = cCatalogWriter(options).write(
            site + QDir::separator(), pictures, nullptr, in + QDir::separator());
        QVERIFY2(result.ok, qPrintable(result.error.description()));
        QCOMPARE(result.pages, 6);
        QCOMPARE(result.path, site + QDir::separator() + "index.htm");
        const QString top = QString::fromUtf8(cTestFiles::read(site + "/index.htm"));
        const QStringList albums = {"<a href=\"Empty/index.htm\">",
                                    "<br>Empty (1)",
                                    "<a href=\"No\u00ebl%20&amp;%20%3CLyon%3E%20%231/index.htm\">",
                                    "<br>No\u00ebl &amp; &lt;Lyon&gt; #1 (1)",
                                    "<a href=\"Rome/index.htm\">",
                                    "<br>Rome (3)",
                                    "<br>top.jpg"};
        qsizetype at = 0;
        for (const QString &part : albums) {
            QVERIFY2(top.indexOf(part, at) > at, qPrintable(part + "\n" + top));
            at = top.indexOf(part, at);
        }
        QVERIFY(!top.contains("Up</a>"));
        const QString rome = QString::fromUtf8(cTestFiles::read(site + "/Rome/index.htm"));
        QVERIFY(rome.contains("<p><a href=\"../index.htm\">&lt;&lt; Up</a></p>\r\n<table"));
        QVERIFY(rome.contains("<a href=\"Vatican/index.htm\">"));
        QCOMPARE(rome.count("<td "), 3);
        QCOMPARE(QString::fromUtf8(cTestFiles::read(site + "/Empty/index.htm")).count("<td "), 1);

        const QString browser = QStandardPaths::findExecutable("chromium");
        if (browser.isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the albums are not checked "
                  "in a browser");
        const QByteArray judge = R"(var result = {shown: 0, failed: [], links: []};
  for (var img of doc.images)
    if (img.complete && img.naturalWidth > 0) ++result.shown; else result.failed.push(img.src);
  for (var a of doc.links) result.links.push(a.href);)";
        for (const QString page :
             {"index.htm", "Empty/index.htm", "Empty/Deeper/index.htm",
              "No\u00ebl & <Lyon> #1/index.htm", "Rome/index.htm", "Rome/Vatican/index.htm"}) {
            const QJsonObject seen = browserJudgement(site, page, judge);
            QVERIFY2(!seen.isEmpty(), qPrintable(page));
            QCOMPARE(seen["failed"].toArray(), QJsonArray());
            const QJsonArray links = seen["links"].toArray();
            QCOMPARE(seen["shown"].toInt(), links.size() - (page.count('/') > 0 ? 1 : 0));
            for (const QJsonValue &link : links) {
                const QUrl url(link.toString());
                QVERIFY2(url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile(),
                         qPrintable(page + ": " + link.toString()));
            }
        }
    }

    // "HEADINGS": each album page is titled and headed with its album (the top one with
    // "DOCTITLE"), with a trail of the albums above it as links and its count and dates; each
    // cover says the same of its album; a picture page shows the day it was taken.
    void pagesSayWhereTheyAre()
    {
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        QList<cPicture> pictures = pictureTree(in, {{"", "top.jpg"},
                                                    {"2021/June", "c.jpg"},
                                                    {"2021/July", "a.jpg"},
                                                    {"2021/July", "b.jpg"}});
        const QStringList taken = {"2021:07:01 09:00:00", "2021:06:28 10:00:00",
                                   "2021:07:03 11:00:00", "2021:07:07 12:00:00"};
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const QString path = pictures.at(i).path();
            cTestFiles::write(
                path, cTestFiles::withMetadata(cTestFiles::read(path),
                                               {{"Exif.Photo.DateTimeOriginal", taken.at(i)}}));
        }
        QVERIFY(cPictureFacts().read(pictures));
        cOption options = store({{"ALBUMS", "1"},
                                 {"HEADINGS", "1"},
                                 {"PHONES", "1"},
                                 {"PICTUREPAGES", "1"},
                                 {"THUMBDIR", "thumbs"},
                                 {"DOCFILE", "index.htm"},
                                 {"DOCTITLE", "Our year"},
                                 {"IMGNAME", "1"}});
        const cCatalogWriter::Result result = cCatalogWriter(options).write(
            site + QDir::separator(), pictures, nullptr, in + QDir::separator());
        QVERIFY2(result.ok, qPrintable(result.error.description()));
        const QString top = QString::fromUtf8(cTestFiles::read(site + "/index.htm"));
        for (const QString &part :
             {QString("<title>Our year</title>"), QString("<h1>Our year</h1>"),
              QString("<p class=\"qdx-summary\">4 pictures, 28 June - 7 July 2021</p>"),
              QString("<br>2021: 3 pictures, 28 June - 7 July 2021"),
              QString("<meta property=\"og:image\" content=\"thumbs/top-")})
            QVERIFY2(top.contains(part), qPrintable(part + "\n" + top));
        QVERIFY(!top.contains("qdx-trail"));
        const QString july = QString::fromUtf8(cTestFiles::read(site + "/2021/July/index.htm"));
        for (const QString &part :
             {QString("<title>July</title>"),
              QString("<nav class=\"qdx-trail\" aria-label=\"Albums\"><a "
                      "href=\"../../index.htm\">Our year</a> &rsaquo; <a "
                      "href=\"../index.htm\">2021</a> &rsaquo; <span "
                      "aria-current=\"page\">July</span></nav>"),
              QString("<h1>July</h1>"),
              QString("<p class=\"qdx-summary\">2 pictures, 3-7 July 2021</p>")})
            QVERIFY2(july.contains(part), qPrintable(part + "\n" + july));
        QVERIFY(!july.contains("Up</a>"));
        const QStringList pages = QDir(site + "/2021/July").entryList({"a-*.htm"}, QDir::Files);
        QCOMPARE(pages.size(), 1);
        const QString picture =
            QString::fromUtf8(cTestFiles::read(site + "/2021/July/" + pages.first()));
        QVERIFY2(picture.contains("<figcaption>a.jpg <time datetime=\"2021-07-03\">3 July "
                                  "2021</time></figcaption>"),
                 qPrintable(picture));
        QVERIFY(picture.contains("<meta property=\"og:title\" content=\"a.jpg\">"));

        if (QStandardPaths::findExecutable("chromium").isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the trail is not followed "
                  "in a browser");
        // The trail's links lead, in a browser, to the pages above, top first.
        const QJsonObject seen =
            browserJudgement(site, "2021/July/index.htm", R"(var result = {links: []};
  for (var a of doc.querySelectorAll('nav.qdx-trail a')) result.links.push(a.href);)");
        QStringList trail;
        for (const QJsonValue &link : seen["links"].toArray())
            trail.append(QUrl(link.toString()).toLocalFile());
        QCOMPARE(trail, (QStringList{site + "/index.htm", site + "/2021/index.htm"}));
    }

    // "SCHEMES": a reader who prefers dark pages gets them, catalog and picture pages, with text
    // that can be read on them; the settings' colours hold in the light scheme.
    void pagesFollowTheReadersScheme()
    {
        if (QStandardPaths::findExecutable("chromium").isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the schemes are not seen");
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        const QList<cPicture> pictures = pictureTree(in, {{"", "a.jpg"}, {"", "b.jpg"}});
        cOption options = store({});
        QFile::copy(QDX_SHIPPED_INI, m_dir->filePath("shipped.ini"));
        options.iniread(m_dir->filePath("shipped.ini"));
        options.chgStrVal("COLORBK", "#FFFFE0");
        QVERIFY(cCatalogWriter(options)
                    .write(site + QDir::separator(), pictures, nullptr, in + QDir::separator())
                    .ok);
        const QStringList picturePages = QDir(site).entryList({"a-*.htm"}, QDir::Files);
        QCOMPARE(picturePages.size(), 1);
        const QByteArray colours = R"(<script>window.addEventListener('load', function () {
  var style = getComputedStyle(document.body);
  show([style.backgroundColor, style.color]); });</script>)";
        // The picture pages are a viewer, black in either scheme.
        for (const auto &[page, background] : {std::pair{QString("index.htm"), "rgb(18, 18, 18)"},
                                               std::pair{picturePages.first(), "rgb(0, 0, 0)"}})
            QCOMPARE(probe(site + "/" + page, colours, QSize(1280, 900), true),
                     QJsonValue(QJsonArray{background, "rgb(230, 230, 230)"}));
        QCOMPARE(probe(site + "/index.htm", colours).toArray().first(),
                 QJsonValue("rgb(255, 255, 224)"));
        const QString axe = QString(QDX_WEB_CHECKERS) + "/axe-core/axe.min.js";
        if (!QFile::exists(axe))
            QSKIP(
                "axe-core is missing (./test.sh installs it): contrast in the dark is not checked");
        const QJsonValue violations =
            probe(site + "/index.htm",
                  "<script src=\"" + QUrl::fromLocalFile(axe).toEncoded() +
                      "\"></script><script>axe.run(document, {runOnly: ['color-contrast']}).then("
                      "function (r) { show(r.violations.map(function (v) { return v.id; })); });"
                      "</script>",
                  QSize(1280, 900), true);
        QCOMPARE(violations, QJsonValue(QJsonArray()));
    }

    // "VIEWER": the arrow keys, a swipe and Escape walk the pictures and lead back to the album;
    // the next page and picture are asked for ahead; on a phone the picture fills the width and
    // nothing scrolls sideways.
    void theViewerWalksThePictures()
    {
        if (QStandardPaths::findExecutable("chromium").isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the viewer is not walked");
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        const QList<cPicture> pictures =
            pictureTree(in, {{"", "a.jpg"}, {"", "b.jpg"}, {"", "c.jpg"}});
        cOption options = store({});
        QFile::copy(QDX_SHIPPED_INI, m_dir->filePath("shipped.ini"));
        options.iniread(m_dir->filePath("shipped.ini"));
        QVERIFY(cCatalogWriter(options)
                    .write(site + QDir::separator(), pictures, nullptr, in + QDir::separator())
                    .ok);
        const auto pageOf = [&](const char *stem) {
            const QStringList found = QDir(site).entryList({QString(stem) + "-*.htm"});
            return found.size() == 1 ? found.first() : QString();
        };
        const QString middle = pageOf("b");
        QVERIFY(cTestFiles::read(site + "/" + middle)
                    .contains("<link rel=\"prefetch\" href=\"" + pageOf("c").toUtf8() + "\">"));
        // What the browser shows once the page, beside its own, did what act does.
        const auto after = [&](const QByteArray &act) {
            const QString copy = site + "/walk.htm";
            cTestFiles::write(copy, cTestFiles::read(site + "/" + middle)
                                        .replace("</body>", "<script>window.addEventListener("
                                                            "'load', function () {" +
                                                                act + "});</script></body>"));
            return browserDom(copy, QSize(390, 844));
        };
        const QByteArray swipe = R"(function touch(x) {
  return new Touch({identifier: 1, target: document.body, clientX: x, clientY: 300}); }
  document.dispatchEvent(new TouchEvent('touchstart', {changedTouches: [touch(FROM)]}));
  document.dispatchEvent(new TouchEvent('touchend', {changedTouches: [touch(TO)]}));)";
        const auto key = [](const char *name) {
            return "document.dispatchEvent(new KeyboardEvent('keydown', {key: '" +
                   QByteArray(name) + "'}));";
        };
        QVERIFY(after(key("ArrowRight")).contains("<figcaption>c.jpg"));
        QVERIFY(after(key("ArrowLeft")).contains("<figcaption>a.jpg"));
        QVERIFY(after(QByteArray(swipe).replace("FROM", "300").replace("TO", "80"))
                    .contains("<figcaption>c.jpg"));
        QVERIFY(after(QByteArray(swipe).replace("FROM", "80").replace("TO", "300"))
                    .contains("<figcaption>a.jpg"));
        QVERIFY(after(key("Escape")).contains("<table class=\"qdx"));
        // A short swipe is no swipe.
        QVERIFY(after(QByteArray(swipe).replace("FROM", "100").replace("TO", "80"))
                    .contains("<figcaption>b.jpg"));
        const QJsonObject phone =
            probe(site + "/" + middle, R"(<script>window.addEventListener('load', function () {
  show({picture: document.querySelector('main img').getBoundingClientRect().width,
        window: window.innerWidth, wide: document.documentElement.scrollWidth}); });</script>)",
                  QSize(390, 844))
                .toObject();
        QCOMPARE(phone["picture"].toDouble(), phone["window"].toDouble());
        QVERIFY(phone["wide"].toDouble() <= phone["window"].toDouble());
    }

    // "ROWHEIGHT": the cells in rows that fill the page's width, every picture keeping its
    // proportions and the pictures of a row as high as each other; the last row not stretched;
    // no row wider than the window, on a wide screen or a phone's.
    void rowsFillTheScreen()
    {
        if (QStandardPaths::findExecutable("chromium").isEmpty())
            QSKIP("chromium is not installed (./test.sh installs it): the rows are not measured");
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(site));
        const QList<QSize> sizes = {{300, 200}, {200, 300}, {600, 200}, {250, 250}};
        QList<cPicture> pictures;
        for (int i = 0; i < 14; ++i) {
            QImage picture(sizes.at(i % sizes.size()), QImage::Format_RGB32);
            picture.fill(QColor::fromHsv(i * 25, 200, 200));
            const QString name = QString("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
            QVERIFY(picture.save(in + "/" + name));
            pictures.append({in + "/", name, "JPG"});
        }
        cOption options = store({});
        QFile::copy(QDX_SHIPPED_INI, m_dir->filePath("shipped.ini"));
        options.iniread(m_dir->filePath("shipped.ini"));
        options.chgStrVal("ROWHEIGHT", "150");
        QVERIFY(cCatalogWriter(options)
                    .write(site + QDir::separator(), pictures, nullptr, in + QDir::separator())
                    .ok);
        const QByteArray rows = R"(<script>window.addEventListener('load', function () {
  var body = document.querySelector('table.qdx-rows > tbody').getBoundingClientRect();
  var rows = {};
  for (var img of document.querySelectorAll('table.qdx-rows img')) {
    var box = img.getBoundingClientRect(), top = Math.round(box.top);
    (rows[top] = rows[top] || []).push({left: box.left, right: box.right, height: box.height,
      ratio: (box.width / box.height) / (img.naturalWidth / img.naturalHeight)});
  }
  show({width: window.innerWidth, body: [body.left, body.right],
        rows: Object.keys(rows).sort(function (a, b) { return a - b; }).map(function (k) {
          return rows[k]; })}); });</script>)";
        for (const QSize &window : {QSize(1280, 900), QSize(390, 844)}) {
            const QJsonObject seen = probe(site + "/index.htm", rows, window).toObject();
            const QJsonArray lines = seen["rows"].toArray();
            QVERIFY2(lines.size() >= 2, qPrintable(QString::number(lines.size())));
            const double left = seen["body"].toArray().at(0).toDouble();
            const double right = seen["body"].toArray().at(1).toDouble();
            QVERIFY(right <= seen["width"].toDouble());
            for (qsizetype r = 0; r < lines.size(); ++r) {
                const QJsonArray cells = lines.at(r).toArray();
                const bool last = r == lines.size() - 1;
                for (const QJsonValue &value : cells) {
                    const QJsonObject cell = value.toObject();
                    QVERIFY(cell["right"].toDouble() <= right + 1);
                    QVERIFY2(qAbs(cell["ratio"].toDouble() - 1) < 0.03,
                             qPrintable(QString::number(cell["ratio"].toDouble())));
                    QVERIFY(qAbs(cell["height"].toDouble() -
                                 cells.first().toObject()["height"].toDouble()) < 2);
                }
                if (!last) {
                    QVERIFY(qAbs(cells.first().toObject()["left"].toDouble() - left) < 2);
                    QVERIFY2(qAbs(cells.last().toObject()["right"].toDouble() - right) < 2,
                             qPrintable(QString::number(r)));
                } else {
                    QVERIFY2(
                        cells.first().toObject()["height"].toDouble() <= 150 + 1,
                        qPrintable(QString::number(cells.first().toObject()["height"].toDouble())));
                }
            }
        }
    }

    // The shipped settings: every page written, of the catalog and of each picture, passes the
    // Nu Html Checker and axe-core's WCAG rules. "PHONES": every picture has its text, loads when
    // scrolled to and offers its thumbnail at twice the size; the cells flow into as many columns
    // as the window holds, none wider than a phone's screen; a style sheet of the user's by the
    // same name stays. "PICTUREPAGES": the arrow keys lead from picture to picture, each page
    // keeps its name when a picture is added.
    void pagesForPhonesPassTheCheckers()
    {
        const QString in = m_dir->filePath("in");
        const QString site = m_dir->filePath("site");
        QVERIFY(QDir().mkpath(site));
        QList<std::pair<QString, QString>> tree = {{"", "Caf\u00e9 & \"bar\" <1>.jpg"},
                                                   {"", "c.gif"}};
        for (const char *name : {"b", "d", "e", "f", "g", "h", "i", "line\nbreak"})
            tree.append({"", QString(name) + ".jpg"});
        tree.append({{"Rome", "r1.jpg"}, {"Rome", "r2.jpg"}, {"No\u00ebl & <famille>", "n.jpg"}});
        QList<cPicture> pictures = pictureTree(in, tree);
        cOption options = store({});
        QFile::copy(QDX_SHIPPED_INI, m_dir->filePath("shipped.ini"));
        options.iniread(m_dir->filePath("shipped.ini"));
        const auto write = [&] {
            const cCatalogWriter::Result result = cCatalogWriter(options).write(
                site + QDir::separator(), pictures, nullptr, in + QDir::separator());
            QVERIFY2(result.ok, qPrintable(result.error.description()));
        };
        cTestFiles::write(site + "/qdx.css", "/* mine */");
        write();
        QCOMPARE(cTestFiles::read(site + "/qdx.css"), QByteArray("/* mine */"));
        QVERIFY(QFile::remove(site + "/qdx.css"));
        write();
        QVERIFY(cTestFiles::read(site + "/qdx.css").contains("flex-wrap"));
        QStringList pages;
        for (QDirIterator it(site, {"*.htm"}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            pages.append(it.next());
        QVERIFY(pages.size() >= 2);
        const QString top = QString::fromUtf8(cTestFiles::read(site + "/index.htm"));
        QCOMPARE(top.count("<img "), 12);
        QCOMPARE(top.count(" loading=\"lazy\" decoding=\"async\""), 12);
        // Rows 200 pixels high show the 300 x 200 pictures at their own size: no double is larger.
        QCOMPARE(top.count(" srcset="), 0);
        QVERIFY(top.contains(" alt=\"Caf\u00e9 &amp; &quot;bar&quot; &lt;1&gt;.jpg\""));
        // A line break of a name is no part of the page's text.
        QVERIFY(top.contains(" alt=\"line break.jpg\""));
        QVERIFY(!top.contains(
            QRegularExpression("[\\x00-\\x09\\x0b\\x0c\\x0e-\\x1f]|\\r(?!\\n)|(?<!\\r)\\n")));

        const QString checkers = QDX_WEB_CHECKERS;
        const QString vnu = checkers + "/vnu-jar/build/dist/vnu.jar";
        const QString java = QStandardPaths::findExecutable("java");
        if (java.isEmpty() || !QFile::exists(vnu))
            QSKIP(
                "java or vnu-jar is missing (./test.sh installs them): the pages are not checked");
        QProcess checker;
        checker.start(java, QStringList{"-jar", vnu, "--Werror", "--format", "gnu"} + pages);
        QVERIFY(checker.waitForFinished(120000));
        QCOMPARE(
            QString::fromUtf8(checker.readAllStandardOutput() + checker.readAllStandardError()),
            QString());
        QCOMPARE(checker.exitCode(), 0);

        const QString axe = checkers + "/axe-core/axe.min.js";
        if (QStandardPaths::findExecutable("chromium").isEmpty() || !QFile::exists(axe))
            QSKIP("chromium or axe-core is missing (./test.sh installs them): the pages are not "
                  "checked for accessibility");
        for (const QString &page : pages) {
            const QJsonValue violations = probe(
                page,
                "<script src=\"" + QUrl::fromLocalFile(axe).toEncoded() +
                    "\"></script>"
                    "<script>axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', "
                    "'wcag2aa', "
                    "'wcag21a', 'wcag21aa']}}).then(function (r) { show(r.violations.map(function "
                    "(v) { return v.id + ': ' + v.nodes.map(function (n) { return n.html; }); })); "
                    "});</script>");
            QCOMPARE(violations, QJsonValue(QJsonArray()));
        }
        // The grid of "TABCOLUMN", where rows are not filled, and thumbnails in a box of 120.
        options.chgStrVal("ROWHEIGHT", "0");
        write();
        QCOMPARE(QString::fromUtf8(cTestFiles::read(site + "/index.htm"))
                     .count(QRegularExpression(" srcset=\"thumbs/[^\" ]+-240x240.jpg 2x\"")),
                 11);
        // The cells of a row, in the window, and those that reach beyond its right edge.
        const QByteArray layout = R"(<script>window.addEventListener('load', function () {
  var cells = Array.from(document.querySelectorAll('td')).filter(function (td) {
    return td.firstElementChild; });
  var top = cells[0].getBoundingClientRect().top;
  show({row: cells.filter(function (td) { return td.getBoundingClientRect().top === top; }).length,
        beyond: cells.filter(function (td) {
          return td.getBoundingClientRect().right > window.innerWidth; }).length});
});</script>)";
        const QJsonObject phone = probe(site + "/index.htm", layout, QSize(390, 844)).toObject();
        QCOMPARE(phone["beyond"].toInt(), 0);
        const QJsonObject wide = probe(site + "/index.htm", layout, QSize(1280, 900)).toObject();
        // Thumbnails of 120 pixels: as many as fit to a phone's row, "TABCOLUMN" to a wide one
        // (which once took as many as the window held, whatever the key said).
        QCOMPARE(phone["row"].toInt(), 3);
        QCOMPARE(wide["row"].toInt(), options.getIntVal("TABCOLUMN"));

        // "PICTUREPAGES": the arrow keys walk Rome's pictures; the first has no previous one.
        const QStringList romePages = QDir(site + "/Rome").entryList({"r*.htm"}, QDir::Files);
        QCOMPARE(romePages.size(), 2);
        cTestFiles::write(site + "/Rome/walk.htm", "<html><body><iframe id=\"page\" src=\"" +
                                                       romePages.first().toUtf8() +
                                                       "\"></iframe></body></html>");
        const QJsonArray walked = probe(site + "/Rome/walk.htm", R"(<script>
var frame = document.getElementById('page'), seen = [];
var keys = ['ArrowRight', 'ArrowRight', 'ArrowLeft', 'ArrowLeft'];
function look() {
  var doc = frame.contentDocument, img = doc.querySelector('main img');
  seen.push(doc.location.pathname.split('/').pop() + (img.naturalWidth > 0 ? ' shown' : ' not shown')
            + ', back to ' + doc.getElementById('back').getAttribute('href'));
  var key = keys.shift();
  if (!key) return show(seen);
  doc.dispatchEvent(new KeyboardEvent('keydown', {key: key}));
  // A key that leads nowhere loads no page.
  setTimeout(function () { if (frame.contentDocument === doc) look(); }, 1000);
}
frame.addEventListener('load', function () { setTimeout(look, 100); });
</script>)")
                                      .toArray();
        const QString first = romePages.first() + " shown, back to index.htm";
        const QString second = romePages.last() + " shown, back to index.htm";
        QCOMPARE(walked, QJsonArray({first, second, second, first, first}));

        // The same pictures keep their pages' names when one is added.
        cTestFiles::write(in + "/a new one.jpg", cameraJpeg(300, 200, 1));
        pictures.prepend({QDir::toNativeSeparators(in + "/"), "a new one.jpg", "JPG"});
        const QStringList before = QDir(site).entryList({"*-*.htm"}, QDir::Files);
        write();
        const QStringList after = QDir(site).entryList({"*-*.htm"}, QDir::Files);
        QCOMPARE(after.size(), before.size() + 1);
        for (const QString &name : before)
            QVERIFY2(after.contains(name), qPrintable(name));
    }
};

QTEST_MAIN(tst_pageChecks)
#include "tst_pageChecks.moc"
