#pragma once

#include "cProgress.h"

#include <QElapsedTimer>
#include <QProgressDialog>

// Progress in a window modal to its owner, shown once the work has run for half a second, with
// the count done and a button that cancels. The window keeps answering while the work runs.
class cProgressWindow : public cProgress
{
public:
    // total 0: the end is not known beforehand, only the count done is shown.
    cProgressWindow(QWidget *owner, const QString &label, qint64 total);
    bool step(qint64 done) override;

private:
    QProgressDialog m_dialog;
    QString m_label;
    qint64 m_total;
    QElapsedTimer m_sinceLook;
};
