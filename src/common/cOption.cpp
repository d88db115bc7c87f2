#include "common/cOption.h"

#include "common/cError.h"
#include "common/modUtil1.h"

#include <algorithm>
#include <iterator>
#include <numeric>

cOption gOption;

namespace {
// The length field as the store keeps it: a whole number written plainly, as loaded files nearly
// always have it, is kept as it is; any other is read as a number and written anew.
QString lengthText(QStringView len)
{
    const bool plain = len.size() <= 4 && !len.startsWith(QLatin1Char('0')) &&
                       std::all_of(len.begin(), len.end(),
                                   [](QChar c) { return c.isDigit() && c.unicode() < 0x80; });
    if (len.isEmpty() || plain)
        return len.toString();
    return QString::number(modUtil1::toInt16(len.toString()));
}
} // namespace

bool cOption::iniread(const QString &path, cError *error)
{
    *this = cOption();
    changed();
    m_iniPath = path;
    cError opened;
    const QByteArray bytes = cIniFile::load(path, &opened);
    if (error)
        *error = opened;
    const bool found = !opened.failed();
    const qsizetype lines = std::count(bytes.cbegin(), bytes.cend(), '\n') + 1;
    m_index.reserve(lines);
    m_entries.reserve(size_t(lines));
    // While every line holds its key as a write would put it, the file is what writing every key
    // would leave, so a first write need only write the keys changed since.
    bool asWritten = found;
    cIniFile::scan(
        bytes, [this](const QString &name) { m_sectionList.append(name); },
        [&](const QString &key, const QString *rest) {
            asWritten = loadKey(m_sectionList.last(), key, rest) && asWritten;
        });
    m_written = asWritten;
    m_writtenBytes = asWritten ? bytes : QByteArray();
    return found;
}

bool cOption::loadKey(const QString &section, const QString &key, const QString *rest)
{
    const QStringView all = rest ? QStringView(*rest) : QStringView();
    // The written line starts with the description and ends with the value, and a line's edges
    // lose their blanks when read: dropped here too, what is loaded is what a rewrite keeps.
    const QStringView text =
        modUtil1::withoutBlanks(modUtil1::tokenOf(all, QLatin1Char('|'), 1), true, false);
    const QStringView len = modUtil1::tokenOf(all, QLatin1Char('|'), 2);
    const QStringView value =
        modUtil1::withoutBlanks(modUtil1::tokenOf(all, QLatin1Char('|'), 3), false, true);
    // One search a key: its entry is new, so its other texts are put straight in.
    const qsizetype entry = put(key, Value, value.toString());
    m_keyList.append(key);
    m_keyEntries.push_back(entry);
    Entry &texts = m_entries[size_t(entry)];
    texts.texts[Len] = lengthText(len);
    texts.held[Len] = true;
    texts.texts[Text] = text.toString();
    texts.held[Text] = true;
    m_keySection.append(section);
    // Only a key loaded whole is written back, as the section it was found in is known.
    texts.listed = m_keySection.size() - 1;
    // As written, the line holds exactly "text|len|value".
    const qsizetype textEnd = texts.texts[Text].size();
    const qsizetype lenEnd = textEnd + 1 + texts.texts[Len].size();
    return rest && all.size() == lenEnd + 1 + texts.texts[Value].size() &&
           all.startsWith(texts.texts[Text]) && all.at(textEnd) == QLatin1Char('|') &&
           all.sliced(textEnd + 1, lenEnd - textEnd - 1) == texts.texts[Len] &&
           all.at(lenEnd) == QLatin1Char('|') && all.sliced(lenEnd + 1) == texts.texts[Value];
}

