#include "cOption.h"

#include "cError.h"
#include "modUtil1.h"

#include <iterator>

cOption gOption;

namespace {
// The text without the spaces and tabs at its start (leading) or its end.
QString withoutBlanks(const QString &text, bool leading)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    if (leading) {
        while (begin < end && blank(text.at(begin)))
            ++begin;
    } else {
        while (end > begin && blank(text.at(end - 1)))
            --end;
    }
    return begin == 0 && end == text.size() ? text : text.sliced(begin, end - begin);
}
} // namespace

bool cOption::iniread(const QString &path, QString *reason)
{
    *this = cOption();
    changed();
    m_iniPath = path;
    bool found = false;
    const QList<cIniFile::Section> sections = cIniFile::read(path, &found, reason);
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
    // The written line starts with the description and ends with the value, and a line's edges
    // lose their blanks when read: dropped here too, what is loaded is what a rewrite keeps.
    const QString text = withoutBlanks(modUtil1::getToken(rest, QLatin1Char('|'), 1), true);
    const QString len = modUtil1::getToken(rest, QLatin1Char('|'), 2);
    const QString value = withoutBlanks(modUtil1::getToken(rest, QLatin1Char('|'), 3), false);
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
    // Keys go out section by section in the order of the section list; a name listed twice is
    // written once, with all its keys at its first listing.
    QHash<QString, qsizetype> firstListing;
    for (qsizetype i = m_sectionList.size() - 1; i >= 0; --i)
        firstListing.insert(m_sectionList.at(i), i);
    QList<QList<qsizetype>> keysOfSection(m_sectionList.size());
    const QString *lastSection = nullptr;
    qsizetype listing = 0;
    for (qsizetype i = 0; i < m_keySection.size(); ++i) {
        if (changedOnly && !m_changed.contains(Name{m_keyList.at(i)}))
            continue;
        if (!lastSection || *lastSection != m_keySection.at(i)) {
            lastSection = &m_keySection.at(i);
            listing = firstListing.value(*lastSection);
        }
        keysOfSection[listing].append(i);
    }
    QList<cIniFile::Write> writes;
    writes.reserve(changedOnly ? m_changed.size() : m_keySection.size());
    const QChar bar = QLatin1Char('|');
    for (qsizetype listing = 0; listing < keysOfSection.size(); ++listing) {
        for (const qsizetype i : keysOfSection.at(listing)) {
            const Name key{m_keyList.at(i)};
            writes.append(
                {m_sectionList.at(listing), key.text,
                 m_textMap.value(key) + bar + m_lenMap.value(key) + bar + m_valueMap.value(key)});
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
    auto entry = m_valueMap.find(Name{key});
    if (entry == m_valueMap.end())
        throw cError::invalidArgument();
    // A line break would end the key's line in the file and start a line of its own.
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        throw cError::invalidArgument();
    if (*entry != value) {
        *entry = value;
        m_changed.insert(Name{key});
        changed();
    }
}

qint16 cOption::getIntVal(const QString &key) const
{
    const auto entry = m_valueMap.constFind(Name{key});
    if (entry == m_valueMap.constEnd())
        return 0;
    // Plain whole numbers are the common case and are read here without the general parser.
    const QString &text = *entry;
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype digits = text.size() - (negative ? 1 : 0);
    if (digits > 0 && digits <= 5) {
        int number = 0;
        bool plain = true;
        for (qsizetype i = negative ? 1 : 0; plain && i < text.size(); ++i) {
            const char16_t unit = text.at(i).unicode();
            plain = unit >= '0' && unit <= '9';
            number = number * 10 + (unit - '0');
        }
        if (plain) {
            number = negative ? -number : number;
            return (number < -32768 || number > 32767) ? 0 : qint16(number);
        }
    }
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

namespace {
char16_t folded(QChar c)
{
    const char16_t unit = c.unicode();
    return (unit >= 'A' && unit <= 'Z') ? char16_t(unit + ('a' - 'A')) : unit;
}
} // namespace

bool cOption::Name::operator==(const Name &other) const
{
    if (text.size() != other.text.size())
        return false;
    if (text == other.text) // the usual case: the same spelling
        return true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (folded(text.at(i)) != folded(other.text.at(i)))
            return false;
    }
    return true;
}

size_t qHash(const cOption::Name &name, size_t seed)
{
    // Folded on the stack, so the look-ups of the page writer's hot loop allocate nothing.
    char16_t buffer[64];
    const qsizetype length = name.text.size();
    if (length > qsizetype(std::size(buffer))) {
        size_t hash = seed;
        for (const QChar c : name.text)
            hash = (hash ^ folded(c)) * 1099511628211ULL;
        return hash;
    }
    for (qsizetype i = 0; i < length; ++i)
        buffer[i] = folded(name.text.at(i));
    return qHash(QStringView(buffer, length), seed);
}

QString cOption::find(const Map &map, const QString &key)
{
    const auto entry = map.constFind(Name{key});
    if (entry == map.constEnd())
        throw cError::invalidArgument();
    return *entry;
}

void cOption::add(Map &map, const QString &key, const QString &value)
{
    if (map.contains(Name{key}))
        throw cError::duplicateKey();
    map.insert(Name{key}, value);
    changed();
}

void cOption::changed()
{
    // One count for every store: a fresh store after a load never repeats an earlier number.
    static quint64 changes = 0;
    m_generation = ++changes;
}
