#pragma once

#include <QIODevice>
#include <QString>

class QFile;

// Opens a file only when it is a regular file: a FIFO would block the program and a device such
// as /dev/zero would never end. The check and the open are one step, so the file
// cannot be swapped in between.
class cRegularFile
{
public:
    enum Outcome { Opened, Missing, NotRegular, Refused };
    // The input side follows links; a file the program made itself is only ever its own name.
    enum Links { FollowLinks, OwnFileOnly };

    // reason, when given, receives what went wrong in the system's words ("Permission denied").
    static Outcome open(QFile &file, const QString &path, QString *reason = nullptr,
                        Links links = FollowLinks);
    // Opens a file of the program's own (a log) to append to, creating it when missing.
    static Outcome append(QFile &file, const QString &path, QString *reason = nullptr);

private:
    static Outcome openAs(QFile &file, const QString &path, QString *reason, Links links,
                          QIODevice::OpenMode mode);
};
