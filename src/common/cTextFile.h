#pragma once

#include <QStringList>

// Text files as the program writes them: the system's 8-bit code page, CR LF line ends.
class cTextFile
{
public:
    // Lines of the file, read as UTF-8 when they are valid UTF-8 and as code page 1252
    // otherwise; CR LF, LF and a lone CR all end a line. A missing file, or one that is not a
    // regular file, gives no lines.
    static QStringList readLines(const QString &path, bool *found = nullptr);
    // Appends the lines, each ended by CR LF; false when the file cannot be opened or written, or
    // is not a regular file of its own (a link, a FIFO).
    static bool appendLines(const QString &path, const QStringList &lines);

private:
    static QStringList splitLines(const QByteArray &bytes);
    static QByteArray encodeLine(const QString &line);
};
