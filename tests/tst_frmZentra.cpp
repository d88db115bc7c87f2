#include "app/frmZentra.h"
#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "cUserInput.h"
#include "common/cOption.h"
#include "common/modUtil1.h"

#include <QAccessible>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_frmZentra : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        modUtil1::setLogFolder(m_dir->path());
    }

    void startUpFillsFolders_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");
        const QString sep = QDir::separator();
        QTest::newRow("dot is the program folder") << "."
                                                   << "<dir>" + sep << "<dir>" + sep;
        QTest::newRow("shown as stored, stored with a separator")
            << sep + "pics" << sep + "pics" << sep + "pics" + sep;
        QTest::newRow("empty stays empty, nothing written") << ""
                                                            << ""
                                                            << "";
    }
    void startUpFillsFolders()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        const QString dir = QDir::toNativeSeparators(m_dir->path());
        shown.replace("<dir>", dir);
        written.replace("<dir>", dir);
        const QByteArray ini = "[Folders]\r\nINPATH=In|50|" + stored.toUtf8() +
                               "\r\nOUTPATH=Out|50|" + stored.toUtf8() + "\r\n";
        cTestFiles::write(iniPath(), ini);
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QCOMPARE(window.windowTitle(), QString("QDX - Pictorix for the Web"));
        QCOMPARE(field(window, "txtInPath")->text(), shown);
        QCOMPARE(field(window, "txtOutPath")->text(), shown);
        QCOMPARE(desktop.modalWindows, QStringList{"frmAuthor"});
        QVERIFY(desktop.messages.isEmpty());
        const QByteArray expected = stored.isEmpty()
                                        ? ini
                                        : "[Folders]\r\nINPATH=In|50|" + written.toUtf8() +
                                              "\r\nOUTPATH=Out|50|" + written.toUtf8() + "\r\n";
        QCOMPARE(cTestFiles::read(iniPath()), expected);
    }

    void oneTypedCharacterRewritesTheFileOnce()
    {
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QLineEdit *out = field(window, "txtOutPath");
        out->setFocus();
        out->end(false);
        QTest::keyClick(out, Qt::Key_C);
        QCOMPARE(out->text(), QString("/b/c"));
        QCOMPARE(cTestFiles::read(iniPath()),
                 QByteArray("[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/c/\r\n"));
        QCOMPARE(window.getOutPath(), QString("/b/c/"));
    }

    // A settings file the user made read-only is not written, and the failure is said once,
    // not at every keystroke, until a write succeeds again.
    void readOnlySettingsStayAndSayItOnce()
    {
        const QByteArray ini("[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestFiles::write(iniPath(), ini);
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(iniPath(), readOnly));
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(cUserInput::showActive(&window));
        QLineEdit *out = field(window, "txtOutPath");
        QCOMPARE(cUserInput::click(out), out);
        out->end(false);
        desktop.messages.clear();
        cUserInput::key(Qt::Key_C);
        cUserInput::key(Qt::Key_D);
        QCOMPARE(cTestFiles::read(iniPath()), ini);
        QVERIFY(!(QFile::permissions(iniPath()) &
                  (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY2(desktop.messages.first().contains("read-only"),
                 qPrintable(desktop.messages.first()));
        QVERIFY(QFile::setPermissions(iniPath(), readOnly | QFile::WriteOwner));
        cUserInput::key(Qt::Key_E);
        QCOMPARE(cTestFiles::read(iniPath()), QByteArray(ini).replace("/b/", "/b/cde/"));
        QVERIFY(QFile::setPermissions(iniPath(), readOnly));
        cUserInput::key(Qt::Key_F);
        QCOMPARE(desktop.messages.size(), 2);
        QCOMPARE(cTestFiles::read(iniPath()), QByteArray(ini).replace("/b/", "/b/cde/"));
    }

    void browseAndCancel()
    {
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        desktop.folderAnswers = QStringList{"/photos", ""};
        window.cmdInPath_Click();
        QCOMPARE(field(window, "txtInPath")->text(), QString("/photos/"));
        window.cmdInPath_Click();
        QCOMPARE(field(window, "txtInPath")->text(), QString("/photos/"));
        QCOMPARE(desktop.folderTitles,
                 (QStringList{"Seleziona la cartella:", "Seleziona la cartella:"}));
        QCOMPARE(gOption.getStrVal("INPATH"), QString("/photos/"));
    }

    // The output folder's chooser opens at the output folder, whatever was browsed before; the
    // input folder's at the chooser's own place.
    void theOutputChooserOpensAtTheOutputFolder()
    {
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(cUserInput::showActive(&window));
        desktop.folderAnswers = QStringList{"/photos", "/site"};
        for (const char *button : {"cmdInPath", "cmdOutPath"}) {
            auto *browse = window.findChild<QPushButton *>(button);
            QCOMPARE(cUserInput::click(browse), browse);
        }
        QCOMPARE(desktop.folderStarts, (QStringList{QString(), "/b/"}));
        QCOMPARE(field(window, "txtOutPath")->text(), QString("/site/"));
    }

    // A folder name with a line break once injected a line into the settings file.
    void folderWithALineBreakIsNotStored()
    {
        const QByteArray ini("[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestFiles::write(iniPath(), ini);
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(cUserInput::showActive(&window));
        desktop.folderAnswers = QStringList{"/x\nOUTPATH=Out|50|/evil"};
        cUserInput::click(window.findChild<QWidget *>("cmdInPath"));
        QCOMPARE(field(window, "txtInPath")->text(), QString("/x\nOUTPATH=Out|50|/evil/"));
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().contains("INPATH"));
        QTest::keyClick(field(window, "txtInPath"), Qt::Key_Z);
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(cTestFiles::read(iniPath()), ini);
        // A storable folder again is stored as usual.
        field(window, "txtInPath")->setText("/c/");
        QCOMPARE(gOption.getStrVal("INPATH"), QString("/c/"));
        QCOMPARE(cTestFiles::read(iniPath()), QByteArray(ini).replace("/a/", "/c/"));
    }

    void emptyFieldGivesSeparatorPath()
    {
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|\r\nOUTPATH=Out|50|/b\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QCOMPARE(window.getInPath(), QString(QDir::separator()));
        QCOMPARE(window.getOutPath(), QString("/b/"));
    }

    void brokenSettingsStillStart_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("message");
        QTest::newRow("no settings file") << QByteArray() << "Settings file not found";
        QTest::newRow("folder keys missing")
            << QByteArray("[P]\r\nX=x|1|1\r\n") << "missing settings OUTPATH, INPATH";
        QTest::newRow("duplicate key before the folders")
            << QByteArray("[P]\r\nX=x|1|1\r\nx=y|1|1\r\n[Folders]\r\nINPATH=In|50|/a/\r\n")
            << "Form_Load";
    }
    void brokenSettingsStillStart()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, message);
        if (!ini.isEmpty())
            cTestFiles::write(iniPath(), ini);
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(!desktop.messages.isEmpty());
        QVERIFY2(desktop.messages.first().contains(message), qPrintable(desktop.messages.first()));
        const int shown = desktop.messages.size();
        QTest::keyClicks(field(window, "txtInPath"), "/x");
        QTest::keyClicks(field(window, "txtOutPath"), "/y");
        // Typing into a field whose key is missing is neither stored nor reported again.
        QCOMPARE(desktop.messages.size(), shown);
        QCOMPARE(cTestFiles::read(iniPath()), ini);
        QCOMPARE(desktop.modalWindows, QStringList{"frmAuthor"});
    }

    // The window used to open with the focus in txtInPath, the first control created.
    void firstFocusAndShortcuts_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("opens");
        QTest::newRow("Ctrl+, opens the preferences")
            << int(Qt::Key_Comma) << int(Qt::ControlModifier) << "frmOptions";
        QTest::newRow("F1 opens the help topics") << int(Qt::Key_F1) << 0 << "frmHelp";
        QTest::newRow("Ctrl+Q quits") << int(Qt::Key_Q) << int(Qt::ControlModifier) << "";
    }
    void firstFocusAndShortcuts()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, opens);
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(cUserInput::showActive(&window));
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdOutPath"));
        cUserInput::key(key, Qt::KeyboardModifiers(modifiers));
        if (opens.isEmpty())
            QVERIFY(!window.isVisible());
        else
            QCOMPARE(desktop.modalWindows.last(), opens);
        QCOMPARE(window.findChild<QAction *>("mnuQuit")->text(), QString("Quit"));
    }

    // The preferences used to open against the top of the screen, away from the window.
    void preferencesOpenOverTheWindow()
    {
        cTestFiles::write(iniPath(), "[Folders]\r\nINPATH=In|50|/a/\r\nOUTPATH=Out|50|/b/\r\n");
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        window.Form_Load();
        QVERIFY(cUserInput::showActive(&window));
        const QRect screen = window.screen()->availableGeometry();
        // Where a dialog centred over it fits on the screen.
        window.move(screen.center() - window.frameGeometry().center() + window.pos());
        QRect placed;
        desktop.onModal = [&placed](QDialog *dialog) {
            placed = dialog->frameGeometry();
            return int(QDialog::Rejected);
        };
        cUserInput::key(Qt::Key_Comma, Qt::ControlModifier);
        QCOMPARE(desktop.modalWindows.last(), QString("frmOptions"));
        QVERIFY(screen.contains(placed));
        const QPoint offset = placed.center() - window.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    // A screen reader speaks a control by its name; "..." or ">" tell the user nothing.
    void everyControlHasASpokenName()
    {
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        const QRegularExpression words("\\w\\w");
        for (QWidget *control : window.findChildren<QWidget *>()) {
            if (control->focusPolicy() == Qt::NoFocus && control->objectName() != "ImgPreview")
                continue;
            const QString name =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(name.contains(words), qPrintable(control->objectName() + ": " + name));
        }
        QCOMPARE(window.findChild<QWidget *>("cmdInPath")->accessibleName(),
                 QString("Browse for the input folder"));
        QCOMPARE(window.findChild<QWidget *>("txtOutPath")->accessibleName(), QString("OUT Path:"));
    }

    void controlsAtTheirDesignPlaces()
    {
        cTestDesktop desktop;
        frmZentra window(m_dir->path());
        const auto *gen = window.findChild<QPushButton *>("CmdGenFiles");
        QVERIFY(gen);
        QCOMPARE(gen->text(), QString("Generate Catalog"));
        QCOMPARE(gen->toolTip(), QString("Estrae i files HTM dal LST"));
        // 96 DPI offscreen: 15 twips per pixel.
        QCOMPARE(gen->geometry(), QRect(360, 344, 185, 17));
        for (const char *name :
             {"Label4",    "txtInPath",  "cmdInPath", "cmdGetFiles", "Label9",     "chkGif",
              "chkJpg",    "ListView1",  "cmdAdd",    "cmdDel",      "cmdAddAll",  "cmdDelAll",
              "ListView2", "ImgPreview", "txtNfiles", "txtNsel",     "Label5",     "lblH",
              "Label8",    "lblW",       "Label3",    "txtOutPath",  "cmdOutPath", "Line3",
              "Line6",     "Line7"})
            QVERIFY2(window.findChild<QWidget *>(name), name);
        for (const char *name : {"mnuOptions", "mnuQuit", "mnuAbout", "mnuAuthor", "mnuHelp"})
            QVERIFY2(window.findChild<QAction *>(name), name);
    }

private:
    QString iniPath() const { return m_dir->filePath("QDX.ini"); }
    static QLineEdit *field(frmZentra &window, const char *name)
    {
        return window.findChild<QLineEdit *>(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_frmZentra)
#include "tst_frmZentra.moc"
