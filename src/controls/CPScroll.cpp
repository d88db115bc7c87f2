#include "controls/CPScroll.h"

#include "common/cError.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cControls.h"

#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <limits>

namespace {
// A number no bar can take leaves the bar's setting as it was.
bool fits(double value)
{
    return value >= double(std::numeric_limits<int>::min()) &&
           value <= double(std::numeric_limits<int>::max());
}

int rounded(double value)
{
    return int(modUtil1::roundHalfEven(value));
}

// A new range does not move the content: only a value the program or the user sets does.
void setRange(QScrollBar *bar, double maximum)
{
    const QSignalBlocker quiet(bar);
    bar->setMinimum(0);
    if (fits(rounded(maximum)))
        bar->setMaximum(rounded(maximum));
}

void setSteps(QScrollBar *bar, double length)
{
    if (fits(rounded(length / 5) + 1))
        bar->setSingleStep(rounded(length / 5) + 1);
    if (fits(rounded(length) + 1))
        bar->setPageStep(rounded(length) + 1);
}

// A negative size leaves the control where it was.
void move(QWidget *control, float left, float top, float width, float height)
{
    if (width >= 0 && height >= 0)
        cTwips::place(control, left, top, width, height);
}

// Keeps the scroll position when it still lies on the bar, else goes back to the start.
void follow(QScrollBar *bar, float offset, const std::function<void()> &reset)
{
    if (bar->minimum() <= offset && offset <= bar->maximum()) {
        bar->setValue(rounded(offset));
    } else {
        bar->setValue(0);
        reset();
    }
}

// Places a needed bar, sets its range and steps, and keeps the content where it was if it can.
void setUp(QScrollBar *bar, const QRectF &place, double maximum, float offset,
           const std::function<void()> &reset, float length)
{
    if (!bar)
        return;
    move(bar, float(place.left()), float(place.top()), float(place.width()), float(place.height()));
    setRange(bar, maximum);
    follow(bar, offset, reset);
    setSteps(bar, length);
    bar->raise();
}
} // namespace

void CPScroll::setScrollBarType(int type)
{
    m_ScrollBarType = type;
    if (m_oControl)
        refresh();
}

void CPScroll::ScrollingControl(int index, QWidget *control)
{
    const QString n = QString::number(index);
    attachStep(1, [&] {
        if (!control || !control->parentWidget())
            throw cError::objectNotSet();
        m_oControl = control;
        m_oContainer = control->parentWidget();
        m_oParent = control->window();
    });
    attachStep(2, [&] {
        m_oHScroll = static_cast<QScrollBar *>(
            cControls::Add(m_oParent, QStringLiteral("VB.HScrollBar"),
                           QStringLiteral("m_oHScroll") + n, m_oContainer));
        connect(m_oHScroll, &QScrollBar::valueChanged, this, &CPScroll::m_oHScroll_Change);
    });
    attachStep(3, [&] {
        m_oVScroll = static_cast<QScrollBar *>(
            cControls::Add(m_oParent, QStringLiteral("VB.VScrollBar"),
                           QStringLiteral("m_oVScroll") + n, m_oContainer));
        connect(m_oVScroll, &QScrollBar::valueChanged, this, &CPScroll::m_oVScroll_Change);
    });
    attachStep(4, [&] {
        m_oXScrollBtn = static_cast<QPushButton *>(
            cControls::Add(m_oParent, QStringLiteral("VB.CommandButton"),
                           QStringLiteral("m_oXScrollBtn") + n, m_oContainer));
        connect(m_oXScrollBtn, &QPushButton::clicked, this, &CPScroll::MoveScrollUpDn);
    });
    attachStep(5, [&] {
        for (QWidget *part :
             {static_cast<QWidget *>(m_oHScroll), static_cast<QWidget *>(m_oVScroll),
              static_cast<QWidget *>(m_oXScrollBtn)}) {
            part->setFocusPolicy(Qt::NoFocus);
        }
        for (QWidget *part :
             {static_cast<QWidget *>(m_oHScroll), static_cast<QWidget *>(m_oVScroll),
              static_cast<QWidget *>(m_oXScrollBtn)}) {
            part->hide();
        }
        // The content follows a released thumb, not a dragged one.
        m_oHScroll->setTracking(false);
        m_oVScroll->setTracking(false);
        m_sngBarSize = cTwips::height(m_oHScroll);
    });
}

