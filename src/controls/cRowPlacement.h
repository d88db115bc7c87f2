#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class cFrame;
class QWidget;

// The placement arithmetic the row objects share: a control on row index of a page stands at
// index × pitch, and its page frame grows (never shrinks) to hold the row plus a margin. Each row
// class keeps its own heights, margins and error handling.
class cRowPlacement
{
public:
    static void placeOnRow(QWidget *control, int index, qint16 vgap, float height);
    // Throws cError when the frame has no control.
    static void growFrame(cFrame &frame, const QWidget *control, int margin);
    // Creates a row's control on the window of the frame f, in the row controls' name space;
    // throws cError when there is no frame or the name is taken.
    static QWidget *create(const std::shared_ptr<cFrame> &f, const QString &classId,
                           const QString &name, bool isLabel);
    // Throws cError when the control was never created.
    static QWidget *created(QWidget *control);
    // Throws cError when the row has no page frame.
    static cFrame &frame(const std::shared_ptr<cFrame> &frame);
};
