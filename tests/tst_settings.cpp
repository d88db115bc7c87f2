#include "cTestFiles.h"
#include "common/cOption.h"
#include "settings/cSettings.h"

#include <QTemporaryDir>
#include <QtTest>

// The keys the program added: their table against the shipped settings, and how their values
// are read.
class tst_settings : public QObject
{
    Q_OBJECT
private slots:
    // Every key of the shipped file is the text's own, a heading, or in the table with the
    // section, description and length it is shipped with; every key of the table is shipped.
    void theTableIsTheShippedSettings()
    {
        cOption shipped;
        QVERIFY(shipped.iniread(QDX_SHIPPED_INI));
        const QStringList textKeys = {"DOCFILE",    "DOCTITLE",    "COLORBK",  "USECSS",
                                      "CSSFILE",    "FONTSIZE",    "TABALIGN", "TABBORDER",
                                      "TABCOLORBK", "TABCOLUMN",   "IMGH",     "IMGW",
                                      "IMGNAME",    "OUTBOXERROR", "INPATH",   "OUTPATH"};
        QSet<QString> inTable;
        for (const cSettings::Definition &key : cSettings::table()) {
            const QString name = QString::fromLatin1(key.name);
            inTable.insert(name);
            QVERIFY2(shipped.hasKey(name), key.name);
            QVERIFY2(shipped.getKeyForSection(key.section).contains(name), key.name);
            QCOMPARE(shipped.getText(name), QString::fromUtf8(key.description));
            QCOMPARE(shipped.getLen(name), QString::number(key.length));
            if (key.isNumber()) {
                const int fallback = QString::fromLatin1(key.fallback).toInt();
                QVERIFY2(fallback >= key.lowest && fallback <= key.highest, key.name);
            }
        }
        for (const QString &section : shipped.getSections()) {
            for (const QString &name : shipped.getKeyForSection(section)) {
                const bool heading = shipped.getLen(name).isEmpty();
                QVERIFY2(heading || textKeys.contains(name) || inTable.contains(name),
                         qPrintable(name));
            }
        }
    }

    // An added key absent or empty reads as the page always was; a value out of its range is
    // said once and read as that.
    void numbersInTheirRange_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // null: the key is absent
        QTest::addColumn<int>("read");
        QTest::addColumn<bool>("said");
        QTest::newRow("a page size above the store's 16 bits") << "PAGESIZE"
                                                               << "40000" << 40000 << false;
        QTest::newRow("blanks around a number") << "PAGESIZE"
                                                << " 7 " << 7 << false;
        QTest::newRow("a page size out of range") << "PAGESIZE"
                                                  << "100000" << 0 << true;
        QTest::newRow("a negative copy size") << "COPYSIZE"
                                              << "-5" << 0 << true;
        QTest::newRow("an order that is no number") << "ORDER"
                                                    << "date" << 0 << true;
        QTest::newRow("a caption out of range") << "CAPTION"
                                                << "4" << 0 << true;
        QTest::newRow("a check box of another value") << "PRUNE"
                                                      << "2" << 0 << true;
        QTest::newRow("empty") << "COPYSIZE"
                               << "" << 0 << false;
        QTest::newRow("absent") << "COPYSIZE" << QString() << 0 << false;
        QTest::newRow("the Gif box, absent, starts ticked") << "GIFTYPE" << QString() << 1 << false;
    }
    void numbersInTheirRange()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, read);
        QFETCH(bool, said);
        const cOption options =
            store(value.isNull() ? QByteArray() : key.toUtf8() + "=d|5|" + value.toUtf8());
        const cSettings settings(options);
        const auto found = std::find_if(
            cSettings::table().cbegin(), cSettings::table().cend(),
            [&key](const cSettings::Definition &definition) { return key == definition.name; });
        QVERIFY(found != cSettings::table().cend());
        cSettings::takeProblems();
        QCOMPARE(settings.number(found->key), read);
        QCOMPARE(settings.number(found->key), read);
        const QStringList problems = cSettings::takeProblems();
        QCOMPARE(problems.size(), said ? 1 : 0);
        if (said)
            QVERIFY2(problems.first().startsWith(key + "=" + value.trimmed() + " "),
                     qPrintable(problems.first()));
        // Said once in the run, however often it is read.
        settings.number(found->key);
        QCOMPARE(cSettings::takeProblems(), QStringList());
    }

    // A folder's name is read the same by every part: blanks around it are no part of it, and a
    // companion key missing takes its documented default.
    void foldersAsEveryPartReadsThem_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("thumbnails");
        QTest::addColumn<QString>("copies");
        QTest::newRow("none of the keys") << QByteArray() << ""
                                          << "";
        QTest::newRow("a thumbnail folder with blanks")
            << QByteArray("THUMBDIR=t|20| thumbs ") << "thumbs"
            << "";
        QTest::newRow("copies without COPYDIR") << QByteArray("COPYSIZE=c|5|2048") << ""
                                                << "web";
        QTest::newRow("copies with an empty COPYDIR")
            << QByteArray("COPYSIZE=c|5|2048\r\nCOPYDIR=d|20|") << ""
            << "web";
        QTest::newRow("COPYDIR without copies") << QByteArray("COPYDIR=d|20|big") << ""
                                                << "";
    }
    void foldersAsEveryPartReadsThem()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, thumbnails);
        QFETCH(QString, copies);
        const cOption options = store(lines);
        QCOMPARE(cSettings(options).thumbnailFolder(), thumbnails);
        QCOMPARE(cSettings(options).copyFolder(), copies);
    }

private:
    cOption store(const QByteArray &lines)
    {
        const QString path = m_dir.filePath("QDX.ini");
        cTestFiles::write(path, "[Program]\r\n" + lines + "\r\n");
        cOption options;
        options.iniread(path);
        // The reader trims the line; a value's own blanks are kept as the dialog stores them.
        for (const QByteArray &line : lines.split('\n')) {
            const QList<QByteArray> parts = line.trimmed().split('|');
            if (parts.size() == 3 && parts.at(2) != parts.at(2).trimmed())
                options.chgStrVal(QString::fromUtf8(line.left(line.indexOf('='))),
                                  QString::fromUtf8(line.trimmed().split('|').at(2)));
        }
        return options;
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
