#include "cTestFiles.h"
#include "common/cProgramPlace.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

// Where settings, log and "." live: beside the program when it runs from its own folder, in the
// user's folders when it is installed.
class tst_programPlace : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QCoreApplication::setApplicationName("qdx");
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home()));
        QDir().mkpath(m_dir->filePath("usr/bin"));
        QDir().mkpath(m_dir->filePath("usr/share/qdx"));
        cTestFiles::write(m_dir->filePath("usr/share/qdx/QDX.ini"), "[Page]\r\nK=k|1|1\r\n");
        cTestFiles::write(m_dir->filePath("usr/share/qdx/QDX.hlp"), "Topic\r\n");
    }

    void programFolderDecides_data()
    {
        QTest::addColumn<bool>("settingsBeside");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("portable");
        QTest::newRow("own folder with its settings") << true << true << true;
        QTest::newRow("installed, no settings beside") << false << true << false;
        QTest::newRow("settings beside, folder read-only") << true << false << false;
    }
    void programFolderDecides()
    {
        QFETCH(bool, settingsBeside);
        QFETCH(bool, writable);
        QFETCH(bool, portable);
        if (!writable && ::geteuid() == 0)
            QSKIP("root may write into every folder");
        const QString bin = m_dir->filePath("usr/bin");
        if (settingsBeside)
            cTestFiles::write(bin + "/QDX.ini", "[Mine]\r\n");
        if (!writable)
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
        const cProgramPlace place = cProgramPlace::forProgram(bin);
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(place.isPortable(), portable);
        if (portable) {
            QCOMPARE(place.settingsFile(), bin + "/QDX.ini");
            QCOMPARE(place.logFolder(), bin);
            QCOMPARE(place.dotFolder(), QDir::toNativeSeparators(bin));
            QCOMPARE(place.helpSource(), QString("QDX.hlp"));
            return;
        }
        QCOMPARE(place.settingsFile(), home() + "/.config/qdx/QDX.ini");
        QCOMPARE(place.logFolder(), home() + "/.local/share/qdx");
        QCOMPARE(place.dotFolder(),
                 QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
        QVERIFY(place.prepare());
        QCOMPARE(cTestFiles::read(place.settingsFile()), QByteArray("[Page]\r\nK=k|1|1\r\n"));
        QVERIFY(QFileInfo(place.logFolder()).isDir());
        // The current directory's help source first, else the installed one.
        QCOMPARE(place.helpSource(), m_dir->filePath("usr/share/qdx/QDX.hlp"));
        // The user's settings, once there, are the user's: never copied over again.
        cTestFiles::write(place.settingsFile(), "[Changed]\r\n");
        QVERIFY(place.prepare());
        QCOMPARE(cTestFiles::read(place.settingsFile()), QByteArray("[Changed]\r\n"));
    }

private:
    QString home() const { return m_dir->filePath("home"); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_programPlace)
#include "tst_programPlace.moc"
