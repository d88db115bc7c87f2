#include "desktop/cCursor.h"

#include <QApplication>
#include <QWidget>

cCursor::~cCursor()
{
    Revert();
}

void cCursor::MousePointer(int shape)
{
    m_saved = pointer(m_scope);
    setPointer(m_scope, shape);
}

void cCursor::Revert()
{
    setPointer(m_scope, m_saved);
}

int cCursor::pointer(const QWidget *scope)
{
    if (scope)
        return scope->testAttribute(Qt::WA_SetCursor) && scope->cursor().shape() == Qt::WaitCursor
                   ? Hourglass
                   : Default;
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor ? Hourglass : Default;
}

void cCursor::setPointer(QWidget *scope, int shape)
{
    if (scope) {
        if (shape == Hourglass)
            scope->setCursor(Qt::WaitCursor);
        else
            scope->unsetCursor();
        return;
    }
    if (shape == Hourglass) {
        if (QApplication::overrideCursor())
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
