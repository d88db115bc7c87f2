#include "cTestFiles.h"
#include "common/cError.h"
#include "common/cOption.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {
QString writeIni(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("QDX.ini");
    cTestFiles::write(path, bytes);
    return path;
}
} // namespace

class tst_cOption : public QObject
{
    Q_OBJECT
private slots:
    void loadAndWriteBack_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("len");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("three fields") << QByteArray("KEY=Title|40|My catalog") << "Title"
                                      << "40"
                                      << "My catalog" << QByteArray("KEY=Title|40|My catalog");
        QTest::newRow("length with a leading zero") << QByteArray("KEY=Title|040|x") << "Title"
                                                    << "40"
                                                    << "x" << QByteArray("KEY=Title|40|x");
        QTest::newRow("description only") << QByteArray("KEY=Title") << "Title"
                                          << ""
                                          << "" << QByteArray("KEY=Title||");
        QTest::newRow("empty value shifts into the length") << QByteArray("KEY=Title||5") << "Title"
                                                            << "5"
                                                            << "" << QByteArray("KEY=Title|5|");
        QTest::newRow("fourth field dropped") << QByteArray("KEY=Title|10|a|b") << "Title"
                                              << "10"
                                              << "a" << QByteArray("KEY=Title|10|a");
        QTest::newRow("value holding equals sign")
            << QByteArray("DOCFILE=File|20|a=b.htm") << "File"
            << "20"
            << "a=b.htm" << QByteArray("DOCFILE=File|20|a=b.htm");
        QTest::newRow("line without equals") << QByteArray("lonely") << ""
                                             << ""
                                             << "" << QByteArray("lonely=||");
    }
    void loadAndWriteBack()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, text);
        QFETCH(QString, len);
        QFETCH(QString, value);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        const QString path = writeIni(dir, "[S]\r\n" + line + "\r\n");
        cOption store;
        QVERIFY(store.iniread(path));
        const QString key = modKey(line);
        QCOMPARE(store.getText(key), text);
        QCOMPARE(store.getLen(key), len);
        QCOMPARE(store.getStrVal(key), value);
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), "[S]\r\n" + written + "\r\n");
    }

    void loadStopsWithError_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("keysOfA");
        QTest::newRow("length that is not a number")
            << QByteArray("[A]\r\nok=a|1|b\r\nKEY=|10|red\r\nafter=x|1|y\r\n")
            << int(cError::TypeMismatch) << QStringList{"ok"};
        QTest::newRow("length out of range") << QByteArray("[A]\r\nok=a|1|b\r\nKEY=t|40000|v\r\n")
                                             << int(cError::Overflow) << QStringList{"ok"};
        QTest::newRow("duplicate key across sections, any case")
            << QByteArray("[A]\r\nCOLOR=a|1|b\r\n[B]\r\ncolor=c|1|d\r\n")
            << int(cError::DuplicateKey) << QStringList{"COLOR"};
    }
    void loadStopsWithError()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(QStringList, keysOfA);
        QTemporaryDir dir;
        cOption store;
        try {
            store.iniread(writeIni(dir, bytes));
            QFAIL("the load should have stopped");
        } catch (const cError &e) {
            QCOMPARE(e.number(), error);
        }
        QCOMPARE(store.getKeyForSection("A"), keysOfA);
        QVERIFY(!store.hasKey("after"));
    }

    void typeMismatchKeepsValueOnly()
    {
        QTemporaryDir dir;
        cOption store;
        QVERIFY_THROWS_EXCEPTION(cError, store.iniread(writeIni(dir, "[A]\r\nKEY=|10|red\r\n")));
        // The key reached the value map before its length failed.
        QCOMPARE(store.getStrVal("KEY"), QString());
        QVERIFY_THROWS_EXCEPTION(cError, store.getLen("KEY"));
        QVERIFY(store.getKeyForSection("A").isEmpty());
    }

    void getIntVal_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("whole number") << "3" << 3;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("out of range") << "40000" << 0;
        QTest::newRow("half to even") << "2.5" << 2;
        QTest::newRow("other half to even") << "1.5" << 2;
        QTest::newRow("empty") << "" << 0;
    }
    void getIntVal()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        QTemporaryDir dir;
        cOption store;
        store.iniread(writeIni(dir, "[A]\r\nN=n|5|" + value.toUtf8() + "\r\n"));
        QCOMPARE(int(store.getIntVal("n")), expected);
        QCOMPARE(int(store.getIntVal("missing")), 0);
    }

    void lookUpsIgnoreCase()
    {
        QTemporaryDir dir;
        cOption store;
        store.iniread(writeIni(dir, "[Folders]\r\nOUTPATH=Out|50|C:\\\r\n"));
        QCOMPARE(store.getStrVal("outpath"), QString("C:\\"));
        QCOMPARE(store.getKeyForSection("Folders"), QStringList{"OUTPATH"});
        // Sections are matched exactly here.
        QVERIFY(store.getKeyForSection("folders").isEmpty());
        QVERIFY_THROWS_EXCEPTION(cError, store.getStrVal("nothere"));
        QVERIFY_THROWS_EXCEPTION(cError, store.chgStrVal("nothere", "x"));
    }

    void changeReachesTheFileOnlyThroughIniwrite()
    {
        QTemporaryDir dir;
        const QByteArray original(
            "; mine\r\n[Folders]\r\nOUTPATH=Out|50|a\r\n\r\n[P]\r\nX=x|1|1\r\n");
        const QString path = writeIni(dir, original);
        cOption store;
        store.iniread(path);
        store.chgStrVal("OUTPATH", "b");
        QCOMPARE(cTestFiles::read(path), original);
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path),
                 QByteArray("; mine\r\n[Folders]\r\nOUTPATH=Out|50|b\r\n\r\n[P]\r\nX=x|1|1\r\n"));
    }

    void fileEditedBetweenWritesIsWrittenWhole()
    {
        QTemporaryDir dir;
        const QString path = writeIni(dir, "[S]\r\nA=a|5|1\r\nB=b|05|2\r\n");
        cOption store;
        store.iniread(path);
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), QByteArray("[S]\r\nA=a|5|1\r\nB=b|5|2\r\n"));
        // Someone else removes a key and adds a comment; the next write puts every key back.
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("[S]\r\n; mine\r\nA=a|5|1\r\n");
        file.close();
        store.chgStrVal("A", "9");
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), QByteArray("[S]\r\n; mine\r\nA=a|5|9\r\nB=b|5|2\r\n"));
        store.chgStrVal("b", "3");
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), QByteArray("[S]\r\n; mine\r\nA=a|5|9\r\nB=b|5|3\r\n"));
    }

    // The program rewrites its settings at every start: whatever it cannot read back as it read
    // it is lost for good. Nothing changed gives the same bytes; one change, one line.
    void realWorldFilesSurviveStartAndChange_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("changed");
        QByteArray everyByte;
        for (int byte = 0; byte < 256; ++byte) {
            if (byte != '\r' && byte != '\n' && byte != '|')
                everyByte += char(byte);
        }
        QTest::newRow("8-bit description") << QByteArray("[S]\r\nT=Titolo \xe8|10|x\r\n") << "T"
                                           << "y" << QByteArray("[S]\r\nT=Titolo \xe8|10|y\r\n");
        QTest::newRow("8-bit section name")
            << QByteArray("[Opzioni \xe8]\r\nT=t|10|x\r\n") << "T"
            << "\u00e8\u20ac" << QByteArray("[Opzioni \xe8]\r\nT=t|10|\xe8\x80\r\n");
        QTest::newRow("every byte value") << "[S]\r\nT=a" + everyByte + "z|300|x\r\n"
                                          << "T"
                                          << "y"
                                          << "[S]\r\nT=a" + everyByte + "z|300|y\r\n";
        QTest::newRow("8-bit file given a text only UTF-8 holds")
            << QByteArray("[S]\r\nA=\xe8|1|1\r\nT=t|9|x\r\n") << "T"
            << "\u0142" << QByteArray("[S]\r\nA=\xc3\xa8|1|1\r\nT=t|9|\xc5\x82\r\n");
        QTest::newRow("UTF-8 stays UTF-8")
            << QByteArray("[S]\r\nT=Titolo \xc3\xa8|10|x\r\n") << "T"
            << "\u00e8" << QByteArray("[S]\r\nT=Titolo \xc3\xa8|10|\xc3\xa8\r\n");
        QTest::newRow("key written twice in a section")
            << QByteArray("[S]\r\nK=T|1|a\r\nk=T|1|b\r\n") << "K"
            << "c" << QByteArray("[S]\r\nK=T|1|c\r\nk=T|1|b\r\n");
        QTest::newRow("section header twice, in another case")
            << QByteArray("[Main]\r\nA=a|1|1\r\n[MAIN]\r\nB=b|1|2\r\n") << "B"
            << "3" << QByteArray("[Main]\r\nA=a|1|1\r\n[MAIN]\r\nB=b|1|3\r\n");
        QTest::newRow("line without a key name")
            << QByteArray("[S]\r\n=val5\r\nK=k|1|1\r\n") << "K"
            << "2" << QByteArray("[S]\r\n=val5\r\nK=k|1|2\r\n");
        QTest::newRow("byte-order mark inside the file")
            << QByteArray("\xEF\xBB\xBF[S]\r\nA=a|1|1\r\n\xEF\xBB\xBFK=k|1|1\r\n")
            << QString(QChar(0xFEFF)) + "K"
            << "2" << QByteArray("\xEF\xBB\xBF[S]\r\nA=a|1|1\r\n\xEF\xBB\xBFK=k|1|2\r\n");
    }
    void realWorldFilesSurviveStartAndChange()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, changed);
        QTemporaryDir dir;
        const QString path = writeIni(dir, file);
        const QStringList loaded = cTestFiles::loaded(path);
        for (int start = 0; start < 2; ++start) {
            cOption store;
            try {
                store.iniread(path);
            } catch (const cError &) {
            }
            QVERIFY(store.iniwrite());
            QCOMPARE(cTestFiles::read(path), file);
            QCOMPARE(cTestFiles::loaded(path), loaded);
        }
        cOption store;
        try {
            store.iniread(path);
        } catch (const cError &) {
        }
        store.chgStrVal(key, value);
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), changed);
        QStringList expected = loaded;
        for (QString &entry : expected) {
            if (entry.contains('/' + key + '='))
                entry = entry.left(entry.lastIndexOf('|') + 1) + value;
        }
        QCOMPARE(cTestFiles::loaded(path), expected);
    }

    // A folder name may hold a line break on Linux; written as it is, it would inject lines.
    void lineBreaksAreRefused_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("LF") << "/a\nOUTPATH=x|1|/b";
        QTest::newRow("CR") << "/a\r";
        QTest::newRow("CR LF") << "/a\r\n";
    }
    void lineBreaksAreRefused()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QByteArray file("[F]\r\nINPATH=In|50|/in/\r\n");
        const QString path = writeIni(dir, file);
        cOption store;
        store.iniread(path);
        try {
            store.chgStrVal("INPATH", value);
            QFAIL("a value with a line break was taken");
        } catch (const cError &error) {
            QCOMPARE(error.number(), int(cError::InvalidArgument));
        }
        QCOMPARE(store.getStrVal("INPATH"), QString("/in/"));
        QVERIFY(store.iniwrite());
        QCOMPARE(cTestFiles::read(path), file);
    }

    // A FIFO used to hang the start, a link to /dev/zero to eat memory without end.
    void onlyRegularFilesAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to /dev/zero") << "zero";
        QTest::newRow("directory") << "directory";
        QTest::newRow("broken link") << "broken";
    }
    void onlyRegularFilesAreRead()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("QDX.ini");
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (kind == "directory")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(QFile::link(dir.filePath("gone.ini"), path));
        cOption store;
        QVERIFY(!store.iniread(path));
        QVERIFY(store.getSections().isEmpty());
    }

    // A killed write leaves its temporary file; the next write clears the program's own.
    void staleTemporaryFilesAreCleared()
    {
        QTemporaryDir dir;
        const QString path = writeIni(dir, "[S]\r\nK=k|5|1\r\n");
        cTestFiles::write(path + ".qdx-Ab12Cd", "[S]\r\nK=k|5|");
        cTestFiles::write(path + ".backup", "mine");
        cOption store;
        store.iniread(path);
        store.chgStrVal("K", "2");
        QVERIFY(store.iniwrite());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"QDX.ini", "QDX.ini.backup"}));
        QCOMPARE(cTestFiles::read(path), QByteArray("[S]\r\nK=k|5|2\r\n"));
    }

    void missingFileLoadsNothing()
    {
        QTemporaryDir dir;
        cOption store;
        QVERIFY(!store.iniread(dir.filePath("none.ini")));
        QVERIFY(store.getSections().isEmpty());
    }

    void longFilesLoadWhole()
    {
        // Far beyond the 1000 characters a name list once had room for.
        QByteArray bytes;
        for (int s = 0; s < 50; ++s) {
            bytes += "[Section number " + QByteArray::number(s) + "]\r\n";
            for (int k = 0; k < 40; ++k)
                bytes +=
                    "KEY_" + QByteArray::number(s) + "_" + QByteArray::number(k) + "=d|5|v\r\n";
        }
        QTemporaryDir dir;
        cOption store;
        store.iniread(writeIni(dir, bytes));
        QCOMPARE(store.getSections().size(), 50);
        QCOMPARE(store.getKeyForSection("Section number 49").size(), 40);
        QCOMPARE(store.getKeyForSection("Section number 49").last(), QString("KEY_49_39"));
    }

private:
    static QString modKey(const QByteArray &line)
    {
        const qsizetype equals = line.indexOf('=');
        return QString::fromUtf8(equals < 0 ? line : line.left(equals));
    }
};

QTEST_MAIN(tst_cOption)
#include "tst_cOption.moc"
