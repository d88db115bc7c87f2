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
    // Unbuffered: the page gathers its own chunks, and a failed write then carries the system's
    // reason ("No space left on device") instead of a late "Unknown error".
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
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
    // A disk that fills up first takes part of a chunk; only the next write tells why it stopped.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw cError(cError::DeviceIO, m_file.errorString());
        done += written;
    }
}
