#pragma once

#include "common/cProgress.h"

#include <QElapsedTimer>
#include <QString>

class QTextStream;

// Progress on a terminal: one line on standard error, rewritten a few times a second and
// cleared when the work is done. Nothing stops the work from there; Ctrl+C does.
class cConsoleProgress : public cProgress
{
public:
    cConsoleProgress(QTextStream &err, const QString &label);
    ~cConsoleProgress() override;
    bool step(qint64 done) override;

private:
    QTextStream &m_err;
    QString m_label;
    QElapsedTimer m_sinceShown;
    bool m_shown = false;
};
