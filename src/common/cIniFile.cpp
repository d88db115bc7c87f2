#include "cIniFile.h"

#include "cAtomicFile.h"
#include "cCodePage.h"
#include "cRegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace {

// The file is worked on as bytes: every character that shapes a line ("[", "]", "=", ";",
// blanks, line ends) is ASCII, which code page 1252 and UTF-8 keep as it is, so only names and
// values are ever decoded, in the one encoding the whole file is in.
const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray crlf("\r\n");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

// A name as a hash key that matches ignoring ASCII case, without copying it: the bytes it views
// belong to the document.
struct NoCase
{
    QByteArrayView name;
};

char folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool operator==(NoCase a, NoCase b)
{
    if (a.name.size() != b.name.size())
        return false;
    for (qsizetype i = 0; i < a.name.size(); ++i) {
        if (folded(a.name.at(i)) != folded(b.name.at(i)))
            return false;
    }
    return true;
}

size_t qHash(NoCase key, size_t seed = 0)
{
    size_t hash = seed ^ 1469598103934665603ULL;
    for (const char c : key.name)
        hash = (hash ^ uchar(folded(c))) * 1099511628211ULL;
    return hash;
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
    const QByteArrayView line = trimBlanks(raw);
    if (line.isEmpty() || line.front() == ';')
        return parsed;
    if (line.front() == '[') {
        const qsizetype close = line.indexOf(']');
        parsed.kind = ParsedLine::Header;
        parsed.name = trimBlanks(close < 0 ? line.sliced(1) : line.sliced(1, close - 1));
        return parsed;
    }
    const qsizetype equals = line.indexOf('=');
    parsed.hasEquals = equals >= 0;
    parsed.name = trimBlanks(parsed.hasEquals ? line.first(equals) : line);
    if (parsed.hasEquals)
        parsed.value = trimBlanks(line.sliced(equals + 1));
    // A line without a key name ("=value") is no key: it is neither loaded nor written to.
    if (!parsed.name.isEmpty())
        parsed.kind = ParsedLine::Key;
    return parsed;
}

struct RawLine
{
    QByteArrayView text;
    QByteArrayView end;
    QByteArray replaced; // the new text of a line that was written
    bool isReplaced = false;

    QByteArrayView current() const { return isReplaced ? QByteArrayView(replaced) : text; }
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
        use(RawLine{all.sliced(start, end - start), all.sliced(end, endLength), {}, false});
        start = end + endLength;
    }
}

QByteArrayView withoutBom(const QByteArray &bytes)
{
    return QByteArrayView(bytes).sliced(bytes.startsWith(utf8Bom) ? utf8Bom.size() : 0);
}

// Whether bytes of the file hold exactly this text, without encoding it when it is plain ASCII.
bool holds(QByteArrayView bytes, const QString &text, cCodePage::Kind kind)
{
    if (bytes.size() != text.size())
        return bytes == QByteArrayView(cCodePage::encode(text, kind));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit >= 0x80)
            return bytes == QByteArrayView(cCodePage::encode(text, kind));
        if (uchar(bytes.at(i)) != unit)
            return false;
    }
    return true;
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
    QList<RawLine> lines;
    qsizetype lastKeyLine = 0;
};

// Where a key line stands: its section block and its line in it.
struct Place
{
    qsizetype block;
    qsizetype line;
};

class Document
{
public:
    // Only the keys to be written are looked for: a file of many keys costs one pass.
    Document(const QByteArray &bytes, cCodePage::Kind kind, const QList<cIniFile::Write> &writes)
        : m_bytes(bytes), m_kind(kind)
    {
        m_bom = bytes.startsWith(utf8Bom);
        QHash<NoCase, bool> wanted;
        for (const cIniFile::Write &write : writes) {
            m_names.append(encode(write.key, kind));
            wanted.insert(NoCase{m_names.last()}, true);
        }
        m_blocks.append(Block());
        forEachLine(m_bytes, [&](const RawLine &line) {
            const ParsedLine parsed = parseLine(line.text);
            if (parsed.kind == ParsedLine::Header) {
                m_blocks.append(Block());
                // New keys go to the first section of a name, as the profile functions do.
                if (!m_sections.contains(NoCase{parsed.name}))
                    m_sections.insert(NoCase{parsed.name}, m_blocks.size() - 1);
            }
            Block &block = m_blocks.last();
            block.lines.append(line);
            if (parsed.kind == ParsedLine::Key && m_blocks.size() > 1) {
                block.lastKeyLine = block.lines.size() - 1;
                // A key is loaded from its first line in the file, and written back there, even
                // where its section's name or the key itself comes again further down.
                if (wanted.contains(NoCase{parsed.name}) && !m_keys.contains(NoCase{parsed.name}))
                    m_keys.insert(NoCase{parsed.name},
                                  {m_blocks.size() - 1, block.lines.size() - 1});
            }
        });
    }

