#include "command/cConsoleProgress.h"

#include <QTextStream>

cConsoleProgress::cConsoleProgress(QTextStream &err, const QString &label)
    : m_err(err), m_label(label)
{
    m_sinceShown.start();
}

cConsoleProgress::~cConsoleProgress()
{
    if (m_shown)
        m_err << "\r\x1b[K" << Qt::flush;
}

bool cConsoleProgress::step(qint64 done)
{
    // Half a second before the first line, then ten a second at most.
    if (m_sinceShown.elapsed() < (m_shown ? 100 : 500))
        return true;
    m_sinceShown.restart();
    m_shown = true;
    m_err << "\r" << m_label << ": " << done << Qt::flush;
    return true;
}
