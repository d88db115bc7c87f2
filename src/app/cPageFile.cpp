#include "cPageFile.h"

#include "cError.h"

namespace {
constexpr qsizetype chunk = 1 << 16;
}

cPageFile::~cPageFile()
{
    if (!isOpen())
        return;
    // A page abandoned on an error keeps every line written before it.
    try {
        flush();
    } catch (const cError &) {
    }
    m_file.close();
}

void cPageFile::open(const QString &path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw cError(cError::PathNotFound, m_file.errorString());
}

void cPageFile::line(const QString &text)
{
    m_pending += text;
    m_pending += QLatin1String("\r\n");
    if (m_pending.size() >= chunk)
        flush();
}

void cPageFile::close()
{
    flush();
    const bool written = m_file.error() == QFileDevice::NoError && m_file.flush();
    const QString reason = m_file.errorString();
    m_file.close();
    if (!written)
        throw cError(cError::DeviceIO, reason);
}

void cPageFile::flush()
{
    if (m_pending.isEmpty())
        return;
    const QByteArray bytes = m_pending.toLocal8Bit();
    m_pending.clear();
    if (m_file.write(bytes) != bytes.size())
        throw cError(cError::DeviceIO, m_file.errorString());
}
