#include "controls/cFocusGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {
// The widget a press on pressed gives the focus to, as Qt chooses it; null when none.
QWidget *clickFocusTarget(QWidget *pressed)
{
    for (QWidget *widget = pressed; widget; widget = widget->parentWidget()) {
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus))
            return widget;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

// The widget of window at point, as the window hands a press on to it; null for other windows.
QWidget *widgetAt(const QWindow *window, const QPointF &point)
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() == window) {
            QWidget *child = top->childAt(point.toPoint());
            return child ? child : top;
        }
    }
    return nullptr;
}

bool isFocusKey(const QKeyEvent &key)
{
    return (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// The widget the Tab key moves the focus to from field, as the window's tab order gives it.
QWidget *tabTarget(QWidget *field, const QKeyEvent &key)
{
    const bool forward = key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
    QWidget *window = field->window();
    for (QWidget *widget = forward ? field->nextInFocusChain() : field->previousInFocusChain();
         widget && widget != field;
         widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (widget->window() == window && widget->isVisibleTo(window) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            return widget;
    }
    return nullptr;
}

template <typename Set> void forget(QObject *guard, Set &set, QWidget *widget)
{
    QObject::connect(widget, &QObject::destroyed, guard, [&set, widget] { set.remove(widget); });
}
} // namespace

cFocusGuard::cFocusGuard() : QObject(qApp)
{
    connect(qApp, &QApplication::focusChanged, this, &cFocusGuard::focusChanged);
    qApp->installEventFilter(this);
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
    forget(&self, self.m_checks, field);
}

void cFocusGuard::exempt(QWidget *control)
{
    cFocusGuard &self = instance();
    self.m_exempt.insert(control);
    forget(&self, self.m_exempt, control);
}

void cFocusGuard::checkBefore(QWidget *button)
{
    // A click must not move the focus first: that would run the check before the press is seen.
    button->setFocusPolicy(Qt::TabFocus);
    cFocusGuard &self = instance();
    self.m_checkBefore.insert(button);
    forget(&self, self.m_checkBefore, button);
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
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::MouseButtonPress) || m_checking)
        return false;
    if (type == QEvent::MouseButtonPress) {
        // A press reaches the window before the focus moves, and the widget after that.
        const auto &press = *static_cast<QMouseEvent *>(event);
        if (auto *window = qobject_cast<QWindow *>(watched)) {
            QWidget *pressed = widgetAt(window, press.position());
            return pressed && !pressMayLeave(pressed, press);
        }
        if (watched->isWidgetType() && m_checkBefore.contains(static_cast<QWidget *>(watched)))
            return !pressMayLeave(static_cast<QWidget *>(watched), press);
        return false;
    }
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (widget != QApplication::focusWidget() || !m_checks.contains(widget) || !isFocusKey(key))
        return false;
    return !checkLeavingFor(tabTarget(widget, key));
}

bool cFocusGuard::pressMayLeave(QWidget *pressed, const QMouseEvent &press)
{
    const QPoint point = press.globalPosition().toPoint();
    if (press.timestamp() == m_pressTime && point == m_pressPoint)
        return true;
    m_pressTime = press.timestamp();
    m_pressPoint = point;
    if (m_checkBefore.contains(pressed))
        return press.button() != Qt::LeftButton || checkFocused();
    return checkLeavingFor(clickFocusTarget(pressed));
}

bool cFocusGuard::checkLeavingFor(QWidget *next)
{
    QWidget *field = QApplication::focusWidget();
    if (!next || !field || next == field || !m_checks.contains(field) ||
        next->window() != field->window() || m_exempt.contains(next))
        return true;
    return checkFocused();
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
