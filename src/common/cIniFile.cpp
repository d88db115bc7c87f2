#include "common/cIniFile.h"

#include "common/cAtomicFile.h"
#include "common/cCodePage.h"
#include "common/cRegularFile.h"
#include "common/modUtil1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>

namespace {

// The file is worked on as bytes: every character that shapes a line ("[", "]", "=", ";",
// blanks, line ends) is ASCII, which code page 1252 and UTF-8 keep as it is, so only names and
// values are ever decoded, in the one encoding the whole file is in.
const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray crlf("\r\n");

// A name as a hash key that matches ignoring ASCII case, without copying it: the bytes it views
// belong to the document.
struct NoCase
{
    QByteArrayView name;
};

bool operator==(NoCase a, NoCase b)
{
    if (a.name.size() != b.name.size())
        return false;
    for (qsizetype i = 0; i < a.name.size(); ++i) {
        if (modUtil1::foldCase(a.name.at(i)) != modUtil1::foldCase(b.name.at(i)))
            return false;
    }
    return true;
}

size_t qHash(NoCase key, size_t seed = 0)
{
    return modUtil1::foldedHash(key.name, seed);
}

struct ParsedLine
{
    enum Kind { Other, Header, Key };
    Kind kind = Other;
    QByteArrayView name; // section name or key name
    QByteArrayView value;
    bool hasEquals = false;
};

ParsedLine parseLine(QByteArrayView raw)
{
    ParsedLine parsed;
    const QByteArrayView line = modUtil1::withoutBlanks(raw);
    if (line.isEmpty() || line.front() == ';')
        return parsed;
    if (line.front() == '[') {
        const qsizetype close = line.indexOf(']');
        parsed.kind = ParsedLine::Header;
        parsed.name =
            modUtil1::withoutBlanks(close < 0 ? line.sliced(1) : line.sliced(1, close - 1));
        return parsed;
    }
    const qsizetype equals = line.indexOf('=');
    parsed.hasEquals = equals >= 0;
    parsed.name = modUtil1::withoutBlanks(parsed.hasEquals ? line.first(equals) : line);
    if (parsed.hasEquals)
        parsed.value = modUtil1::withoutBlanks(line.sliced(equals + 1));
    // A line without a key name ("=value") is no key: it is neither loaded nor written to.
    if (!parsed.name.isEmpty())
        parsed.kind = ParsedLine::Key;
    return parsed;
}

struct RawLine
{
    QByteArrayView text;
    QByteArrayView end;
};

// Hands each line with its own end to use; the views point into bytes, which must outlive them.
template <typename Use> void forEachLine(const QByteArray &bytes, Use use)
{
    const QByteArrayView all(bytes);
    qsizetype start = all.startsWith(utf8Bom) ? utf8Bom.size() : 0;
    while (start < all.size()) {
        // The next LF, and any CR before it: a CR alone ends a line too.
        const char *from = all.data() + start;
        const size_t rest = size_t(all.size() - start);
        const void *lfAt = std::memchr(from, '\n', rest);
        const qsizetype lf = lfAt ? static_cast<const char *>(lfAt) - all.data() : -1;
        const qsizetype searchEnd = lf < 0 ? all.size() : lf;
        const void *crAt = std::memchr(from, '\r', size_t(searchEnd - start));
        const qsizetype cr = crAt ? static_cast<const char *>(crAt) - all.data() : -1;
        qsizetype end = searchEnd;
        qsizetype endLength = lf < 0 ? 0 : 1;
        if (cr >= 0) {
            end = cr;
            endLength = cr + 1 == lf ? 2 : 1;
        }
        use(RawLine{all.sliced(start, end - start), all.sliced(end, endLength)});
        start = end + endLength;
    }
}

QByteArrayView withoutBom(const QByteArray &bytes)
{
    return QByteArrayView(bytes).sliced(bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0);
}

QByteArray encode(const QString &text, cCodePage::Kind kind)
{
    // Settings are mostly plain ASCII, which both encodings write as it is.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return cCodePage::encode(text, kind);
        *out++ = char(c.unicode());
    }
    return bytes;
}

// One section of the file being written (the lines before the first header form a nameless one).
struct Block
{
    qsizetype anchor = -1;   // the file's line after which new keys go: its last key line or header
    QByteArray header;       // the header of a section this write adds
    QList<QByteArray> added; // new key lines, in order
};

// Where a key line stands: a line of the file, or a line added to a block.
struct Place
{
    qsizetype line; // -1 for an added line
    qsizetype block;
    qsizetype added;
};

