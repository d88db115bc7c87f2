#include "cPageFile.h"

#include "cError.h"

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
    m_pending.reserve(chunk + 1024);
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
    m_pending.resize(0); // keeps the capacity for the next chunk
    if (m_file.write(bytes) != bytes.size())
        throw cError(cError::DeviceIO, m_file.errorString());
}
