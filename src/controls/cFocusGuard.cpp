#include "cFocusGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

cFocusGuard::cFocusGuard() : QObject(qApp)
{
    connect(qApp, &QApplication::focusChanged, this, &cFocusGuard::focusChanged);
}

cFocusGuard &cFocusGuard::instance()
{
    static QPointer<cFocusGuard> guard;
    if (!guard)
        guard = new cFocusGuard;
    return *guard;
}

void cFocusGuard::guard(QWidget *field, const std::function<bool()> &check)
{
    cFocusGuard &self = instance();
    self.m_checks.insert(field, check);
    connect(field, &QObject::destroyed, &self, [&self, field] { self.m_checks.remove(field); });
}

void cFocusGuard::exempt(QWidget *control)
{
    cFocusGuard &self = instance();
    self.m_exempt.insert(control);
    connect(control, &QObject::destroyed, &self,
            [&self, control] { self.m_exempt.remove(control); });
}

void cFocusGuard::checkBefore(QWidget *button)
{
    // A click must not move the focus first: that would run the check before the press is seen.
    button->setFocusPolicy(Qt::TabFocus);
    button->installEventFilter(&instance());
}

bool cFocusGuard::checkFocused()
{
    cFocusGuard &self = instance();
    QWidget *field = QApplication::focusWidget();
    if (!field || !self.m_checks.contains(field))
        return true;
    const bool passed = self.run(field);
    // The focus change that follows must not ask a second time.
    if (passed)
        self.m_passed = field;
    return passed;
}

void cFocusGuard::moveOn(QWidget *from)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(from, &tab);
}

bool cFocusGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !checkFocused())
        return true;
    return QObject::eventFilter(watched, event);
}

void cFocusGuard::focusChanged(QWidget *old, QWidget *now)
{
    if (m_checking || !old || !now || !m_checks.contains(old))
        return;
    if (m_passed == old) {
        m_passed = nullptr;
        return;
    }
    // Leaving the window, or for a control that discards the edits, is no reason to check.
    if (old->window() != now->window() || m_exempt.contains(now))
        return;
    if (!run(old))
        old->setFocus(Qt::OtherFocusReason);
}

bool cFocusGuard::run(QWidget *field)
{
    m_checking = true;
    const bool passed = m_checks.value(field)();
    m_checking = false;
    return passed;
}
