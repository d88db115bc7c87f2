#include "desktop/cTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace {
const char *const leftKey = "twipsLeft";
const char *const topKey = "twipsTop";
const char *const widthKey = "twipsWidth";
const char *const heightKey = "twipsHeight";

float stored(const QWidget *control, const char *key, int pixels)
{
    const QVariant value = control->property(key);
    return value.isValid() ? value.toFloat() : float(cTwips::fromPixels(pixels));
}
} // namespace

double cTwips::dpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double value = screen ? screen->logicalDotsPerInchY() : 0.0;
    return value > 0.0 ? value : 96.0;
}

int cTwips::toPixels(double twips)
{
    return int(std::lround(twips * dpi() / perInch));
}

double cTwips::fromPixels(int pixels)
{
    return pixels * perInch / dpi();
}

void cTwips::place(QWidget *control, float left, float top, float width, float height)
{
    control->setProperty(leftKey, left);
    control->setProperty(topKey, top);
    control->setProperty(widthKey, width);
    control->setProperty(heightKey, height);
    apply(control);
}

void cTwips::placeFitting(QWidget *control, float left, float top, float width, float height)
{
    place(control, left, top, std::max(width, float(fromPixels(control->sizeHint().width()))),
          height);
}

void cTwips::setLeft(QWidget *control, float left)
{
    place(control, left, top(control), width(control), height(control));
}

void cTwips::setTop(QWidget *control, float top)
{
    place(control, left(control), top, width(control), height(control));
}

void cTwips::setWidth(QWidget *control, float width)
{
    place(control, left(control), top(control), width, height(control));
}

void cTwips::setHeight(QWidget *control, float height)
{
    place(control, left(control), top(control), width(control), height);
}

float cTwips::left(const QWidget *control)
{
    return stored(control, leftKey, control->x());
}

float cTwips::top(const QWidget *control)
{
    return stored(control, topKey, control->y());
}

float cTwips::width(const QWidget *control)
{
    return stored(control, widthKey, control->width());
}

float cTwips::height(const QWidget *control)
{
    return stored(control, heightKey, control->height());
}

void cTwips::apply(QWidget *control)
{
    control->setGeometry(toPixels(left(control)), toPixels(top(control)),
                         std::max(0, toPixels(width(control))),
                         std::max(0, toPixels(height(control))));
}