bool cOption::iniwrite()
{
    cError opened;
    const QByteArray current = cIniFile::load(m_iniPath, &opened);
    const bool found = !opened.failed();
    const bool untouched = found && m_written && current == m_writtenBytes;
    const QByteArray bytes = cIniFile::apply(current, keyWrites(untouched));
    const cError written = found && bytes == current ? cError() : cIniFile::save(m_iniPath, bytes);
    if (written.failed()) {
        // Said once, not at every keystroke of a folder field, until a write succeeds again.
        if (!m_writeFailureSaid)
            modUtil1::writeLog(false, 0,
                               QStringLiteral("iniwrite: the settings could not be written to ") +
                                   m_iniPath + QStringLiteral(": ") + written.description());
        m_writeFailureSaid = true;
        return false;
    }
    m_writeFailureSaid = false;
    m_writtenBytes = bytes;
    m_written = true;
    for (const qsizetype entry : m_changed)
        m_entries[size_t(entry)].changed = false;
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
    // The keys in list order: all of them, or those changed, found without a pass over all.
    std::vector<qsizetype> keys;
    if (changedOnly) {
        for (const qsizetype entry : m_changed) {
            if (m_entries[size_t(entry)].listed >= 0)
                keys.push_back(m_entries[size_t(entry)].listed);
        }
        std::sort(keys.begin(), keys.end());
    } else {
        keys.resize(size_t(m_keySection.size()));
        std::iota(keys.begin(), keys.end(), 0);
    }
    QList<QList<qsizetype>> keysOfSection(m_sectionList.size());
    const QString *lastSection = nullptr;
    qsizetype listing = 0;
    for (const qsizetype i : keys) {
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
            const Entry &entry = m_entries[m_keyEntries[size_t(i)]];
            writes.append({m_sectionList.at(listing), m_keyList.at(i),
                           entry.texts[Text] + bar + entry.texts[Len] + bar + entry.texts[Value]});
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
    return find(key, Value);
}

void cOption::chgStrVal(const QString &key, const QString &value)
{
    const auto entry = m_index.constFind(Name{key});
    if (entry == m_index.constEnd() || !m_entries[size_t(entry->number)].held[Value])
        throw cError::invalidArgument();
    // A line break would end the key's line in the file and start a line of its own.
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        throw cError::invalidArgument();
    Entry &changedEntry = m_entries[size_t(entry->number)];
    if (changedEntry.texts[Value] != value) {
        changedEntry.texts[Value] = value;
        if (!changedEntry.changed)
            m_changed.push_back(entry->number);
        changedEntry.changed = true;
        changed();
    }
}

qint16 cOption::getIntVal(const QString &key) const
{
    const QString *value = text(key, Value);
    if (!value)
        return 0;
    // Plain whole numbers are the common case and are read here without the general parser.
    const QString &text = *value;
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
        return modUtil1::toInt16(text);
    } catch (const cError &) {
        return 0;
    }
}

QString cOption::getLen(const QString &key) const
{
    return find(key, Len);
}

QString cOption::getText(const QString &key) const
{
    return find(key, Text);
}

void cOption::putStrVal(const QString &key, const QString &value)
{
    put(key, Value, value);
}

void cOption::putLen(const QString &key, qint16 length)
{
    put(key, Len, QString::number(length));
}

void cOption::putLenStr(const QString &key, const QString &length)
{
    put(key, Len, length);
}

void cOption::putText(const QString &key, const QString &text)
{
    put(key, Text, text);
}

bool cOption::Name::operator==(const Name &other) const
{
    if (text.size() != other.text.size())
        return false;
    if (text == other.text) // the usual case: the same spelling
        return true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (modUtil1::foldCase(text.at(i)) != modUtil1::foldCase(other.text.at(i)))
            return false;
    }
    return true;
}

size_t qHash(const cOption::Name &name, size_t seed)
{
    return modUtil1::foldedHash(name.text, seed);
}

const QString *cOption::text(const QString &key, Field field) const
{
    const auto entry = m_index.constFind(Name{key});
    if (entry == m_index.constEnd())
        return nullptr;
    const Entry &held = m_entries[size_t(entry->number)];
    return held.held[field] ? &held.texts[field] : nullptr;
}

QString cOption::find(const QString &key, Field field) const
{
    const QString *found = text(key, field);
    if (!found)
        throw cError::invalidArgument();
    return *found;
}

qsizetype cOption::put(const QString &key, Field field, const QString &text)
{
    EntryNumber &entry = m_index[Name{key}];
    if (entry.number < 0) {
        entry.number = qsizetype(m_entries.size());
        m_entries.emplace_back();
    }
    Entry &held = m_entries[size_t(entry.number)];
    if (held.held[field])
        throw cError::duplicateKey();
    held.texts[field] = text;
    held.held[field] = true;
    changed();
    return entry.number;
}

void cOption::changed()
{
    // One count for every store: a fresh store after a load never repeats an earlier number.
    static quint64 changes = 0;
    m_generation = ++changes;
}
