#pragma once

#include <QDialog>

class cClickLabel;
class QUrl;

// What the small information windows share: a client area in twips, labels placed in twips, a
// click on the background that closes the window, and links opened through the desktop.
class cInfoWindow : public QDialog
{
    Q_OBJECT
public:
    cInfoWindow(QWidget *owner, const QString &name, const QString &caption, int width, int height);

    static void openLink(QWidget *parent, const QUrl &url);
    // The fixed text colours were chosen for a light window; a dark theme would hide them.
    static void useLightBackground(QWidget *window);

protected:
    cClickLabel *addLabel(QWidget *container, const QString &name, const QString &text, int left,
                          int top, int width, int height);
    QFont defaultFont() const;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
