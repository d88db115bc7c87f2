#include "controls/cTextBox.h"

#include "common/cDesktop.h"
#include "common/cError.h"
#include "common/cOption.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cControls.h"
#include "controls/cFocusGuard.h"
#include "controls/cFrame.h"
#include "controls/cRowPlacement.h"
#include "options/cObjColl.h"

#include <QKeyEvent>
#include <QTimer>

void cTextBox::Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                          int ind)
{
    try {
        vdim = 285;
        vgap = 370;
        oparent = f;
        loadName = cname;
        index = ind;
        obj = static_cast<QLineEdit *>(
            cRowPlacement::create(f, QStringLiteral("VB.TextBox"), cname, false));
        Text(QString());
        vrelocateVgap();
        lenght(10);
        cControls::setContainer(obj, f->obj);
        obj->show();
        sName = cname;
        help(cname);
        objColl = c;
        QFont font(QStringLiteral("courier new"), 8);
        font.setBold(true);
        obj->setFont(font);
        obj->installEventFilter(this);
        // The field may outlive this object; then there is nothing left to check.
        cFocusGuard::guard(
            obj, [self = QPointer<cTextBox>(this)] { return self ? self->validate() : true; });
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0,
                           QStringLiteral("ERRORE cTextBox:(") + QString::number(ind) +
                               QLatin1Char(',') + cname + QStringLiteral("):") +
                               error.description(),
                           error);
    }
}

void cTextBox::setVGap(qint16 vg)
{
    vgap = vg;
    vrelocateVgap();
}

void cTextBox::help(const QString &text)
{
    control()->setToolTip(text);
}

void cTextBox::lenght(qint16 l)
{
    iLength = l;
    cTwips::setWidth(control(), float(l) * 150.0f + 40.0f);
}

void cTextBox::left(qint16 x)
{
    cTwips::setLeft(control(), x);
}

void cTextBox::Text(const QString &t)
{
    sText = t;
    control()->setText(t);
}

void cTextBox::vrelocateVgap()
{
    try {
        cRowPlacement::placeOnRow(obj, index, vgap, vdim);
        vrelocate();
    } catch (const cError &error) {
        report(QStringLiteral("ERRORE cTextBox.vrelocate:("), error);
    }
}

void cTextBox::vrelocate()
{
    try {
        cRowPlacement::growFrame(cRowPlacement::frame(oparent), cRowPlacement::created(obj), 100);
    } catch (const cError &error) {
        report(QStringLiteral("ERRORE cTextBox.vrelocate:("), error);
    }
}

bool cTextBox::validate()
{
    try {
        const QString t = control()->text();
        if (t.isEmpty())
            return true;
        const qsizetype counted = t.size() - t.count(QLatin1Char('.'));
        const bool tooLong = counted > iLength;
        if (tooLong)
            WrError(sName + QLatin1Char('(') + t + QStringLiteral("):max lunghezza ") +
                    QString::number(iLength) + QStringLiteral(" caratteri"));
        if (t == sText)
            return true;
        if (objColl)
            objColl->setModified(objColl->modified() + 1);
        sText = t;
        return !tooLong;
    } catch (const cError &error) {
        modUtil1::writeLog(false, 0,
                           QStringLiteral("ERRORE cTextBox.validate:(") + sName +
                               QStringLiteral("):") + error.description(),
                           error);
        return true;
    }
}

void cTextBox::WrError(const QString &message)
{
    cDesktop &desktop = cDesktop::current();
    desktop.beep();
    desktop.message(obj ? obj->window() : nullptr, message);
    if (gOption.getIntVal(QStringLiteral("OUTBOXERROR")) == 1)
        desktop.message(obj ? obj->window() : nullptr, message);
}

bool cTextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // After the focus-in handling, which would otherwise place the cursor over the selection.
        QTimer::singleShot(0, obj, [field = obj] {
            if (field)
                field->selectAll();
        });
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cFocusGuard::moveOn(obj);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QLineEdit *cTextBox::control() const
{
    return static_cast<QLineEdit *>(cRowPlacement::created(obj));
}

void cTextBox::report(const QString &prefix, const cError &error) const
{
    modUtil1::writeLog(false, 0,
                       prefix + QString::number(index) + QLatin1Char(',') + sName +
                           QStringLiteral("):") + error.description(),
                       error);
}
