#pragma once

#include "common/cError.h"

#include <QIODevice>
#include <QString>

class QFile;

// Opens a file only when it is a regular file: a FIFO would block the program and a device such
// as /dev/zero would never end. The check and the open are one step, so the file
// cannot be swapped in between.
class cRegularFile
{
public:
    // The input side follows links; a file the program made itself is only ever its own name.
    enum Links { FollowLinks, OwnFileOnly };

    // The error, when it could not, tells a missing file (FileNotFound), one that is no regular
    // file (BadFileMode) and one the system refused (PathFileAccess), in the system's words.
    static cError open(QFile &file, const QString &path, Links links = FollowLinks);
    // Opens a file of the program's own (a log) to append to, creating it when missing.
    static cError append(QFile &file, const QString &path);

private:
    static cError openAs(QFile &file, const QString &path, Links links, QIODevice::OpenMode mode);
};
