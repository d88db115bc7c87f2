#pragma once

#include "common/cDesktop.h"

// The desktop of programs that run without anyone at the screen (benchmarks, picture making):
// messages go to standard error, nothing is chosen or opened, modal windows are not shown.
class cConsoleDesktop : public cDesktop
{
public:
    void message(QWidget *parent, const QString &text) override;
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return QString(); }
    bool openUrl(const QUrl &) override { return false; }
    int showModal(QDialog *) override { return 0; }
    void beep() override {}
    // Nobody is there to stop the work.
    std::unique_ptr<cProgress> progress(QWidget *, const QString &, qint64) override;
};
