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
