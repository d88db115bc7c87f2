#pragma once

#include "info/cInfoWindow.h"

// The program's short name, title and version; a click on the background closes it.
class frmAbout : public cInfoWindow
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner = nullptr);
};
