#pragma once

#include <QFile>
#include <QString>
#include <QStringBuilder>

// The page being written: lines in the 8-bit code page with CR LF ends, gathered in large chunks
// so a page of 100,000 cells costs a handful of writes.
class cPageFile
{
public:
    ~cPageFile();
    // Creates or empties the file; throws cError when it cannot.
    void open(const QString &path);
    // Takes a string or a string-builder expression, which goes into the buffer without a copy.
    template <typename Text> void line(const Text &text)
    {
        m_pending += text % QStringView(u"\r\n");
        if (m_pending.size() >= chunk)
            flush();
    }
    // Writes out what is pending and closes; throws cError when the disk refused it.
    void close();
    bool isOpen() const { return m_file.isOpen(); }

private:
    static constexpr qsizetype chunk = 1 << 16;
    void flush();

    QFile m_file;
    QString m_pending;
};
