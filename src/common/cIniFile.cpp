#include "cIniFile.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");
const QByteArray crlf("\r\n");

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text.at(begin) == QLatin1Char(' ') || text.at(begin) == QLatin1Char('\t')))
        ++begin;
    while (end > begin &&
           (text.at(end - 1) == QLatin1Char(' ') || text.at(end - 1) == QLatin1Char('\t')))
        --end;
    return text.mid(begin, end - begin);
}

struct ParsedLine
{
    enum Kind { Other, Header, Key };
    Kind kind = Other;
    QString name; // section name or key name
    QString value;
    bool hasEquals = false;
};

ParsedLine parseLine(const QString &raw)
{
    ParsedLine parsed;
    const QString line = trimBlanks(raw);
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
        return parsed;
    if (line.startsWith(QLatin1Char('['))) {
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        parsed.kind = ParsedLine::Header;
        parsed.name = trimBlanks(close < 0 ? line.mid(1) : line.mid(1, close - 1));
        return parsed;
    }
    parsed.kind = ParsedLine::Key;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    parsed.hasEquals = equals >= 0;
    parsed.name = trimBlanks(parsed.hasEquals ? line.left(equals) : line);
    parsed.value = parsed.hasEquals ? trimBlanks(line.mid(equals + 1)) : QString();
    return parsed;
}

struct RawLine
{
    QByteArray text;
    QByteArray end;
};

QList<RawLine> splitRaw(const QByteArray &bytes)
{
    QList<RawLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endLength = (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ? 2 : 1;
        lines.append({bytes.mid(start, i - start), bytes.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append({bytes.mid(start), QByteArray()});
    return lines;
}

QString decode(const QByteArray &text, bool first)
{
    const QByteArray body = first && text.startsWith(utf8Bom) ? text.mid(utf8Bom.size()) : text;
    return QString::fromLocal8Bit(body);
}

// One section of the file being written (the lines before the first header form a nameless one).
struct Block
{
    QList<RawLine> lines;
    QHash<QString, qsizetype> keyLines;
    qsizetype lastKeyLine = 0;
};

class Document
{
public:
    explicit Document(const QByteArray &bytes)
    {
        m_blocks.append(Block());
        const QList<RawLine> lines = splitRaw(bytes);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const ParsedLine parsed = parseLine(decode(lines.at(i).text, i == 0));
            if (parsed.kind == ParsedLine::Header) {
                m_blocks.append(Block());
                // Writes go to the first section of a name, as the profile functions do.
                if (!m_sections.contains(parsed.name.toLower()))
                    m_sections.insert(parsed.name.toLower(), m_blocks.size() - 1);
            }
            Block &block = m_blocks.last();
            block.lines.append(lines.at(i));
            if (parsed.kind == ParsedLine::Key && m_blocks.size() > 1) {
                block.keyLines.insert(parsed.name.toLower(), block.lines.size() - 1);
                block.lastKeyLine = block.lines.size() - 1;
            }
        }
    }

    void write(const cIniFile::Write &write)
    {
        const QString key = write.key.toLower();
        auto section = m_sections.constFind(write.section.toLower());
        if (section == m_sections.constEnd()) {
            endLastLine();
            Block block;
            block.lines.append({encode(QLatin1Char('[') + write.section + QLatin1Char(']')), crlf});
            m_blocks.append(block);
            section = m_sections.insert(write.section.toLower(), m_blocks.size() - 1);
        }
        Block &block = m_blocks[*section];
        const auto existing = block.keyLines.constFind(key);
        if (existing != block.keyLines.constEnd()) {
            RawLine &line = block.lines[*existing];
            const ParsedLine parsed = parseLine(decode(line.text, false));
            if (parsed.hasEquals && parsed.value == write.value)
                return;
            line.text = encode(parsed.name + QLatin1Char('=') + write.value);
            return;
        }
        const qsizetype at = block.lastKeyLine + 1;
        if (block.lines.at(at - 1).end.isEmpty())
            block.lines[at - 1].end = crlf;
        block.lines.insert(at, {encode(write.key + QLatin1Char('=') + write.value), crlf});
        block.keyLines.insert(key, at);
        block.lastKeyLine = at;
    }

    QByteArray bytes() const
    {
        QByteArray out;
        for (const Block &block : m_blocks)
            for (const RawLine &line : block.lines)
                out += line.text + line.end;
        return out;
    }

private:
    static QByteArray encode(const QString &text) { return text.toLocal8Bit(); }

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

    QList<Block> m_blocks;
    QHash<QString, qsizetype> m_sections;
};

} // namespace

QList<cIniFile::Section> cIniFile::read(const QString &path, bool *found)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (found)
        *found = opened;
    return opened ? parse(file.readAll()) : QList<Section>();
}

QList<cIniFile::Section> cIniFile::parse(const QByteArray &bytes)
{
    QList<Section> sections;
    const QList<RawLine> lines = splitRaw(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(decode(lines.at(i).text, i == 0));
        if (parsed.kind == ParsedLine::Header)
            sections.append({parsed.name, {}});
        else if (parsed.kind == ParsedLine::Key && !sections.isEmpty())
            sections.last().lines.append(parsed.hasEquals
                                             ? parsed.name + QLatin1Char('=') + parsed.value
                                             : parsed.name);
    }
    return sections;
}

QByteArray cIniFile::apply(const QByteArray &original, const QList<Write> &writes)
{
    Document document(original);
    for (const Write &write : writes)
        document.write(write);
    return document.bytes();
}

bool cIniFile::write(const QString &path, const QList<Write> &writes)
{
    QFile current(path);
    QByteArray original;
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            return false;
        original = current.readAll();
        current.close();
    }
    const QByteArray bytes = apply(original, writes);
    if (bytes == original && current.exists())
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() alone can miss a short write, so the flush is checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
