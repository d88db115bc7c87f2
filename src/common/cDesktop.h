#pragma once

#include <QString>
#include <memory>

class cProgress;
class QDialog;
class QUrl;
class QWidget;

// The one door to everything that blocks or leaves the program: message boxes, the folder chooser,
// opening an address, beeping, modal windows and progress windows. Tests install their own
// implementation.
class cDesktop
{
public:
    virtual ~cDesktop() = default;

    virtual void message(QWidget *parent, const QString &text) = 0;
    // start: the folder the chooser opens at; empty for the chooser's own choice.
    virtual QString chooseFolder(QWidget *parent, const QString &title, const QString &start) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
    virtual int showModal(QDialog *dialog) = 0;
    virtual void beep() = 0;
    // Progress of long work started from parent; total 0 when the end is not known.
    virtual std::unique_ptr<cProgress> progress(QWidget *parent, const QString &label,
                                                qint64 total) = 0;

    static cDesktop &current();
    // Takes no ownership; nullptr brings back the console desktop of programs without windows.
    static void install(cDesktop *desktop);

    static QString caption() { return QStringLiteral("QDX"); }
};
