#pragma once

#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <functional>

class QWidget;

// Makes one control scrollable inside its container: a horizontal and a vertical bar and a
// corner button, shown only when needed. The content moves when a bar's value changes, so it
// follows a released thumb, not a dragged one. Nothing refreshes by itself.
class CPScroll : public QObject
{
    Q_OBJECT
public:
    int ScrollBarType() const { return m_ScrollBarType; }
    // Bit 1 allows the horizontal bar, bit 2 the vertical one; refreshes once attached.
    void setScrollBarType(int type);
    // Attaches the control and creates the bars and the button, hidden; a failing step is
    // logged and ends the attach.
    void ScrollingControl(int index, QWidget *control);
    void refresh();
    void MoveScrollUpDn();
    void MoveScrollUp();
    void MoveScrollDn();

    QScrollBar *horizontalBar() const { return m_oHScroll; }
    QScrollBar *verticalBar() const { return m_oVScroll; }
    QPushButton *cornerButton() const { return m_oXScrollBtn; }
    float barSize() const { return m_sngBarSize; }
    // The corner button's next jump: "SE", "NW", or empty before the first.
    QString tag() const;

private:
    void attachStep(int step, const std::function<void()> &action);
    void viewport(float &width, float &height) const;
    void m_oHScroll_Change(int value);
    void m_oVScroll_Change(int value);
    void setTag(const QString &tag);

    QPointer<QWidget> m_oParent;
    QPointer<QWidget> m_oContainer;
    QPointer<QWidget> m_oControl;
    float m_sngBarSize = 0;
    int m_ScrollBarType = 0;
    QPointer<QScrollBar> m_oHScroll;
    QPointer<QScrollBar> m_oVScroll;
    QPointer<QPushButton> m_oXScrollBtn;
    bool m_attached = false;
};
