#include "controls/cLabel.h"

#include "common/cError.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cControls.h"
#include "controls/cFrame.h"
#include "controls/cRowPlacement.h"

void cLabel::Initialize(cObjColl *, const std::shared_ptr<cFrame> &f, const QString &cname, int ind)
{
    try {
        vdim = 350;
        vgap = 370;
        oparent = f;
        loadName = cname;
        index = ind;
        obj = static_cast<QLabel *>(
            cRowPlacement::create(f, QStringLiteral("VB.Label"), cname, true));
        cControls::setContainer(obj, f->obj);
        cTwips::setLeft(obj, 100);
        cTwips::setWidth(obj, 2900);
        vrelocateVgap();
        obj->setFont(QFont(QStringLiteral("arial"), 8));
        obj->show();
    } catch (const cError &error) {
        report(QStringLiteral("ERRORE cLabel:("), error, ind, cname);
    }
}

void cLabel::setVGap(qint16 vg)
{
    vgap = vg;
    if (vg - 10 < -32768)
        throw cError::overflow();
    vdim = qint16(vg - 10);
    vrelocateVgap();
}

void cLabel::caption(const QString &text)
{
    auto *label = static_cast<QLabel *>(cRowPlacement::created(obj));
    label->setText(text);
    // A description longer than its place is cut; the whole of it shows under the pointer.
    label->setToolTip(label->fontMetrics().horizontalAdvance(text) > label->width() ? text
                                                                                    : QString());
}

void cLabel::Title(qint16 level, const QString &text)
{
    caption(text);
    ltitle = level;
    QFont bold = obj->font();
    bold.setBold(true);
    obj->setFont(bold);
    cTwips::setHeight(obj, 250);
}

void cLabel::vrelocateVgap()
{
    try {
        cRowPlacement::placeOnRow(obj, index, vgap, vdim);
        vrelocate();
        // A heading is shorter than its row, but grows the frame as a full row does.
        if (ltitle != 0)
            cTwips::setHeight(obj, 245);
    } catch (const cError &error) {
        report(QStringLiteral("ERRORE cLabel.vrelocateVgap:("), error, index, loadName);
    }
}

void cLabel::vrelocate()
{
    try {
        cRowPlacement::growFrame(cRowPlacement::frame(oparent), cRowPlacement::created(obj), 100);
    } catch (const cError &error) {
        report(QStringLiteral("ERRORE cLabel.vrelocate:("), error, index, loadName);
    }
}

void cLabel::report(const QString &prefix, const cError &error, int ind, const QString &name) const
{
    modUtil1::writeLog(false, 0,
                       prefix + QString::number(ind) + QLatin1Char(',') + name +
                           QStringLiteral("):") + error.description(),
                       error);
}
