#pragma once

#include <QString>

// What tells that a file is no longer the one something was made from or read of: its size, its
// time of change, and the time its entry changed (a picture written over, or its permissions).
// One stamp serves the thumbnails and copies, the preview and the facts read.
struct cFileStamp
{
    qint64 size = -1;    // -1: no such file
    qint64 modified = 0; // milliseconds since the epoch
    qint64 changed = 0;

    // As cheaply as the system tells, following links.
    static cFileStamp of(const QString &path);
    bool exists() const { return size >= 0; }
    // As a small picture keeps it: its size and time of change.
    QString text() const;
    bool operator==(const cFileStamp &other) const
    {
        return size == other.size && modified == other.modified && changed == other.changed;
    }
    bool operator!=(const cFileStamp &other) const { return !(*this == other); }
};
