#pragma once

#include <QFileInfo>
#include <QTemporaryFile>

// A file replaced in one step: written to a temporary file beside it and renamed over it once
// complete, so nobody ever sees it half-written, and a stopped write leaves the old file whole.
// A link is written through.
class cAtomicFile
{
public:
    explicit cAtomicFile(const QString &path);
    // Creates the temporary file; false when its folder does not allow one.
    bool open();
    QFile &file() { return m_temporary; }
    // The file replaced: a link's target.
    const QFileInfo &target() const { return m_target; }
    // Ends the writing: flushes (durable: to the disk itself) and closes the temporary file, so
    // that many can wait for their commit; false when the bytes did not all reach it.
    bool finish(bool durable);
    // Finishes if need be, then renames over the file; false when that failed, and then the old
    // file is whole and the temporary one gone.
    bool commit(bool durable);
    // Throws away what was written.
    void discard();
    // Removes the temporary files that writes of the files named killed before they ended.
    static void removeStale(const QString &folder, const QStringList &names);

private:
    QFileInfo m_target;
    QTemporaryFile m_temporary;
};
