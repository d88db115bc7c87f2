#pragma once

#include <QString>
#include <QStringList>

// What a catalog wrote into its output folder, recorded there ("qdx-written.lst"), so that a
// later run removes what it no longer writes, and nothing else: a file goes only when the record
// holds it, it lies inside the output folder with no link on the way, and it is still the very
// file recorded (its size and time). A file the user put there is never touched, whatever its name.
class cWrittenRecord
{
public:
    // outFolder: absolute and clean.
    explicit cWrittenRecord(const QString &outFolder);

    // A file this run wrote or kept, by its absolute path inside the output folder.
    void add(const QString &path);
    // Removes the files the record of the run before holds and this run did not add, then
    // records this run's; the count removed.
    int replace();

    static QString recordName();
    // The files the record in outFolder holds, absolute and clean.
    static QStringList recorded(const QString &outFolder);

private:
    QString m_out;
    QStringList m_files; // below the output folder, "/" between the parts
};
