#include "cTestDesktop.h"
#include "desktop/cCursor.h"
#include "common/modUtil1.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace modUtil1;

class tst_modUtil1 : public QObject
{
    Q_OBJECT
private slots:
    void init() { modUtil1::setLogFolder(m_dir.path()); }

    void getToken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty fields skipped") << "a||b"
                                              << "|" << 2 << "b";
        QTest::newRow("leading separator skipped") << "|x|y"
                                                   << "|" << 1 << "x";
        QTest::newRow("past the last field") << "a|b"
                                             << "|" << 3 << "";
        QTest::newRow("only the first separator splits the key") << "KEY=v=w"
                                                                 << "=" << 1 << "KEY";
        QTest::newRow("empty text") << ""
                                    << "|" << 1 << "";
        QTest::newRow("no separator") << "abc"
                                      << "|" << 1 << "abc";
        QTest::newRow("no separator, second field") << "abc"
                                                    << "|" << 2 << "";
        QTest::newRow("zero field") << "a|b"
                                    << "|" << 0 << "";
        QTest::newRow("negative field") << "a|b"
                                        << "|" << -1 << "";
        QTest::newRow("trailing separator") << "a|b|"
                                            << "|" << 2 << "b";
        QTest::newRow("last field after empty ones") << "a|||c"
                                                     << "|" << 2 << "c";
        QTest::newRow("separator is case-sensitive") << "aXbxc"
                                                     << "x" << 1 << "aXb";
    }
    void getToken()
    {
        QFETCH(QString, text);
        QFETCH(QString, sep);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(modUtil1::getToken(text, sep.at(0), n), expected);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("repl");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        QTest::newRow("replacement holding the find text") << "aXb"
                                                           << "X"
                                                           << "XX"
                                                           << "aXXb" << 1;
        QTest::newRow("empty find text") << "abc"
                                         << ""
                                         << "z"
                                         << "abc" << 0;
        QTest::newRow("every occurrence") << "\ta\tb\t"
                                          << "\t"
                                          << " "
                                          << " a b " << 3;
        QTest::newRow("case-sensitive") << "aAa"
                                        << "a"
                                        << ""
                                        << "A" << 2;
        QTest::newRow("longer find") << "abcabc"
                                     << "bc"
                                     << "-"
                                     << "a-a-" << 2;
        QTest::newRow("nothing found") << "abc"
                                       << "z"
                                       << "y"
                                       << "abc" << 0;
    }
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, repl);
        QFETCH(QString, expected);
        QFETCH(int, count);
        QCOMPARE(modUtil1::replaceAll(text, find, repl), count);
        QCOMPARE(text, expected);
    }

    void logRecordLayout_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pendingNumber");
        QTest::addColumn<QStringList>("expected");
        const QString stamp = QStringLiteral("03/03/2026 09:05:07 ");
        QTest::newRow("code 0, one letter")
            << 0 << "x" << 0 << QStringList{stamp + "000 x" + QString(99, ' ')};
        const QString longMessage(150, 'm');
        QTest::newRow("message cut to 100")
            << 0 << longMessage << 0 << QStringList{stamp + "000 " + QString(100, 'm')};
        const QString first = stamp + "051 step" + QString(96, ' ');
        QTest::newRow("code above 0 adds the error line")
            << 51 << "step" << 5 << QStringList{first, first + QString(20, ' ') + "ERROR[5]D"};
        QTest::newRow("code 0 with a pending error stays one line")
            << 0 << "y" << 5 << QStringList{stamp + "000 y" + QString(99, ' ')};
        const QString big = stamp + "1234 z" + QString(99, ' ');
        QTest::newRow("four-digit code, no pending error")
            << 1234 << "z" << 0 << QStringList{big, big + QString(20, ' ') + "ERROR[0]"};
    }
    void logRecordLayout()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(int, pendingNumber);
        QFETCH(QStringList, expected);
        const cError pending = pendingNumber ? cError(pendingNumber, "D") : cError();
        const QDateTime when(QDate(2026, 3, 3), QTime(9, 5, 7));
        QCOMPARE(logRecord(when, code, message, pending), expected);
    }

    void monthlyFileSharedAcrossYears()
    {
        QCOMPARE(QFileInfo(logFilePath(QDate(2026, 3, 3))).fileName(), QString("QDX_03.log"));
        QCOMPARE(logFilePath(QDate(2027, 3, 3)), logFilePath(QDate(2026, 3, 3)));
        QCOMPARE(QFileInfo(logFilePath(QDate(2026, 12, 1))).fileName(), QString("QDX_12.log"));
    }

    void writeLogAppendsAndShows()
    {
        cTestDesktop desktop;
        writeLog(false, 0, "x");
        writeLog(false, 51, QString(150, 'm'), cError(5, "D"));
        writeLog(true, 0, "trace");
        QFile log(logFilePath(QDate::currentDate()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QCOMPARE(lines.size(), 5); // four CR LF records and the empty rest
        QVERIFY(lines.at(0).endsWith("x" + QByteArray(99, ' ') + "\r"));
        QVERIFY(lines.at(2).endsWith(QByteArray(20, ' ') + "ERROR[5]D\r"));
        QCOMPARE(desktop.messages,
                 (QStringList{"[0] x", "[51] " + QString(150, 'm') + "\r\n  ERROR[5]D"}));
    }

    // A log that cannot be written, or must not be (a link or a FIFO planted at its name), never
    // takes the message with it, nor the file a link names, nor the program's time.
    void writeLogWithoutLogStillShows_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("a missing log folder") << "missing";
        QTest::newRow("a link at the log's name") << "link";
        QTest::newRow("a FIFO at the log's name") << "fifo";
    }
    void writeLogWithoutLogStillShows()
    {
        QFETCH(QString, planted);
        cTestDesktop desktop;
        const QString log = logFilePath(QDate::currentDate());
        const QString notes = m_dir.filePath("notes.txt");
        QFile::remove(log);
        QFile(notes).open(QIODevice::WriteOnly);
        if (planted == "missing")
            modUtil1::setLogFolder(m_dir.filePath("missing/folder"));
        else if (planted == "link")
            QVERIFY(QFile::link(notes, log));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
        ::alarm(60);
        writeLog(false, 7, "still told");
        ::alarm(0);
        QCOMPARE(desktop.messages, QStringList{"[7] still told"});
        QCOMPARE(QFileInfo(notes).size(), 0);
        QFile::remove(log);
    }

    void toInt16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("leading zero") << "040" << 40 << 0;
        QTest::newRow("negative") << "-1" << -1 << 0;
        QTest::newRow("half rounds to even, down") << "2.5" << 2 << 0;
        QTest::newRow("half rounds to even, up") << "3.5" << 4 << 0;
        QTest::newRow("largest") << "32767" << 32767 << 0;
        QTest::newRow("past the largest") << "40000" << 0 << int(cError::Overflow);
        QTest::newRow("smallest") << "-32768" << -32768 << 0;
        QTest::newRow("not a number") << "red" << 0 << int(cError::TypeMismatch);
        QTest::newRow("empty") << "" << 0 << int(cError::TypeMismatch);
    }
    void toInt16()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(int, error);
        try {
            QCOMPARE(int(modUtil1::toInt16(text)), expected);
            QCOMPARE(error, 0);
        } catch (const cError &e) {
            QCOMPARE(e.number(), error);
        }
    }

    void cursorsRestoreInReverseOrder()
    {
        QCOMPARE(cCursor::pointer(nullptr), int(cCursor::Default));
        {
            cCursor outer;
            outer.wait();
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                cCursor inner;
                inner.wait();
            }
            // The inner cursor found the hourglass and puts it back.
            QCOMPARE(cCursor::pointer(nullptr), int(cCursor::Hourglass));
        }
        QCOMPARE(cCursor::pointer(nullptr), int(cCursor::Default));
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_modUtil1)
#include "tst_modUtil1.moc"
