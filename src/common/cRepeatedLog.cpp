#include "common/cRepeatedLog.h"

#include "common/cAtomicFile.h"
#include "common/cTextFile.h"
#include "common/modUtil1.h"

#include <QDir>

cRepeatedLog::cRepeatedLog(const QString &name) : m_path(QDir(modUtil1::logFolder()).filePath(name))
{
    const QStringList before = cTextFile::readLines(m_path);
    m_before = QSet<QString>(before.cbegin(), before.cend());
}

void cRepeatedLog::write(int code, const QString &message, const cError &pending)
{
    // One record a line: a line break inside a message would split it.
    QString record = message + QLatin1Char('\t') + pending.description();
    record.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!m_before.contains(record))
        modUtil1::writeLog(true, code, message, pending);
    m_now.append(record);
}

void cRepeatedLog::save() const
{
    if (m_now.isEmpty() && m_before.isEmpty())
        return;
    const QByteArray bytes =
        m_now.isEmpty() ? QByteArray() : m_now.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    cAtomicFile(m_path).save(bytes, false);
}
