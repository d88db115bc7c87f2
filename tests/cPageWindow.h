#pragma once

#include <QWidget>

class QFrame;

// A window shaped like the options dialog where pages are built: a "TabStrip1" of 8895 by 4695
// twips and the frame "fraRight" that holds the pages.
class cPageWindow : public QWidget
{
public:
    cPageWindow();
    QFrame *fraRight;
};
