#pragma once

#include "common/cError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Reads and writes settings files with the results of the classic profile functions: sections and
// key lines in file order, names matched ignoring ASCII case, and writes that leave every other
// byte of the file as it was.
class cIniFile
{
public:
    struct Section
    {
        QString name;
        // "key=value" (both trimmed), or the bare key for a line without "=".
        QStringList lines;
    };

    struct Write
    {
        QString section;
        QString key;
        QString value;
    };

    static QList<Section> read(const QString &path, cError *error = nullptr);
    static QList<Section> parse(const QByteArray &bytes);
    // The same, told as it is read: each section name, then each key of it with its value, or
    // no value for a key line without "=".
    static void scan(const QByteArray &bytes, const std::function<void(const QString &)> &section,
                     const std::function<void(const QString &, const QString *)> &key);

    // The file's bytes after writing each key in turn.
    static QByteArray apply(const QByteArray &original, const QList<Write> &writes);
    // The file's bytes; empty when it is missing or not a regular file (error, when given, then
    // says which).
    static QByteArray load(const QString &path, cError *error = nullptr);
    // Replaces the file by a temporary one written beside it, so it is never left half-written;
    // after an error the old file is whole. A link is written through; a read-only file is not
    // written. Temporary files that earlier writes left behind go once a write succeeds.
    static cError save(const QString &path, const QByteArray &bytes);
};
