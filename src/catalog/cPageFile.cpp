#include "catalog/cPageFile.h"

#include "common/cAtomicFile.h"
#include "common/cError.h"

cPageFile::cPageFile() = default;

cPageFile::~cPageFile()
{
    discard();
}

void cPageFile::open(const QString &path)
{
    m_path = path;
    m_pending = std::make_unique<char[]>(chunk);
    m_used = 0;
    m_writeFailed = false;
    m_atomic = std::make_unique<cAtomicFile>(path);
    m_atomic->keepUnchanged();
    if (const cError error = m_atomic->open(); error.failed()) {
        m_atomic.reset();
        throw cError(cError::PathNotFound, error.description());
    }
}

void cPageFile::close()
{
    flush();
    // A catalog of thousands of pages keeps them all until they take their places: neither the
    // buffer nor the file stays open meanwhile.
    m_pending.reset();
    if (const cError error = m_atomic->finish(false); error.failed()) {
        m_writeFailed = true;
        throw error;
    }
}

cError cPageFile::commit(cAtomicFile::Kept &kept)
{
    if (!m_atomic)
        return cError();
    // After a settings error the page keeps every line written before it.
    cError error;
    if (m_pending) {
        try {
            flush();
        } catch (const cError &refused) {
            error = refused;
        }
        m_pending.reset();
    }
    if (m_writeFailed) {
        discard();
        return error.failed() ? error
                              : cError(cError::DeviceIO, QStringLiteral("The page was cut short"));
    }
    // A page can be written again: not worth a wait for the disk.
    error = m_atomic->commit(false, kept);
    m_atomic.reset();
    return error;
}

void cPageFile::discard()
{
    if (m_atomic)
        m_atomic->discard();
    m_atomic.reset();
}

void cPageFile::append(const QString &text)
{
    // Names are mostly ASCII, which goes in byte for byte without an encoder's copy.
    if (m_used + text.size() <= chunk) {
        char *out = m_pending.get() + m_used;
        bool ascii = true;
        for (const QChar c : text) {
            ascii = c.unicode() < 0x80;
            if (!ascii)
                break;
            *out++ = char(c.unicode());
        }
        if (ascii) {
            m_used += text.size();
            return;
        }
    }
    const QByteArray bytes = text.toUtf8();
    put(bytes.constData(), bytes.size());
}

void cPageFile::spill(const char *bytes, qsizetype size)
{
    flush();
    if (size > chunk)
        return write(bytes, size);
    std::memcpy(m_pending.get(), bytes, size_t(size));
    m_used = size;
}

void cPageFile::flush()
{
    const qsizetype size = m_used;
    // What the disk took stays; after an error the rest of the chunk is lost with it.
    m_used = 0;
    write(m_pending.get(), size);
}

void cPageFile::write(const char *bytes, qsizetype size)
{
    // A disk that fills up first takes part of a chunk; only the next write tells why it stopped.
    QFile &file = m_atomic->file();
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(bytes + done, size - done);
        if (written <= 0) {
            m_writeFailed = true;
            throw cError(cError::DeviceIO, file.errorString());
        }
        done += written;
    }
}
