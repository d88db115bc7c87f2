#include "desktop/cProgressWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

cProgressWindow::cProgressWindow(QWidget *owner, const QString &label, qint64 total)
    : m_dialog(owner), m_label(label), m_total(total)
{
    m_dialog.setWindowTitle(QStringLiteral("QDX"));
    m_dialog.setLabelText(label);
    m_dialog.setCancelButtonText(QStringLiteral("Cancel"));
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(500);
    m_dialog.setAutoReset(false);
    m_dialog.setAutoClose(false);
    // The dialog's range is an int; the count itself is shown in the label.
    m_dialog.setRange(0, total > 0 ? 1000 : 0);
    m_dialog.setValue(0);
    m_sinceLook.start();
    QCoreApplication::instance()->installEventFilter(this);
}

cProgressWindow::~cProgressWindow()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool cProgressWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut: {
        // Dropped, as a window that a modal one blocks drops it. Input reaches a window before
        // the widget in it.
        if (const auto *window = qobject_cast<const QWindow *>(watched))
            return window != m_dialog.windowHandle();
        const auto *widget = qobject_cast<const QWidget *>(watched);
        return !(widget && (widget == &m_dialog || m_dialog.isAncestorOf(widget)));
    }
    default:
        return false;
    }
}

bool cProgressWindow::step(qint64 done)
{
    // Looking costs an event loop turn: a few dozen times a second is enough.
    if (m_sinceLook.elapsed() < 40)
        return !m_dialog.wasCanceled();
    m_sinceLook.restart();
    m_dialog.setLabelText(m_total > 0
                              ? QStringLiteral("%1 %2 of %3").arg(m_label).arg(done).arg(m_total)
                              : QStringLiteral("%1 %2").arg(m_label).arg(done));
    if (m_total > 0)
        m_dialog.setValue(int(done * 1000 / m_total));
    // Shows the window once the half second is over, and lets it take the user's click.
    QCoreApplication::processEvents();
    return !m_dialog.wasCanceled();
}
