#include "cOption.h"

#include "cError.h"
#include "cIniFile.h"
#include "modUtil1.h"

#include <QSet>

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
    putStrVal(key, value);
    if (!len.isEmpty())
        putLen(key, modUtil1::toInt16(len));
    else
        putLenStr(key, len);
    putText(key, text);
    m_keySection.append(section);
}

bool cOption::iniwrite() const
{
    QList<cIniFile::Write> writes;
    writes.reserve(m_keySection.size());
    for (const QString &section : m_sectionList) {
        for (const QString &key : getKeyForSection(section))
            writes.append({section, key,
                           getText(key) + QLatin1Char('|') + getLen(key) + QLatin1Char('|') +
                               getStrVal(key)});
    }
    return cIniFile::write(m_iniPath, writes);
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
    if (*entry != value)
        *entry = value;
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
