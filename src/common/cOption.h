#pragma once

#include "common/cIniFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The settings of the program: every key of the settings file with its description, length field
// and value, all text. Look-ups ignore letter case; key names are unique over the whole file.
// Errors reach the caller as cError.
class cOption
{
public:
    // Loads the file, replacing anything loaded before. A missing file loads nothing; returns
    // whether the file was there. Stops with a duplicate-key, type-mismatch or overflow error at
    // the key that causes it, keeping what was read before.
    // error, when given, says why the file could not be read.
    bool iniread(const QString &path, cError *error = nullptr);
    // Writes every key back to the file in one atomic replacement; false when that failed, which
    // the log and the user hear of once until a write succeeds again.
    bool iniwrite();

    QString iniPath() const { return m_iniPath; }
    QStringList getSections() const { return m_sectionList; }
    QStringList getKeyForSection(const QString &section) const;

    bool hasKey(const QString &key) const { return text(key, Value); }
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
    // A key name as the index holds it: compared and hashed ignoring ASCII case, never copied.
    struct Name
    {
        QString text;
        bool operator==(const Name &other) const;
    };
    friend size_t qHash(const Name &name, size_t seed);
    enum Field { Value, Len, Text, fieldCount };
    // A key's three texts, each missing until it is put.
    struct Entry
    {
        QString texts[fieldCount];
        bool held[fieldCount] = {};
        bool changed = false;
        qsizetype listed = -1; // its place in the key list, which keys loaded whole have
    };

    // The text, or null when the key or the field is missing.
    const QString *text(const QString &key, Field field) const;
    QString find(const QString &key, Field field) const;
    // Returns the key's entry.
    qsizetype put(const QString &key, Field field, const QString &text);
    // Loads a key and what follows its "=" (null for a line without one); returns whether the
    // line holds the key as a write would put it.
    bool loadKey(const QString &section, const QString &key, const QString *rest);
    QList<cIniFile::Write> keyWrites(bool changedOnly) const;
    void changed();

    QString m_iniPath;
    QStringList m_sectionList;
    QStringList m_keySection;
    QStringList m_keyList;
    std::vector<qsizetype> m_keyEntries; // the entry of each key of the list
    // An entry's number, as the index holds it; a name just put into the index has none yet.
    struct EntryNumber
    {
        qsizetype number = -1;
    };
    QHash<Name, EntryNumber> m_index;
    std::vector<Entry> m_entries;

    // The file as the last successful iniwrite left it, and the keys changed since: while the
    // file still holds those bytes, writing the other keys again would change nothing.
    QByteArray m_writtenBytes;
    bool m_written = false;
    bool m_writeFailureSaid = false;
    std::vector<qsizetype> m_changed;
    quint64 m_generation = 0;
};

// The one store that every window shares for the life of the process.
extern cOption gOption;
