#pragma once

#include "common/cError.h"

#include <QSet>
#include <QString>

// Log records of a kind that recurs at every run while nothing changes (a picture that cannot be
// made into a thumbnail): what the last run logged is kept beside the log, so a rerun logs only
// what is new, and what stopped happening is forgotten.
class cRepeatedLog
{
public:
    // name: the file, in the log folder, that keeps the last run's records.
    explicit cRepeatedLog(const QString &name);
    // Logs the record silently, unless the last run logged it already.
    void write(int code, const QString &message, const cError &pending);
    // Keeps this run's messages, and only those, for the next run.
    void save() const;

private:
    QString m_path;
    QSet<QString> m_before;
    QStringList m_now;
};
