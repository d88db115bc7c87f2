#pragma once

#include "cIniFile.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The settings of the program: every key of the settings file with its description, length field
// and value, all text. Look-ups ignore letter case; key names are unique over the whole file.
// Errors reach the caller as cError.
class cOption
{
public:
    // Loads the file, replacing anything loaded before. A missing file loads nothing; returns
    // whether the file was there. Stops with a duplicate-key, type-mismatch or overflow error at
    // the key that causes it, keeping what was read before.
    // reason, when given, says why a file that is there could not be read.
    bool iniread(const QString &path, QString *reason = nullptr);
    // Writes every key back to the file in one atomic replacement; false when that failed.
    bool iniwrite();

    QString iniPath() const { return m_iniPath; }
    QStringList getSections() const { return m_sectionList; }
    QStringList getKeyForSection(const QString &section) const;

    bool hasKey(const QString &key) const { return m_valueMap.contains(Name{key}); }
    QString getStrVal(const QString &key) const;
    // Throws an invalid-argument cError for a missing key or a value holding CR or LF.
    void chgStrVal(const QString &key, const QString &value);
    qint16 getIntVal(const QString &key) const;
    QString getLen(const QString &key) const;
    QString getText(const QString &key) const;

    void putStrVal(const QString &key, const QString &value);
    void putLen(const QString &key, qint16 length);
    void putLenStr(const QString &key, const QString &length);
    void putText(const QString &key, const QString &text);

    // Grows with every change of any store, so a reader that saw the same number has nothing to
    // look up again.
    quint64 generation() const { return m_generation; }

private:
    // A key name as the maps hold it: compared and hashed ignoring ASCII case, never copied.
    struct Name
    {
        QString text;
        bool operator==(const Name &other) const;
    };
    friend size_t qHash(const Name &name, size_t seed);
    using Map = QHash<Name, QString>;

    static QString find(const Map &map, const QString &key);
    void add(Map &map, const QString &key, const QString &value);
    void changed();
    void loadLine(const QString &section, const QString &line);
    QList<cIniFile::Write> keyWrites(bool changedOnly) const;

    QString m_iniPath;
    QStringList m_sectionList;
    QStringList m_keySection;
    QStringList m_keyList;
    Map m_valueMap;
    Map m_lenMap;
    Map m_textMap;

    // The file as the last successful iniwrite left it, and the keys changed since: while the
    // file still holds those bytes, writing the other keys again would change nothing.
    QByteArray m_writtenBytes;
    bool m_written = false;
    QSet<Name> m_changed;
    quint64 m_generation = 0;
};

// The one store that every window shares for the life of the process.
extern cOption gOption;