// The file as lines of its own bytes, with the writes kept beside them: a file of many keys costs
// one pass to read and one copy to write, however few keys change.
class Document
{
public:
    // Only the keys to be written are looked for.
    Document(const QByteArray &bytes, cCodePage::Kind kind, const QList<cIniFile::Write> &writes)
        : m_bytes(bytes), m_kind(kind)
    {
        m_bom = bytes.startsWith(utf8Bom);
        QSet<NoCase> wanted;
        for (const cIniFile::Write &write : writes) {
            m_names.append(encode(write.key, kind));
            wanted.insert(NoCase{m_names.last()});
        }
        m_lines.reserve(size_t(std::count(bytes.cbegin(), bytes.cend(), '\n') + 1));
        m_blocks.append(Block());
        forEachLine(m_bytes, [&](const RawLine &line) {
            const qsizetype number = qsizetype(m_lines.size());
            m_lines.push_back(line);
            const ParsedLine parsed = parseLine(line.text);
            if (parsed.kind == ParsedLine::Header) {
                m_blocks.append(Block{number, {}, {}});
                // New keys go to the first section of a name, as the profile functions do.
                if (!m_sections.contains(NoCase{parsed.name}))
                    m_sections.insert(NoCase{parsed.name}, m_blocks.size() - 1);
            } else if (parsed.kind == ParsedLine::Key && m_blocks.size() > 1) {
                m_blocks.last().anchor = number;
                // A key is loaded from its first line in the file, and written back there, even
                // where its section's name or the key itself comes again further down.
                if (wanted.contains(NoCase{parsed.name}) && !m_keys.contains(NoCase{parsed.name}))
                    m_keys.insert(NoCase{parsed.name}, {number, 0, 0});
            }
        });
    }

    void write(const cIniFile::Write &write)
    {
        const QByteArray key = encode(write.key, m_kind);
        const auto existing = m_keys.constFind(NoCase{key});
        if (existing != m_keys.constEnd()) {
            const ParsedLine parsed = parseLine(text(*existing));
            if (parsed.hasEquals && parsed.value == QByteArrayView(encode(write.value, m_kind)))
                return;
            // The file's spelling of the key name stays.
            QByteArray line = parsed.name.toByteArray() + '=' + encode(write.value, m_kind);
            if (existing->line >= 0)
                m_replaced.insert(existing->line, line);
            else
                m_blocks[existing->block].added[existing->added] = line;
            return;
        }
        if (m_lastSection.isNull() || m_lastSection != write.section) {
            m_lastSection = write.section;
            m_lastBlock = findOrAddSection(encode(write.section, m_kind));
        }
        Block &block = m_blocks[m_lastBlock];
        block.added.append(key + '=' + encode(write.value, m_kind));
        m_names.append(key);
        m_keys.insert(NoCase{m_names.last()}, {-1, m_lastBlock, block.added.size() - 1});
    }

    QByteArray bytes() const
    {
        QByteArray out;
        out.reserve(m_bytes.size() + m_bytes.size() / 8 + 64);
        if (m_bom)
            out += utf8Bom;
        // Lines that stand unchanged one after the other in the file go out in one copy.
        const char *runStart = nullptr;
        const char *runEnd = nullptr;
        const auto add = [&](QByteArrayView part) {
            if (part.isEmpty())
                return;
            if (runEnd && part.data() == runEnd) {
                runEnd += part.size();
                return;
            }
            if (runStart)
                out.append(runStart, runEnd - runStart);
            runStart = part.data();
            runEnd = runStart + part.size();
        };
        QHash<qsizetype, const Block *> addedAfter;
        bool newSections = false;
        for (const Block &block : m_blocks) {
            if (block.anchor >= 0 && !block.added.isEmpty())
                addedAfter.insert(block.anchor, &block);
            newSections = newSections || !block.header.isNull();
        }
        const auto addLines = [&](const QList<QByteArray> &lines) {
            for (const QByteArray &line : lines) {
                add(line);
                add(crlf);
            }
        };
        for (qsizetype number = 0; number < qsizetype(m_lines.size()); ++number) {
            const RawLine &line = m_lines[size_t(number)];
            add(text({number, 0, 0}));
            const Block *block = addedAfter.value(number);
            // Only the file's last line can lack an end; it gets one when something follows it.
            const bool followed = block || (newSections && number + 1 == qsizetype(m_lines.size()));
            add(line.end.isEmpty() && followed ? QByteArrayView(crlf) : line.end);
            if (block)
                addLines(block->added);
        }
        for (const Block &block : m_blocks) {
            if (block.header.isNull())
                continue;
            add(block.header);
            add(crlf);
            addLines(block.added);
        }
        if (runStart)
            out.append(runStart, runEnd - runStart);
        return out;
    }

private:
    QByteArrayView text(const Place &place) const
    {
        if (place.line < 0)
            return m_blocks[place.block].added[place.added];
        const auto replaced = m_replaced.constFind(place.line);
        return replaced != m_replaced.constEnd() ? QByteArrayView(*replaced)
                                                 : m_lines[size_t(place.line)].text;
    }

