#include "info/cClickLabel.h"

#include <QMouseEvent>

void cClickLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void cClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
