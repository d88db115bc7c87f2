#pragma once

#include <QFile>
#include <QString>
#include <QStringBuilder>
#include <memory>

class cAtomicFile;

// The page being written: lines in the 8-bit code page with CR LF ends, gathered in large chunks
// so a page of 100,000 cells costs a handful of writes. The page is written beside its file and
// takes its place only when put in place, so the old page stays until then; a device (or a
// folder that takes no extra file) is written directly.
class cPageFile
{
public:
    cPageFile();
    ~cPageFile();
    // Creates the page; throws cError when it cannot.
    void open(const QString &path);
    // Takes a string or a string-builder expression, which goes into the buffer without a copy.
    template <typename Text> void line(const Text &text)
    {
        m_pending += text % QStringView(u"\r\n");
        if (m_pending.size() >= chunk)
            flush();
    }
    // Writes out what is pending; throws cError when the disk refused it.
    void close();
    // Puts the page, as far as it was written, in place of the old one; false when it could not.
    bool commit();
    // Throws the page away, leaving the old one.
    void discard();
    bool isOpen() const { return m_file && m_file->isOpen(); }
    QString path() const { return m_path; }

private:
    static constexpr qsizetype chunk = 1 << 16;
    void flush();

    std::unique_ptr<cAtomicFile> m_atomic;
    QFile m_direct;
    QFile *m_file = nullptr;
    QString m_pending;
    QString m_path;
};
