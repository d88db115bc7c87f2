#pragma once

#include "common/cProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProgressDialog>

// Progress in a window modal to its owner, shown once the work has run for half a second, with
// the count done and a button that cancels. The window keeps answering while the work runs, but
// from the first moment only the progress window takes the user's input: no handler of another
// window runs inside the work, before the window shows as after.
class cProgressWindow : public QObject, public cProgress
{
public:
    // total 0: the end is not known beforehand, only the count done is shown.
    cProgressWindow(QWidget *owner, const QString &label, qint64 total);
    ~cProgressWindow() override;
    bool step(qint64 done) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QProgressDialog m_dialog;
    QString m_label;
    qint64 m_total;
    QElapsedTimer m_sinceLook;
};
