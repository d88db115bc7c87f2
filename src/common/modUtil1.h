#pragma once

#include "common/cError.h"

#include <QDateTime>
#include <QString>

class QWidget;

// Small text helpers and the error log shared by every window.
namespace modUtil1 {

// The n-th non-empty field of text cut at sep (fields count from 1); empty when there is none.
QString getToken(const QString &text, QChar sep, int n);
// The same field as a view into text.
QStringView tokenOf(QStringView text, QChar sep, int n);

// Letters folded as the settings and the names of controls match them: ASCII letters only, the
// same for text held as bytes of any code page and as Unicode.
constexpr char16_t foldCase(char16_t unit)
{
    return (unit >= u'A' && unit <= u'Z') ? char16_t(unit + (u'a' - u'A')) : unit;
}
constexpr char16_t foldCase(QChar c)
{
    return foldCase(c.unicode());
}
constexpr char16_t foldCase(char c)
{
    return foldCase(char16_t(uchar(c)));
}
QString foldCase(const QString &text);
// A hash of the text as foldCase folds it, allocating nothing.
template <typename Text> size_t foldedHash(const Text &text, size_t seed)
{
    size_t hash = seed ^ 1469598103934665603ULL;
    for (const auto c : text)
        hash = (hash ^ foldCase(c)) * 1099511628211ULL;
    return hash;
}
// The text without the spaces and tabs at its start and its end (start or end only when asked).
template <typename View> View withoutBlanks(View text, bool start = true, bool end = true)
{
    const auto blank = [](auto c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype stop = text.size();
    while (start && begin < stop && blank(text.at(begin)))
        ++begin;
    while (end && stop > begin && blank(text.at(stop - 1)))
        --stop;
    return text.sliced(begin, stop - begin);
}
bool isAscii(QStringView text);
// A folder with the platform's separators, ending with one.
QString folderPath(const QString &folder);

// Replaces every occurrence of find in text, resuming behind each replacement; returns the count.
int replaceAll(QString &text, const QString &find, const QString &repl);

// Appends a record to the monthly log beside the program and, unless silent, shows the message.
// pending is the error the caller is handling (number 0 for none). Never throws.
void writeLog(bool silent, int code, const QString &message, const cError &pending = cError());

// The lines writeLog appends for the given moment, without line ends.
QStringList logRecord(const QDateTime &when, int code, const QString &message,
                      const cError &pending);
QString logMessageText(int code, const QString &message, const cError &pending);
QString logFilePath(const QDate &date);

// Where the log files go: the program folder unless a test points elsewhere.
void setLogFolder(const QString &folder);
QString logFolder();

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);
// Text read as a 16-bit whole number: throws a type mismatch for a non-number and an overflow
// outside -32768..32767.
qint16 toInt16(const QString &text);

} // namespace modUtil1
