#include "cOption.h"

#include "cError.h"
#include "modUtil1.h"

cOption gOption;

bool cOption::iniread(const QString &path)
{
    *this = cOption();
    m_iniPath = path;
    bool found = false;
    const QList<cIniFile::Section> sections = cIniFile::read(path, &found);
    for (const cIniFile::Section &section : sections) {
        m_sectionList.append(section.name);
        for (const QString &line : section.lines)
            loadLine(section.name, line);
    }
    return found;
}

void cOption::loadLine(const QString &section, const QString &line)
{
    const QString key = modUtil1::getToken(line, QLatin1Char('='), 1);
    const QString rest = line.mid(key.size() + 1);
    const QString text = modUtil1::getToken(rest, QLatin1Char('|'), 1);
    const QString len = modUtil1::getToken(rest, QLatin1Char('|'), 2);
    const QString value = modUtil1::getToken(rest, QLatin1Char('|'), 3);
    if (hasKey(key))
        throw cError::duplicateKey();
    m_keyList.append(key);
    m_foldedKeys.append(norm(key));
    putStrVal(key, value);
    if (!len.isEmpty())
        putLen(key, modUtil1::toInt16(len));
    else
        putLenStr(key, len);
    putText(key, text);
    m_keySection.append(section);
}

bool cOption::iniwrite()
{
    bool found = false;
    const QByteArray current = cIniFile::load(m_iniPath, &found);
    const bool untouched = found && m_written && current == m_writtenBytes;
    const QByteArray bytes = cIniFile::apply(current, keyWrites(untouched));
    if (!(found && bytes == current) && !cIniFile::save(m_iniPath, bytes))
        return false;
    m_writtenBytes = bytes;
    m_written = true;
    m_changed.clear();
    return true;
}

QList<cIniFile::Write> cOption::keyWrites(bool changedOnly) const
{
    QList<cIniFile::Write> writes;
    QHash<QString, QList<qsizetype>> keysOfSection;
    for (qsizetype i = 0; i < m_keySection.size(); ++i) {
        if (!changedOnly || m_changed.contains(m_foldedKeys.at(i)))
            keysOfSection[m_keySection.at(i)].append(i);
    }
    writes.reserve(m_keySection.size());
    const QChar bar = QLatin1Char('|');
    for (const QString &section : m_sectionList) {
        // A section name listed twice is written once: its keys are all in the first listing.
        for (const qsizetype i : keysOfSection.take(section)) {
            const QString &folded = m_foldedKeys.at(i);
            writes.append({section, m_keyList.at(i),
                           m_textMap.value(folded) + bar + m_lenMap.value(folded) + bar +
                               m_valueMap.value(folded)});
        }
    }
    return writes;
}

QStringList cOption::getKeyForSection(const QString &section) const
{
    QStringList keys;
    for (qsizetype i = 0; i < m_keySection.size(); ++i) {
        if (m_keySection.at(i) == section)
            keys.append(m_keyList.at(i));
    }
    return keys;
}

QString cOption::getStrVal(const QString &key) const
{
    return find(m_valueMap, key);
}

void cOption::chgStrVal(const QString &key, const QString &value)
{
    auto entry = m_valueMap.find(norm(key));
    if (entry == m_valueMap.end())
        throw cError::invalidArgument();
    if (*entry != value) {
        *entry = value;
        m_changed.insert(entry.key());
    }
}

qint16 cOption::getIntVal(const QString &key) const
{
    const auto entry = m_valueMap.constFind(norm(key));
    if (entry == m_valueMap.constEnd())
        return 0;
    try {
        return modUtil1::toInt16(*entry);
    } catch (const cError &) {
        return 0;
    }
}

QString cOption::getLen(const QString &key) const
{
    return find(m_lenMap, key);
}

QString cOption::getText(const QString &key) const
{
    return find(m_textMap, key);
}

void cOption::putStrVal(const QString &key, const QString &value)
{
    add(m_valueMap, key, value);
}

void cOption::putLen(const QString &key, qint16 length)
{
    add(m_lenMap, key, QString::number(length));
}

void cOption::putLenStr(const QString &key, const QString &length)
{
    add(m_lenMap, key, length);
}

void cOption::putText(const QString &key, const QString &text)
{
    add(m_textMap, key, text);
}

QString cOption::norm(const QString &key)
{
    return modUtil1::foldCase(key);
}

QString cOption::find(const QHash<QString, QString> &map, const QString &key)
{
    const auto entry = map.constFind(norm(key));
    if (entry == map.constEnd())
        throw cError::invalidArgument();
    return *entry;
}

void cOption::add(QHash<QString, QString> &map, const QString &key, const QString &value)
{
    if (map.contains(norm(key)))
        throw cError::duplicateKey();
    map.insert(norm(key), value);
}
