#pragma once

#include "pictures/cPicture.h"

#include <QList>
#include <QString>
#include <QStringList>

struct stat;

class cCatalogPlan;

// What a catalog wrote into its output folder, recorded there ("qdx-written.lst"), so that a
// later run removes what it no longer writes, and nothing else. The record only names what may
// go: a file goes when it lies inside the output folder with no link on the way, is one of the
// program's own kinds in its own place and carries its mark, is still the very file recorded (its
// size and time) and is none of the pictures catalogued. A file the user put there is never
// touched, whatever its name and whatever the record says.
class cWrittenRecord
{
public:
    explicit cWrittenRecord(const cCatalogPlan &plan);

    // A file this run wrote or kept, by its absolute path inside the output folder.
    void add(const QString &path);
    // Removes the files the record of the run before holds and this run did not add, then
    // records this run's; the count removed.
    int replace(const QList<cPicture> &catalogued);

    static QString recordName();
    // The files the record in outFolder holds, absolute and clean.
    static QStringList recorded(const QString &outFolder);

private:
    struct Entry
    {
        QByteArray size;
        QByteArray time;
        QString below; // clean, "/" between the parts
    };
    static QList<Entry> read(const QString &outFolder);
    // Whether a file of this status is still the one recorded: its size and time.
    static bool isRecorded(const Entry &entry, const struct stat &status);
    // Whether the open file may go: recorded, of the program's own kind in its own place, marked.
    bool removable(const Entry &entry, int file, const struct stat &status) const;
    // Whether the file at path is still the one recorded, with the mark of a picture or page.
    static bool stillMarked(const Entry &entry, const QString &path);

    const cCatalogPlan &m_plan;
    QString m_out;
    QStringList m_files; // below the output folder, "/" between the parts
};
