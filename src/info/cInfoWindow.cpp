#include "info/cInfoWindow.h"

#include "common/cDesktop.h"
#include "desktop/cTwips.h"
#include "info/cClickLabel.h"

#include <QMouseEvent>
#include <QPalette>
#include <QUrl>

cInfoWindow::cInfoWindow(QWidget *owner, const QString &name, const QString &caption, int width,
                         int height)
    : QDialog(owner)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFont(defaultFont());
    resize(cTwips::toPixels(width), cTwips::toPixels(height));
}

void cInfoWindow::openLink(QWidget *parent, const QUrl &url)
{
    if (!cDesktop::current().openUrl(url))
        cDesktop::current().message(parent, QStringLiteral("The address could not be opened: ") +
                                                url.toString());
}

void cInfoWindow::useLightBackground(QWidget *window)
{
    QPalette light = window->palette();
    light.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    light.setColor(QPalette::WindowText, Qt::black);
    window->setPalette(light);
    window->setAutoFillBackground(true);
}

cClickLabel *cInfoWindow::addLabel(QWidget *container, const QString &name, const QString &text,
                                   int left, int top, int width, int height)
{
    auto *label = new cClickLabel(text, container);
    label->setObjectName(name);
    cTwips::placeFitting(label, left, top, width, height);
    return label;
}

QFont cInfoWindow::defaultFont() const
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

void cInfoWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void cInfoWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        accept();
    QDialog::mouseReleaseEvent(event);
}
