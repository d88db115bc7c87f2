#pragma once

#include "common/cDesktop.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;

// Records every message, folder request, address and modal window, and answers from queues, so
// no test ever blocks on a real dialog. Installs itself for its lifetime.
class cTestDesktop : public cDesktop
{
public:
    cTestDesktop();
    ~cTestDesktop() override;

    void message(QWidget *parent, const QString &text) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    bool openUrl(const QUrl &url) override;
    int showModal(QDialog *dialog) override;
    void beep() override { ++beeps; }
    std::unique_ptr<cProgress> progress(QWidget *parent, const QString &label,
                                        qint64 total) override;

    QStringList messages;
    QStringList folderTitles;
    QStringList folderStarts; // where each chooser opened
    QStringList folderAnswers;
    QList<QUrl> urls;
    bool openSucceeds = true;
    QStringList modalWindows;
    int beeps = 0;
    // Labels of the progress windows asked for; a step past cancelAfter items asks to stop.
    QStringList progressLabels;
    qint64 cancelAfter = -1;
    // Gives the program's own progress windows, which take the user's input while work runs.
    bool realProgress = false;
    // Progress windows standing now, and messages shown while one stood (and hid it).
    int progressShown = 0;
    int messagesOverProgress = 0;
    // Runs while a modal window is "shown"; its result is the window's result.
    std::function<int(QDialog *)> onModal;
};
