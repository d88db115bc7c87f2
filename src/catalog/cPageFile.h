#pragma once

#include "common/cAtomicFile.h"
#include "common/cError.h"

#include <QByteArray>
#include <QString>
#include <cstring>
#include <memory>

// The page being written: lines in UTF-8 with CR LF ends, gathered in large chunks
// so a page of 100,000 cells costs a handful of writes. The page is written beside its file and
// takes its place only when put in place, so the old page stays until then; whatever stood at
// its name is replaced, never written through.
class cPageFile
{
public:
    cPageFile();
    ~cPageFile();
    // Creates the page; throws cError when it cannot.
    void open(const QString &path);
    // One line of parts: texts, bytes already in UTF-8, or literals of ASCII.
    template <typename... Parts> void line(const Parts &...parts)
    {
        (append(parts), ...);
        put("\r\n", 2);
    }
    // Writes out what is pending; throws cError when the disk refused it.
    void close();
    // Puts the page, as far as it was written, in place of the old one, unless an error says why
    // it could not; the old one is kept aside as cAtomicFile does, so it can go back. A page the
    // disk refused bytes of is never put in place.
    cError commit(cAtomicFile::Kept &kept);
    // Throws the page away, leaving the old one.
    void discard();
    // The disk refused some of its bytes: the page cannot be whole.
    bool writeFailed() const { return m_writeFailed; }
    QString path() const { return m_path; }

private:
    static constexpr qsizetype chunk = 1 << 16;
    void append(const QString &text);
    void append(const QByteArray &bytes) { put(bytes.constData(), bytes.size()); }
    template <qsizetype size> void append(const char (&ascii)[size]) { put(ascii, size - 1); }
    void put(const char *bytes, qsizetype size)
    {
        if (m_used + size > chunk)
            return spill(bytes, size);
        std::memcpy(m_pending.get() + m_used, bytes, size_t(size));
        m_used += size;
    }
    // Makes room by writing out what is pending; what the chunk cannot hold goes out directly.
    void spill(const char *bytes, qsizetype size);
    void flush();
    void write(const char *bytes, qsizetype size);

    std::unique_ptr<cAtomicFile> m_atomic;
    std::unique_ptr<char[]> m_pending;
    qsizetype m_used = 0;
    QString m_path;
    bool m_writeFailed = false;
};
