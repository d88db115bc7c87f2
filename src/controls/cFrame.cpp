#include "controls/cFrame.h"

#include "common/cError.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cControls.h"

#include <QFrame>

namespace {
QWidget *tabStrip(QWidget *window)
{
    QWidget *strip = cControls::item(window, QStringLiteral("TabStrip1"));
    if (!strip)
        throw cError(cError::ControlNotFound, QStringLiteral("Control 'TabStrip1' not found"));
    return strip;
}

QFrame *control(const QPointer<QFrame> &frame)
{
    if (!frame)
        throw cError::objectNotSet();
    return frame;
}
} // namespace

void cFrame::Initialize(cObjColl *, QWidget *f, const QString &cname)
{
    try {
        build(f, cname);
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0,
                           QStringLiteral("ERRORE cFrame:(") + cname + QStringLiteral("):") +
                               error.description(),
                           error);
    }
}

void cFrame::build(QWidget *f, const QString &cname)
{
    parentFrame = f;
    loadName = cname;
    if (!f)
        throw cError::invalidArgument();
    QWidget *window = f->window();
    obj = static_cast<QFrame *>(
        cControls::Add(window, QStringLiteral("VB.Frame"), loadName, f->parentWidget()));
    cControls::setContainer(obj, f);
    obj->setFrameShape(QFrame::NoFrame);
    obj->setAccessibleName(cname); // the caption a frame without border never shows
    QWidget *strip = nullptr;
    if (cname.left(3) == QLatin1String("TAB")) {
        sName = loadName;
        cTwips::setTop(obj, 350);
        cTwips::setLeft(obj, 20);
        strip = tabStrip(window);
        cTwips::setHeight(obj, cTwips::height(strip));
        cTwips::setWidth(obj, cTwips::width(strip));
    } else {
        cTwips::setTop(obj, 350);
        cTwips::setLeft(obj, 20);
        strip = tabStrip(window);
        cTwips::setHeight(obj, cTwips::height(strip) - 900);
        cTwips::setWidth(obj, cTwips::width(strip) - 265);
    }
    obj->raise();
    obj->hide();
}

void cFrame::Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname, int)
{
    Initialize(c, f ? static_cast<QWidget *>(f->obj) : nullptr, cname);
}

void cFrame::Terminate()
{
    cControls::Remove(control(obj)->window(), loadName);
    obj = nullptr;
}

void cFrame::visible(bool shown)
{
    control(obj)->setVisible(shown);
}

int cFrame::Height() const
{
    return int(modUtil1::roundHalfEven(cTwips::height(control(obj))));
}

void cFrame::setHeight(int height)
{
    cTwips::setHeight(control(obj), height);
}
