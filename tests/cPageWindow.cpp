#include "cPageWindow.h"

#include "desktop/cTwips.h"

#include <QFrame>

cPageWindow::cPageWindow()
{
    setObjectName("frmTest");
    auto *strip = new QWidget(this);
    strip->setObjectName("TabStrip1");
    cTwips::place(strip, 120, 0, 8895, 4695);
    fraRight = new QFrame(this);
    fraRight->setObjectName("fraRight");
    cTwips::place(fraRight, 0, 0, 8895, 4695);
}
