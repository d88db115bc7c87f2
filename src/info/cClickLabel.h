#pragma once

#include <QLabel>

// A label that takes its clicks for itself (they never reach the window behind it) and reports
// them, for the links of the information windows.
class cClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
