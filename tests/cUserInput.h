#pragma once

#include <QRect>
#include <Qt>

class QWidget;

// Input as a user gives it: a click lands on whatever the window shows at the point, so a
// widget lying over the one aimed at takes the click, as it would take the user's.
struct cUserInput
{
    // Shows the window and waits until it is active, so keys reach its focused widget.
    static bool showActive(QWidget *window);
    // Clicks the centre of area (in aimed's coordinates, its whole rectangle when empty) through
    // the window and returns the widget that stands there, which took the click.
    static QWidget *click(QWidget *aimed, const QRect &area = QRect(),
                          Qt::MouseButton button = Qt::LeftButton);
    // Presses the key on the widget that has the focus.
    static void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
};