    qsizetype findOrAddSection(const QByteArray &name)
    {
        const auto section = m_sections.constFind(NoCase{name});
        if (section != m_sections.constEnd())
            return *section;
        m_blocks.append(Block{-1, '[' + name + ']', {}});
        m_names.append(name);
        m_sections.insert(NoCase{m_names.last()}, m_blocks.size() - 1);
        return m_blocks.size() - 1;
    }

    QByteArray m_bytes;
    cCodePage::Kind m_kind;
    bool m_bom = false;
    QString m_lastSection;
    qsizetype m_lastBlock = 0;
    std::vector<RawLine> m_lines;
    QList<Block> m_blocks;
    QHash<qsizetype, QByteArray> m_replaced;
    QHash<NoCase, qsizetype> m_sections;
    QHash<NoCase, Place> m_keys;
    QList<QByteArray> m_names; // names of added sections and keys, viewed by the hashes
};

} // namespace

QList<cIniFile::Section> cIniFile::read(const QString &path, cError *error)
{
    return parse(load(path, error));
}

QByteArray cIniFile::load(const QString &path, cError *error)
{
    QFile file;
    const cError opened = cRegularFile::open(file, path);
    if (error)
        *error = opened;
    return opened.failed() ? QByteArray() : file.readAll();
}

QList<cIniFile::Section> cIniFile::parse(const QByteArray &bytes)
{
    QList<Section> sections;
    scan(
        bytes,
        [&](const QString &name) {
            sections.append({name, {}});
        },
        [&](const QString &name, const QString *value) {
            sections.last().lines.append(value ? name + QLatin1Char('=') + *value : name);
        });
    return sections;
}

void cIniFile::scan(const QByteArray &bytes, const std::function<void(const QString &)> &section,
                    const std::function<void(const QString &, const QString *)> &key)
{
    const cCodePage::Kind kind = cCodePage::of(withoutBom(bytes));
    const auto decode = [kind](QByteArrayView text) { return cCodePage::decode(text, kind); };
    bool inSection = false;
    forEachLine(bytes, [&](const RawLine &line) {
        const ParsedLine parsed = parseLine(line.text);
        if (parsed.kind == ParsedLine::Header) {
            inSection = true;
            section(decode(parsed.name));
        } else if (parsed.kind == ParsedLine::Key && inSection) {
            const QString value = parsed.hasEquals ? decode(parsed.value) : QString();
            key(decode(parsed.name), parsed.hasEquals ? &value : nullptr);
        }
    });
}

namespace {
QByteArray applied(const QByteArray &bytes, cCodePage::Kind kind,
                   const QList<cIniFile::Write> &writes)
{
    if (writes.isEmpty())
        return bytes;
    Document document(bytes, kind, writes);
    for (const cIniFile::Write &write : writes)
        document.write(write);
    return document.bytes();
}

// The same file in UTF-8: every text reads as it did in code page 1252.
QByteArray asUtf8(const QByteArray &bytes)
{
    const QByteArrayView text = withoutBom(bytes);
    return bytes.first(bytes.size() - text.size()) +
           cCodePage::decode(text, cCodePage::Windows1252).toUtf8();
}

bool hasHighBytes(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
}
} // namespace

QByteArray cIniFile::apply(const QByteArray &original, const QList<Write> &writes)
{
    const cCodePage::Kind kind = cCodePage::of(withoutBom(original));
    if (kind == cCodePage::Utf8)
        return applied(original, kind, writes);
    // Code page 1252 moves to UTF-8, losing nothing, when it cannot hold a new text, and when
    // the rewrite drops the last bytes that told the file is not UTF-8: read as UTF-8, the rest
    // of it would then mean something else.
    const auto fits = [](const Write &write) {
        return cCodePage::canEncode(write.key, cCodePage::Windows1252) &&
               cCodePage::canEncode(write.value, cCodePage::Windows1252) &&
               cCodePage::canEncode(write.section, cCodePage::Windows1252);
    };
    if (std::all_of(writes.begin(), writes.end(), fits)) {
        const QByteArray bytes = applied(original, kind, writes);
        if (cCodePage::of(withoutBom(bytes)) == cCodePage::Windows1252 || !hasHighBytes(bytes))
            return bytes;
    }
    return applied(asUtf8(original), cCodePage::Utf8, writes);
}

cError cIniFile::save(const QString &path, const QByteArray &bytes)
{
    cAtomicFile file(path, cAtomicFile::WriteThroughLink);
    // A file the user made read-only stays as it is, though its folder would take a new one.
    const QFileInfo &target = file.target();
    if (target.exists() && (!target.isWritable() || !(target.permissions() & QFile::WriteOwner)))
        return cError(cError::PathFileAccess, QStringLiteral("The file is read-only"));
    const cError error = file.save(bytes, true);
    if (!error.failed())
        cAtomicFile::removeStale(target.absolutePath(), {target.fileName()});
    return error;
}