void CPScroll::attachStep(int step, const std::function<void()> &action)
{
    if (step > 1 && !m_attached)
        return;
    m_attached = false;
    try {
        action();
        m_attached = true;
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0,
                           QStringLiteral("ScrollingControl.%1:").arg(step) + error.description(),
                           error);
    }
}

void CPScroll::viewport(float &width, float &height) const
{
    // Only a window has an inner coordinate system; frames are measured from the outside.
    if (m_oContainer->isWindow()) {
        width = float(cTwips::fromPixels(m_oContainer->width()));
        height = float(cTwips::fromPixels(m_oContainer->height()));
        return;
    }
    width = cTwips::width(m_oContainer) - cTwips::left(m_oContainer);
    height = cTwips::height(m_oContainer) - cTwips::top(m_oContainer);
}

void CPScroll::refresh()
{
    // Whatever an attach could not create is left out; the rest is still laid out.
    if (!m_oControl || !m_oContainer)
        return;
    const float T = m_sngBarSize;
    QWidget *K = m_oControl;
    float W0 = 0;
    float H0 = 0;
    viewport(W0, H0);
    float W = W0;
    float H = H0;
    const float CW = cTwips::width(K);
    const float CH = cTwips::height(K);

    bool needV = H < CH && (m_ScrollBarType & 2);
    if (needV)
        W -= T;
    const bool needH = W < CW && (m_ScrollBarType & 1);
    if (needH) {
        H -= T;
        if (!needV) {
            needV = H < CH && (m_ScrollBarType & 2);
            if (needV)
                W -= T;
        }
        if (W > 0)
            setUp(
                m_oHScroll, {0, H, needV ? W : W - T, T}, CW - W, -cTwips::left(K),
                [K] { cTwips::setLeft(K, 0); }, W);
    } else {
        if (m_oHScroll)
            m_oHScroll->lower();
        cTwips::setLeft(K, 0);
    }
    if (needV) {
        if (H > 0)
            setUp(
                m_oVScroll, {W, 0, T, needH ? H : H - T}, CH - H, -cTwips::top(K),
                [K] { cTwips::setTop(K, 0); }, H);
    } else {
        if (m_oVScroll)
            m_oVScroll->lower();
        cTwips::setTop(K, 0);
    }
    if (m_oHScroll)
        m_oHScroll->setVisible(needH);
    if (m_oVScroll)
        m_oVScroll->setVisible(needV);
    if (!m_oXScrollBtn)
        return;
    if (needH || needV) {
        move(m_oXScrollBtn, W0 - T, H0 - T, T, T);
        m_oXScrollBtn->show();
        m_oXScrollBtn->raise();
    } else {
        m_oXScrollBtn->hide();
    }
}

void CPScroll::MoveScrollUpDn()
{
    if (tag() == QLatin1String("NW"))
        MoveScrollUp();
    else
        MoveScrollDn();
}

void CPScroll::MoveScrollUp()
{
    if (!m_oVScroll->isHidden())
        m_oVScroll->setValue(m_oVScroll->minimum());
    if (!m_oHScroll->isHidden())
        m_oHScroll->setValue(m_oHScroll->minimum());
    setTag(QStringLiteral("SE"));
}

void CPScroll::MoveScrollDn()
{
    if (!m_oVScroll->isHidden())
        m_oVScroll->setValue(m_oVScroll->maximum());
    if (!m_oHScroll->isHidden())
        m_oHScroll->setValue(m_oHScroll->maximum());
    setTag(QStringLiteral("NW"));
}

QString CPScroll::tag() const
{
    return m_oXScrollBtn ? m_oXScrollBtn->property("Tag").toString() : QString();
}

void CPScroll::setTag(const QString &tag)
{
    m_oXScrollBtn->setProperty("Tag", tag);
}

void CPScroll::m_oHScroll_Change(int value)
{
    cTwips::setLeft(m_oControl, float(-value));
}

void CPScroll::m_oVScroll_Change(int value)
{
    cTwips::setTop(m_oControl, float(-value));
}
