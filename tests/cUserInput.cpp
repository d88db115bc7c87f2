#include "cUserInput.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

bool cUserInput::showActive(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

QWidget *cUserInput::click(QWidget *aimed, const QRect &area, Qt::MouseButton button)
{
    QWidget *window = aimed->window();
    const QPoint point = aimed->mapTo(window, (area.isEmpty() ? aimed->rect() : area).center());
    QWidget *hit = window->childAt(point);
    // Through the window, as the platform delivers a click: the window finds the widget.
    QTest::mouseClick(window->windowHandle(), button, Qt::NoModifier, point);
    return hit ? hit : window;
}

void cUserInput::key(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : QApplication::activeWindow(), Qt::Key(key), modifiers);
}
