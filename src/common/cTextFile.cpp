#include "common/cTextFile.h"

#include "common/cCodePage.h"
#include "common/cRegularFile.h"

#include <QFile>

QStringList cTextFile::readLines(const QString &path, bool *found)
{
    QFile file;
    const bool opened = !cRegularFile::open(file, path).failed();
    if (found)
        *found = opened;
    return opened ? splitLines(file.readAll()) : QStringList();
}

QStringList cTextFile::splitLines(const QByteArray &bytes)
{
    const cCodePage::Kind kind = cCodePage::of(bytes);
    const auto decode = [&bytes, kind](qsizetype start, qsizetype length) {
        return cCodePage::decode(QByteArrayView(bytes).sliced(start, length), kind);
    };
    QStringList lines;
    // Only the file's very first mark is a byte-order mark.
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (qsizetype i = start; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(decode(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(decode(start, bytes.size() - start));
    return lines;
}

QByteArray cTextFile::encodeLine(const QString &line)
{
    return line.toLocal8Bit() + "\r\n";
}

bool cTextFile::appendLines(const QString &path, const QStringList &lines)
{
    // Never through a link planted at the name, nor into a FIFO that would wait for a reader.
    QFile file;
    if (cRegularFile::append(file, path).failed())
        return false;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeLine(line);
    return file.write(bytes) == bytes.size() && file.flush();
}
