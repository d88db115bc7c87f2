#pragma once

#include "common/cError.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <memory>

// A file replaced in one step: written to a temporary file beside it and renamed over it once
// complete, so nobody ever sees it half-written, and a stopped write leaves the old file whole.
class cAtomicFile
{
public:
    // What the program makes replaces whatever stands at its name (a planted link, a FIFO) and
    // never writes through it; the user's own settings file keeps its link and writes its target.
    enum Links { ReplaceLink, WriteThroughLink };

    explicit cAtomicFile(const QString &path, Links links = ReplaceLink);
    // A file neither committed nor discarded is thrown away.
    ~cAtomicFile();
    // Each step returns its error, in the system's words; none when it succeeded.
    // Creates the temporary file, when its folder allows one.
    cError open();
    // The temporary file, while it is open.
    QFile &file() { return *m_temporary; }
    // The file replaced: a link's target when written through.
    const QFileInfo &target() const { return m_target; }
    // Ends the writing: flushes (durable: to the disk itself) and closes the temporary file, its
    // descriptor too, so that many thousands can wait for their commit; an error when the bytes
    // did not all reach it.
    cError finish(bool durable);
    // Finishes if need be, then renames over the file; after an error the old file is whole and
    // the temporary one gone.
    cError commit(bool durable) { return place(durable, nullptr); }
    // As commit, the file replaced kept under a name beside it, in kept (empty where nothing
    // stood there), so that a set of files can all go back; replaced says whether anything was
    // put in place, as an unchanged file is not.
    struct Kept
    {
        bool replaced = false;
        QString path;
    };
    cError commit(bool durable, Kept &kept) { return place(durable, &kept); }
    // Puts back what a commit replaced, as kept says: the file kept, or nothing where none stood.
    static void putBack(const QString &path, const Kept &kept);
    // Lets the file kept go for good.
    static void forget(const Kept &kept);
    // Opens, writes all the bytes and commits; after an error in any step (a short write from a
    // full disk or a file size limit included) the old file is whole.
    cError save(const QByteArray &bytes, bool durable);
    // Throws away what was written.
    void discard();
    // A commit that would put the very bytes there already in place leaves the file as it is,
    // time and all: a run that changes nothing writes nothing.
    void keepUnchanged() { m_keepUnchanged = true; }
    // Removes the temporary files that writes of the files named killed before they ended.
    static void removeStale(const QString &folder, const QStringList &names);

private:
    cError place(bool durable, Kept *kept);

    QFileInfo m_target;
    // Qt keeps a temporary file's descriptor until the object goes, even once closed: it goes
    // when the writing ends, and the file is known by its name from then on.
    std::unique_ptr<QTemporaryFile> m_temporary;
    QString m_temporaryName;
    bool m_keepUnchanged = false;
};
