#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <functional>

class QMouseEvent;
class QWidget;

// Lets a field refuse to lose the focus, which Qt has no event for. The check runs before the
// Tab key or a click can move the focus, so a refusal leaves every other control untouched; a
// focus moved any other way is checked once it has moved, and given back on a refusal. Buttons
// can run the check before they act, and some controls (a cancel button) take the focus without
// any check.
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
    bool pressMayLeave(QWidget *pressed, const QMouseEvent &press);
    bool checkLeavingFor(QWidget *next);

    QHash<QWidget *, std::function<bool()>> m_checks;
    QSet<QWidget *> m_exempt;
    QSet<QWidget *> m_checkBefore;
    QPointer<QWidget> m_passed;
    bool m_checking = false;
    // A press that a widget ignores reaches its parents too; it is checked once.
    quint64 m_pressTime = 0;
    QPoint m_pressPoint;
};
