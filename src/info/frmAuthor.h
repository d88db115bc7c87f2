#pragma once

#include "info/cInfoWindow.h"

class QFrame;
class QLabel;

// The author's card: shown at start-up and from the menu. The name opens a mail to the author,
// the web host opens the site; a click on the background or a frame closes it.
class frmAuthor : public cInfoWindow
{
    Q_OBJECT
public:
    explicit frmAuthor(QWidget *owner = nullptr);

private:
    QFrame *addFrame(const QString &name, int left, int top, int width, int height);
    void makeLink(QLabel *label);
    void Label2_Click();
    void Label5_Click();
};