    void write(const cIniFile::Write &write)
    {
        const QByteArray key = encode(write.key, m_kind);
        const auto existing = m_keys.constFind(NoCase{key});
        if (existing != m_keys.constEnd()) {
            RawLine &line = m_blocks[existing->block].lines[existing->line];
            const ParsedLine parsed = parseLine(line.current());
            if (parsed.hasEquals && holds(parsed.value, write.value, m_kind))
                return;
            // The file's spelling of the key name stays.
            line.replaced = parsed.name.toByteArray() + '=' + encode(write.value, m_kind);
            line.isReplaced = true;
            return;
        }
        if (m_lastSection.isNull() || m_lastSection != write.section) {
            m_lastSection = write.section;
            m_lastBlock = findOrAddSection(encode(write.section, m_kind));
        }
        Block &block = m_blocks[m_lastBlock];
        const qsizetype at = block.lastKeyLine + 1;
        if (block.lines.at(at - 1).end.isEmpty())
            block.lines[at - 1].end = crlf;
        block.lines.insert(at, newLine(key + '=' + encode(write.value, m_kind)));
        m_names.append(key);
        block.lastKeyLine = at;
        // Only lines without a key follow the last key line, so no known place moves.
        m_keys.insert(NoCase{m_names.last()}, {m_lastBlock, at});
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
        for (const Block &block : m_blocks) {
            for (const RawLine &line : block.lines) {
                add(line.current());
                add(line.end);
            }
        }
        if (runStart)
            out.append(runStart, runEnd - runStart);
        return out;
    }

private:
    qsizetype findOrAddSection(const QByteArray &name)
    {
        const auto section = m_sections.constFind(NoCase{name});
        if (section != m_sections.constEnd())
            return *section;
        endLastLine();
        Block block;
        block.lines.append(newLine('[' + name + ']'));
        m_blocks.append(block);
        m_names.append(name);
        m_sections.insert(NoCase{m_names.last()}, m_blocks.size() - 1);
        return m_blocks.size() - 1;
    }

    static RawLine newLine(const QByteArray &text) { return {QByteArrayView(), crlf, text, true}; }

    void endLastLine()
    {
        for (auto block = m_blocks.rbegin(); block != m_blocks.rend(); ++block) {
            if (block->lines.isEmpty())
                continue;
            if (block->lines.last().end.isEmpty())
                block->lines.last().end = crlf;
            return;
        }
    }

    QByteArray m_bytes;
    cCodePage::Kind m_kind;
    bool m_bom = false;
    QString m_lastSection;
    qsizetype m_lastBlock = 0;
    QList<Block> m_blocks;
    QHash<NoCase, qsizetype> m_sections;
    QHash<NoCase, Place> m_keys;
    QList<QByteArray> m_names; // names of added sections and keys, viewed by the hashes
};

} // namespace

QList<cIniFile::Section> cIniFile::read(const QString &path, bool *found, QString *reason)
{
    return parse(load(path, found, reason));
}

QByteArray cIniFile::load(const QString &path, bool *found, QString *reason)
{
    QFile file;
    const cRegularFile::Outcome outcome = cRegularFile::open(file, path, reason);
    if (found)
        *found = outcome == cRegularFile::Opened;
    return outcome == cRegularFile::Opened ? file.readAll() : QByteArray();
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

bool cIniFile::save(const QString &path, const QByteArray &bytes)
{
    cAtomicFile file(path);
    if (!file.open())
        return false;
    // A short write (a file size limit, a full disk) must not replace the file.
    if (file.file().write(bytes) != bytes.size()) {
        file.discard();
        return false;
    }
    if (!file.commit(true))
        return false;
    cAtomicFile::removeStale(file.target().absolutePath(), {file.target().fileName()});
    return true;
}
