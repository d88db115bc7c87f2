#include "cTextFile.h"

#include <QFile>

QStringList cTextFile::readLines(const QString &path, bool *found)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (found)
        *found = opened;
    return opened ? splitLines(file.readAll()) : QStringList();
}

QStringList cTextFile::splitLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLocal8Bit(bytes.constData() + start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(QString::fromLocal8Bit(bytes.constData() + start, bytes.size() - start));
    return lines;
}

QByteArray cTextFile::encodeLine(const QString &line)
{
    return line.toLocal8Bit() + "\r\n";
}

bool cTextFile::appendLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeLine(line);
    return file.write(bytes) == bytes.size() && file.flush();
}
