#include "cTestFiles.h"
#include "common/cIniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using Write = cIniFile::Write;
Q_DECLARE_METATYPE(QList<cIniFile::Write>)

class tst_cIniFile : public QObject
{
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("firstLines");
        QTest::newRow("order kept, nothing sorted")
            << QByteArray("[B]\r\nz=1\r\na=2\r\n[A]\r\n") << QStringList{"B", "A"}
            << QStringList{"z=1", "a=2"};
        QTest::newRow("header trimmed, text after bracket ignored")
            << QByteArray("[ \tPage\t ] tail\r\nk=v\r\n") << QStringList{"Page"}
            << QStringList{"k=v"};
        QTest::newRow("header without closing bracket")
            << QByteArray("[Open\nk=v\n") << QStringList{"Open"} << QStringList{"k=v"};
        QTest::newRow("comments, blanks and preamble skipped")
            << QByteArray("k0=before\r\n[S]\r\n\r\n ; note\r\n#hash=kept\r\nk=v;not a comment\r\n")
            << QStringList{"S"} << QStringList{"#hash=kept", "k=v;not a comment"};
        QTest::newRow("key and value trimmed, quotes kept")
            << QByteArray("[S]\r\n  key \t=  \"a b\"  \r\n") << QStringList{"S"}
            << QStringList{"key=\"a b\""};
        QTest::newRow("splits at the first equals sign")
            << QByteArray("[S]\r\nDOCFILE=File|20|a=b.htm\r\n") << QStringList{"S"}
            << QStringList{"DOCFILE=File|20|a=b.htm"};
        QTest::newRow("line without equals")
            << QByteArray("[S]\r\nlonely\r\n") << QStringList{"S"} << QStringList{"lonely"};
        QTest::newRow("carriage returns alone end lines")
            << QByteArray("[S]\rk=v\rj=w") << QStringList{"S"} << QStringList{"k=v", "j=w"};
        QTest::newRow("byte-order mark before the first header")
            << QByteArray("\xEF\xBB\xBF[S]\r\nk=v\r\n") << QStringList{"S"} << QStringList{"k=v"};
        QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(QStringList, firstLines);
        const QList<cIniFile::Section> sections = cIniFile::parse(bytes);
        QStringList found;
        for (const cIniFile::Section &section : sections)
            found.append(section.name);
        QCOMPARE(found, names);
        if (!sections.isEmpty())
            QCOMPARE(sections.first().lines, firstLines);
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<Write>>("writes");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replaces in place, keeps comments, blanks, indentation")
            << QByteArray("; top\r\n[S]\r\n  Key = old \r\n\r\n; c\r\nz=1\r\n")
            << QList<Write>{{"s", "KEY", "new"}}
            << QByteArray("; top\r\n[S]\r\nKey=new\r\n\r\n; c\r\nz=1\r\n");
        QTest::newRow("unchanged value leaves the line byte for byte")
            << QByteArray("[S]\r\n  k =  v  \r\n") << QList<Write>{{"S", "k", "v"}}
            << QByteArray("[S]\r\n  k =  v  \r\n");
        QTest::newRow("missing key goes after the last key line of its section")
            << QByteArray("[S]\r\na=1\r\n\r\n; tail\r\n[T]\r\nb=2\r\n")
            << QList<Write>{{"S", "c", "3"}}
            << QByteArray("[S]\r\na=1\r\nc=3\r\n\r\n; tail\r\n[T]\r\nb=2\r\n");
        QTest::newRow("missing key in a section without keys")
            << QByteArray("[S]\r\n\r\n[T]\r\n") << QList<Write>{{"S", "c", "3"}}
            << QByteArray("[S]\r\nc=3\r\n\r\n[T]\r\n");
        QTest::newRow("missing section appended, last line ended first")
            << QByteArray("[S]\r\na=1") << QList<Write>{{"N", "k", "v"}}
            << QByteArray("[S]\r\na=1\r\n[N]\r\nk=v\r\n");
        QTest::newRow("missing file is created")
            << QByteArray() << QList<Write>{{"N", "k", "v"}} << QByteArray("[N]\r\nk=v\r\n");
        QTest::newRow("other line ends and the byte-order mark kept")
            << QByteArray("\xEF\xBB\xBF[S]\na=1\rb=2\n") << QList<Write>{{"S", "b", "9"}}
            << QByteArray("\xEF\xBB\xBF[S]\na=1\rb=9\n");
        QTest::newRow("first of two sections with one name")
            << QByteArray("[S]\r\na=1\r\n[s]\r\na=2\r\n") << QList<Write>{{"S", "a", "5"}}
            << QByteArray("[S]\r\na=5\r\n[s]\r\na=2\r\n");
        QTest::newRow("several writes to one section keep their order")
            << QByteArray("[S]\r\n")
            << QList<Write>{{"S", "a", "1"}, {"S", "b", "2"}, {"S", "a", "3"}}
            << QByteArray("[S]\r\na=3\r\nb=2\r\n");
    }
    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QList<Write>, writes);
        QFETCH(QByteArray, after);
        QCOMPARE(cIniFile::apply(before, writes), after);
    }

    void failedWriteLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("QDX.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[S]\r\na=1\r\n");
        file.close();
        // A file size limit stands in for a full disk, and holds for root too.
        signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &tiny);
        const cError written = cIniFile::save(
            path, cIniFile::apply(cTestFiles::read(path), {{"S", "a", QString(200, 'x')}}));
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(written.number(), int(cError::DeviceIO));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[S]\r\na=1\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"QDX.ini"});
    }

    void writeReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("new.ini");
        QVERIFY(!cIniFile::save(path, cIniFile::apply(QByteArray(), {{"S", "k", "v"}})).failed());
        QCOMPARE(cIniFile::read(path).first().lines, QStringList{"k=v"});
    }
};

QTEST_MAIN(tst_cIniFile)
#include "tst_cIniFile.moc"
