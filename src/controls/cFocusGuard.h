#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>

class QWidget;

// Lets a field refuse to lose the focus, which Qt has no event for: when the focus leaves a
// guarded field for another control of its window, the field's check runs, and a refusal gives
// the focus back. Buttons can run the check before they act, and some controls (a cancel
// button) take the focus without any check.
class cFocusGuard : public QObject
{
    Q_OBJECT
public:
    // check returns false to keep the focus in the field.
    static void guard(QWidget *field, const std::function<bool()> &check);
    static void exempt(QWidget *control);
    // Makes a press on the button run the check of the field that has the focus first; a
    // refusal swallows the press, so the button does not act.
    static void checkBefore(QWidget *button);

    // Moves the focus on from a control as the Tab key would (the check runs as usual).
    static void moveOn(QWidget *from);

    // Runs the check of the focused field, if it is guarded; true when the focus may leave.
    static bool checkFocused();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    cFocusGuard();
    static cFocusGuard &instance();
    void focusChanged(QWidget *old, QWidget *now);
    bool run(QWidget *field);

    QHash<QWidget *, std::function<bool()>> m_checks;
    QSet<QWidget *> m_exempt;
    QPointer<QWidget> m_passed;
    bool m_checking = false;
};
