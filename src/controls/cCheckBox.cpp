#include "controls/cCheckBox.h"

#include "common/cError.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cControls.h"
#include "controls/cFocusGuard.h"
#include "controls/cFrame.h"
#include "controls/cRowPlacement.h"
#include "options/cObjColl.h"

#include <QKeyEvent>

void cCheckBox::Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                           int ind)
{
    try {
        vgap = 370;
        oparent = f;
        loadName = cname;
        index = ind;
        obj = static_cast<QCheckBox *>(
            cRowPlacement::create(f, QStringLiteral("VB.CheckBox"), cname, false));
        cTwips::setLeft(obj, 6000);
        cTwips::setWidth(obj, 200);
        vrelocate();
        cControls::setContainer(obj, f->obj);
        obj->show();
        sName = cname;
        objColl = c;
        QFont font(QStringLiteral("courier new"), 8);
        font.setBold(true);
        obj->setFont(font);
        obj->installEventFilter(this);
        cFocusGuard::guard(obj, [self = QPointer<cCheckBox>(this)] {
            if (self)
                self->leaving();
            return true;
        });
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0,
                           QStringLiteral("ERRORE cCheckBox(") + QString::number(ind) +
                               QLatin1Char(',') + cname + QStringLiteral("):") +
                               error.description(),
                           error);
    }
}

void cCheckBox::setVGap(qint16 vg)
{
    vgap = vg;
    vrelocateVgap();
}

void cCheckBox::left(qint16 x)
{
    cTwips::setLeft(control(), x);
}

void cCheckBox::Value(qint16 v)
{
    if (v < 0 || v > 2)
        throw cError(cError::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    control()->setCheckState(states[v]);
}

qint16 cCheckBox::Value() const
{
    switch (control()->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void cCheckBox::vrelocateVgap()
{
    cRowPlacement::placeOnRow(obj, index, vgap, 285);
    vrelocate();
}

void cCheckBox::vrelocate()
{
    cRowPlacement::growFrame(cRowPlacement::frame(oparent), cRowPlacement::created(obj), 200);
}

void cCheckBox::leaving()
{
    // A count past the 16-bit limit is left where it is; the box still lets the focus go.
    try {
        if (objColl) {
            objColl->setModified(objColl->modified() + 1);
            objColl->Calc(sName);
        }
    } catch (const cError &) {
    }
}

bool cCheckBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cFocusGuard::moveOn(obj);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QCheckBox *cCheckBox::control() const
{
    return static_cast<QCheckBox *>(cRowPlacement::created(obj));
}
