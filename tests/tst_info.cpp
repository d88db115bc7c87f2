#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "cUserInput.h"
#include "common/cTextFile.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "info/cClickLabel.h"
#include "info/cHelpSource.h"
#include "info/frmAbout.h"
#include "info/frmAuthor.h"
#include "info/frmHelp.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class tst_info : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir.reset(new QTemporaryDir); }
    void cleanup() { QApplication::setPalette(QPalette()); }

    void topicLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("level");
        QTest::newRow("title only") << "Styling"
                                    << "Styling"
                                    << "" << 0;
        QTest::newRow("one tab and a web address") << "\tTables|http://a.example/t"
                                                   << "Tables"
                                                   << "http://a.example/t" << 1;
        QTest::newRow("starts with the bar") << "|http://a.example"
                                             << "http://a.example"
                                             << "" << 0;
        QTest::newRow("space before the address") << "Site| http://a.example"
                                                  << "Site"
                                                  << " http://a.example" << 0;
        QTest::newRow("two bars in a row") << "Site||http://a.example"
                                           << "Site"
                                           << "http://a.example" << 0;
        QTest::newRow("tabs inside become spaces") << "\t\tA\ttitle \t|x"
                                                   << "A title"
                                                   << "x" << 2;
        QTest::newRow("only spaces") << "   "
                                     << ""
                                     << "" << 0;
        QTest::newRow("five tabs") << "\t\t\t\t\tDeep"
                                   << "Deep"
                                   << "" << 5;
    }
    // Help sources made on Windows are in code page 1252; others in UTF-8.
    void sourceEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::newRow("code page 1252")
            << QByteArray("Novit\xe0 \x80|http://a.example\r\n") << QString("Novit\u00e0 \u20ac");
        QTest::newRow("UTF-8") << QByteArray("Novit\xc3\xa0|http://a.example\r\n")
                               << QString("Novit\u00e0");
        QTest::newRow("UTF-8 with a mark")
            << QByteArray("\xEF\xBB\xBFNovit\xc3\xa0\r\n") << QString("Novit\u00e0");
    }
    void sourceEncodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        writeSource(bytes);
        frmHelp help;
        help.Form_Load(source());
        QCOMPARE(help.count(), 2);
        QCOMPARE(help.entry(1)->text(), title);
    }

    void topicLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, title);
        QFETCH(QString, target);
        QFETCH(int, level);
        const cHelpSource::Topic topic = cHelpSource::topic(line);
        QCOMPARE(topic.title, title);
        QCOMPARE(topic.target, target);
        QCOMPARE(topic.level, level);
    }

    void entriesByLevel_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<float>("left");
        QTest::addColumn<bool>("italic");
        QTest::newRow("none") << 0 << 120.0f << false;
        QTest::newRow("one") << 1 << 320.0f << false;
        QTest::newRow("two") << 2 << 520.0f << true;
        QTest::newRow("four") << 4 << 920.0f << true;
        QTest::newRow("five") << 5 << 1120.0f << false;
    }
    void entriesByLevel()
    {
        QFETCH(int, tabs);
        QFETCH(float, left);
        QFETCH(bool, italic);
        writeSource(QString(tabs, '\t').toUtf8() + "Topic|http://a.example\r\n");
        frmHelp help;
        help.Form_Load(source());
        QCOMPARE(help.count(), 2);
        QCOMPARE(cTwips::left(help.entry(1)), left);
        QCOMPARE(cTwips::top(help.entry(1)), 350.0f);
        QCOMPARE(help.entry(1)->font().italic(), italic);
        QCOMPARE(help.entry(1)->objectName(), QString("item1"));
        QCOMPARE(help.entry(1)->toolTip(), QString("http://a.example"));
        QVERIFY(help.entry(1)->styleSheet().contains("#0000FF"));
    }

    void listPlacesAndGrows()
    {
        QByteArray lines = "Plain\r\n\r\n\rSecond|x\n";
        for (int i = 3; i <= 40; ++i)
            lines += "Topic " + QByteArray::number(i) + "\r\n";
        writeSource(lines);
        frmHelp help;
        help.Form_Load(source());
        QCOMPARE(help.count(), 41);
        QCOMPARE(help.entry(1)->text(), QString("Plain"));
        QVERIFY(help.entry(1)->styleSheet().contains("#000000"));
        QCOMPARE(help.entry(2)->text(), QString("Second"));
        QCOMPARE(cTwips::top(help.entry(40)), 9320.0f);
        QCOMPARE(help.heightTwips(), 9320.0f + 730.0f);
        QCOMPARE(help.widthTwips(), 5370.0f);
    }

    void wideTitleWidensEntryAndWindow()
    {
        const QString title(200, 'W');
        writeSource("\t" + title.toUtf8() + "\r\n");
        frmHelp help;
        help.Form_Load(source());
        const float text =
            float(cTwips::fromPixels(help.entry(1)->fontMetrics().horizontalAdvance(title)));
        QCOMPARE(cTwips::width(help.entry(1)), text + 100);
        QCOMPARE(help.widthTwips(), 320 + text + 100 + 500);
    }

    void noSourceShowsTheHeadingAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << "missing" << QByteArray();
        QTest::newRow("empty lines only") << "file" << QByteArray("\r\n\r\n\n");
        // Reading a FIFO would wait for ever.
        QTest::newRow("a FIFO") << "fifo" << QByteArray();
        QTest::newRow("a folder") << "folder" << QByteArray();
    }
    void noSourceShowsTheHeadingAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        if (kind == "file")
            writeSource(bytes);
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(source()).constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(source()));
        frmHelp help;
        help.Form_Load(source());
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.entry(0)->text(), QString("Help Topics"));
        QCOMPARE(help.widthTwips(), 5370.0f);
        QCOMPARE(help.heightTwips(), 3450.0f);
    }

    // Web and mail addresses open, and the user guide shipped beside the source (the topics
    // held only web links); no other file does, whatever a source names.
    void clicksOpenWebMailAndTheGuide()
    {
        QDir(m_dir->path()).mkpath("docs");
        cTestFiles::write(m_dir->filePath("docs/guide.htm"), "<html></html>");
        cTestFiles::write(m_dir->filePath("notes.txt"), "mine");
        writeSource("Web|http://a.example/\r\nMail|mailto:x@y.example\r\nCaps|HTTP://a.example\r\n"
                    "Space| http://a.example\r\nOther|notes.txt\r\nNone\r\n"
                    "User guide|docs/guide.htm\r\nMissing|docs/none.htm\r\nUp|../guide.htm\r\n");
        cTestDesktop desktop;
        frmHelp help;
        help.Form_Load(source());
        QVERIFY(cUserInput::showActive(&help));
        for (int i = 0; i < help.count(); ++i)
            QCOMPARE(cUserInput::click(help.entry(i)), help.entry(i));
        QCOMPARE(desktop.urls,
                 (QList<QUrl>{QUrl("http://a.example/"), QUrl("mailto:x@y.example"),
                              QUrl::fromLocalFile(m_dir->filePath("docs/guide.htm"))}));
        desktop.openSucceeds = false;
        help.item_Click(1);
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().contains("http://a.example/"));
    }

    // The shipped help source lists the shipped guide first, and the guide's pictures are there.
    void theShippedGuideComesFirst()
    {
        const QList<QString> lines = cTextFile::readLines(QDX_SOURCE_DIR "/QDX.hlp");
        const cHelpSource::Topic first = cHelpSource::topic(lines.value(0));
        QCOMPARE(first.title, QString("User guide"));
        const QString guide = cHelpSource::localPage(QDX_SOURCE_DIR, first.target);
        QVERIFY(!guide.isEmpty());
        const QString page = QString::fromUtf8(cTestFiles::read(guide));
        const QRegularExpression picture("src=\"([^\"]+)\"");
        int pictures = 0;
        for (auto found = picture.globalMatch(page); found.hasNext(); ++pictures)
            QVERIFY(QFileInfo::exists(QFileInfo(guide).dir().filePath(found.next().captured(1))));
        QVERIFY(pictures >= 3);
    }

    void authorCardLinksAndClosing()
    {
        cTestDesktop desktop;
        frmAuthor author;
        QVERIFY(cUserInput::showActive(&author));
        for (const char *name : {"Label2", "Label5", "Label6"})
            cUserInput::click(author.findChild<QLabel *>(name));
        QCOMPARE(desktop.urls, (QList<QUrl>{QUrl("mailto:info@qdx.example.org"),
                                            QUrl("http://www.qdx.example.org/")}));
        QCOMPARE(author.result(), 0);
        QVERIFY(!author.findChild<QLabel *>("Label6")->text().isEmpty());
        // The motto wraps inside its design width instead of stretching to one line.
        const auto *motto = author.findChild<QLabel *>("Label1");
        QCOMPARE(cTwips::width(motto), 1575.0f);
        QVERIFY(motto->heightForWidth(motto->width()) <= motto->height());
        cUserInput::click(author.findChild<QFrame *>("Frame2"), QRect(0, 0, 4, 4));
        QCOMPARE(author.result(), int(QDialog::Accepted));
        QCOMPARE(author.findChild<QPushButton *>("cmdClose")->text(), QString("O K"));
    }

    // The fixed black, blue and red texts need the light background they were chosen for.
    void lightUnderADarkThemeAndClosedByEscape_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("fixedColours");
        QTest::newRow("help topics") << "help" << true;
        QTest::newRow("author card") << "author" << true;
        QTest::newRow("about") << "about" << false;
    }
    void lightUnderADarkThemeAndClosedByEscape()
    {
        QFETCH(QString, window);
        QFETCH(bool, fixedColours);
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        std::unique_ptr<QDialog> shown;
        if (window == "help")
            shown = std::make_unique<frmHelp>();
        else if (window == "author")
            shown = std::make_unique<frmAuthor>();
        else
            shown = std::make_unique<frmAbout>();
        QVERIFY(cUserInput::showActive(shown.get()));
        if (fixedColours) {
            const QImage shot = shown->grab().toImage();
            QVERIFY(shot.pixelColor(2, shot.height() - 3).lightness() > 200);
        }
        cUserInput::key(Qt::Key_Escape);
        QVERIFY(!shown->isVisible());
        QCOMPARE(shown->result(), int(QDialog::Rejected));
    }

    void aboutShowsNameTitleVersion()
    {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QString("About..."));
        QCOMPARE(about.findChild<QLabel *>("Label1")->text(), QString("QDX"));
        QCOMPARE(about.findChild<QLabel *>("Label2")->text(), QString("Pictorix for the Web"));
        QCOMPARE(about.findChild<QLabel *>("Label3")->text(), QString("1.00"));
        QVERIFY(cUserInput::showActive(&about));
        cUserInput::click(&about, QRect(0, about.height() - 4, 4, 4));
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

private:
    QString source() const { return m_dir->filePath("QDX.hlp"); }
    void writeSource(const QByteArray &bytes) { cTestFiles::write(source(), bytes); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_info)
#include "tst_info.moc"
