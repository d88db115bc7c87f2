#pragma once

class QWidget;

// The one place that knows how twips (1/1440 inch) map to pixels. Everything else speaks twips:
// a control's twips geometry is kept on the control as set and read back unchanged, and its pixel
// geometry follows from it.
class cTwips
{
public:
    static constexpr double perInch = 1440.0;

    static double dpi();
    static int toPixels(double twips);
    static double fromPixels(int pixels);

    static void place(QWidget *control, float left, float top, float width, float height);
    // As place, but never narrower than the control's content: the design widths were made for
    // narrower fonts, and a caption must not end cut off.
    static void placeFitting(QWidget *control, float left, float top, float width, float height);
    static void setLeft(QWidget *control, float left);
    static void setTop(QWidget *control, float top);
    static void setWidth(QWidget *control, float width);
    static void setHeight(QWidget *control, float height);

    static float left(const QWidget *control);
    static float top(const QWidget *control);
    static float width(const QWidget *control);
    static float height(const QWidget *control);

private:
    static void apply(QWidget *control);
};
