#include "common/modUtil1.h"

#include "common/cDesktop.h"
#include "common/cTextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <cmath>

namespace modUtil1 {

namespace {
QString &logFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString foldCase(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded)
        c = QChar(foldCase(c));
    return folded;
}

bool isAscii(QStringView text)
{
    // Qt's own test, many characters at a time: a page of a million names asks it for each.
    return QtPrivate::isAscii(text);
}

QString folderPath(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString getToken(const QString &text, QChar sep, int n)
{
    return tokenOf(text, sep, n).toString();
}

QStringView tokenOf(QStringView text, QChar sep, int n)
{
    if (n <= 0)
        return QStringView();
    int count = 0;
    qsizetype start = 0;
    qsizetype pos = text.indexOf(sep);
    while (pos >= 0) {
        if (pos > start) {
            ++count;
            if (count == n)
                return text.sliced(start, pos - start);
        }
        start = pos + 1;
        pos = text.indexOf(sep, start);
    }
    if (start < text.size() && count + 1 == n)
        return text.sliced(start);
    return QStringView();
}

int replaceAll(QString &text, const QString &find, const QString &repl)
{
    if (find.isEmpty())
        return 0;
    int count = 0;
    qsizetype pos = text.indexOf(find);
    while (pos >= 0) {
        ++count;
        text.replace(pos, find.size(), repl);
        pos = text.indexOf(find, pos + repl.size());
    }
    return count;
}

QStringList logRecord(const QDateTime &when, int code, const QString &message,
                      const cError &pending)
{
    const QString first = when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) + QLatin1Char(' ') +
                          QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0')) +
                          QLatin1Char(' ') + message.left(100).leftJustified(100);
    if (code <= 0)
        return {first};
    return {first, first + QStringLiteral("                    ERROR[") +
                       QString::number(pending.number()) + QLatin1Char(']') +
                       pending.description()};
}

QString logMessageText(int code, const QString &message, const cError &pending)
{
    QString text = QLatin1Char('[') + QString::number(code) + QStringLiteral("] ") + message;
    if (pending.number() != cError::None)
        text += QStringLiteral("\r\n  ERROR[") + QString::number(pending.number()) +
                QLatin1Char(']') + pending.description();
    return text;
}

QString logFilePath(const QDate &date)
{
    return QDir(logFolder())
        .filePath(QStringLiteral("QDX_%1.log").arg(date.month(), 2, 10, QLatin1Char('0')));
}

void writeLog(bool silent, int code, const QString &message, const cError &pending)
{
    const QDateTime now = QDateTime::currentDateTime();
    // A log that cannot be written must not take the message with it.
    cTextFile::appendLines(logFilePath(now.date()), logRecord(now, code, message, pending));
    if (!silent)
        cDesktop::current().message(nullptr, logMessageText(code, message, pending));
}

void setLogFolder(const QString &folder)
{
    logFolderOverride() = folder;
}

QString logFolder()
{
    const QString &folder = logFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

qint16 toInt16(const QString &text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        throw cError::typeMismatch();
    const double rounded = roundHalfEven(number);
    if (rounded < -32768.0 || rounded > 32767.0)
        throw cError::overflow();
    return qint16(rounded);
}

} // namespace modUtil1
