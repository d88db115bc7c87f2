#include "options/frmOptions.h"

#include "common/cError.h"
#include "common/cOption.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/CPScroll.h"
#include "controls/cCheckBox.h"
#include "controls/cControls.h"
#include "controls/cFocusGuard.h"
#include "controls/cFrame.h"
#include "controls/cLabel.h"
#include "controls/cTextBox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <algorithm>

namespace {
const qint16 rowPitch = 380;
const qint16 controlLeft = 4000;

// A check box can show 0, 1 or 2 and nothing else.
bool boxValue(const QString &text, qint16 &value)
{
    bool whole = false;
    const int number = text.toInt(&whole);
    value = qint16(number);
    return whole && number >= 0 && number <= 2;
}
} // namespace

frmOptions::frmOptions(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Opzioni del programma"));

    TabStrip1 = new QWidget(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    cTwips::place(TabStrip1, 120, 0, 8895, 4695);
    fraRight = new QFrame(this);
    fraRight->setObjectName(QStringLiteral("fraRight"));
    fraRight->setFrameShape(QFrame::NoFrame);
    cTwips::place(fraRight, 0, 0, 8895, 4695);
    // The pages start below the tab row, so the tabs can stand in front of fraRight and take
    // the clicks that fraRight would otherwise swallow.
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("TabStrip1Tabs"));
    m_tabs->setAccessibleName(QStringLiteral("Pages"));
    m_tabs->setExpanding(false);
    cTwips::place(m_tabs, 120, 0, 8895, 350);
    m_tabs->raise();

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cTwips::place(cmdOK, 120, 4920, 1095, 375);
    auto *cmdCancel = new QPushButton(QStringLiteral("Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cTwips::place(cmdCancel, 1320, 4920, 1095, 375);

    // "OK" lets the field being left have its say first; "Annulla" throws everything away.
    cFocusGuard::checkBefore(cmdOK);
    cFocusGuard::exempt(cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(m_tabs, &QTabBar::currentChanged, this, &frmOptions::TabStrip1_Click);
}

void frmOptions::placeOverOwner()
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect placed(QPoint(), size());
    if (owner)
        placed.moveCenter(owner->frameGeometry().center());
    else
        placed.moveTopLeft(QPoint(area.x() + (area.width() - width()) / 2, area.y()));
    // Whole on the screen, however near its edge the owner stands.
    placed.moveLeft(std::clamp(placed.left(), area.left(),
                               std::max(area.left(), area.right() + 1 - placed.width())));
    placed.moveTop(std::clamp(placed.top(), area.top(),
                              std::max(area.top(), area.bottom() + 1 - placed.height())));
    move(placed.topLeft());
}

void frmOptions::Form_Load()
{
    {
        const QSignalBlocker quiet(m_tabs);
        while (m_tabs->count() > 0)
            m_tabs->removeTab(0);
    }
    resize(cTwips::toPixels(9200), cTwips::toPixels(6300));
    placeOverOwner();
    pageCount = 0;
    objCounter = 1;
    m_failures = 0;
    for (const QString &section : gOption.getSections())
        buildPage(section);
    if (pageCount > 0) {
        try {
            showFirstPage();
        } catch (const std::exception &error) {
            noteFailure(QStringLiteral("TAB1"), error);
        }
    }
    if (m_failures > 0)
        modUtil1::writeLog(false, 0,
                           QStringLiteral("frmOptions.Form_Load: %1 not built, the first %2")
                               .arg(m_failures)
                               .arg(m_firstFailure));
}

void frmOptions::showFirstPage()
{
    const auto inner = std::static_pointer_cast<cFrame>(objColl.item(QStringLiteral("FRA1")));
    const auto outer = std::static_pointer_cast<cFrame>(objColl.item(QStringLiteral("TAB1")));
    inner->visible(true);
    outer->visible(true);
    std::static_pointer_cast<CPScroll>(objColl.item(QStringLiteral("SCR1")))->refresh();
}

void frmOptions::noteFailure(const QString &what, const std::exception &error)
{
    if (m_failures++ == 0)
        m_firstFailure = what + QStringLiteral(": ") + QString::fromLocal8Bit(error.what());
}

void frmOptions::buildPage(const QString &section)
{
    ++pageCount;
    const QString n = QString::number(pageCount);
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setTabData(m_tabs->addTab(section), QString(QStringLiteral("TAB") + n));
    }
    auto outer = std::make_shared<cFrame>();
    outer->Initialize(&objColl, fraRight, QStringLiteral("TAB") + n);
    objColl.Add(outer, QStringLiteral("TAB") + n);
    outer->name(section);
    auto inner = std::make_shared<cFrame>();
    inner->Initialize(&objColl, fraRight, QStringLiteral("FRA") + n);
    objColl.Add(inner, QStringLiteral("FRA") + n);
    inner->name(section);
    if (!outer->obj || !inner->obj)
        return;
    cControls::setContainer(inner->obj, outer->obj);
    auto scroller = std::make_shared<CPScroll>();
    scroller->ScrollingControl(pageCount, inner->obj);
    scroller->setScrollBarType(3);
    objColl.Add(scroller, QStringLiteral("SCR") + n);

    int row = 1;
    for (const QString &key : gOption.getKeyForSection(section)) {
        try {
            addRow(key, row, inner, *scroller);
        } catch (const std::exception &error) {
            // The page goes on with the next key; the whole opening reports once.
            noteFailure(key, error);
        }
    }
}

void frmOptions::addRow(const QString &key, int &row, const std::shared_ptr<cFrame> &inner,
                        CPScroll &scroller)
{
    QString text;
    QString length;
    QString value;
    try {
        text = gOption.getText(key);
        length = gOption.getLen(key);
        value = gOption.getStrVal(key);
    } catch (const cError &error) {
        modUtil1::writeLog(true, 0, QStringLiteral("frmOptions: unknown key ") + key, error);
        return;
    }
    if (!length.isEmpty() && length.toInt() == 0)
        return;
    auto label = std::make_shared<cLabel>();
    label->Initialize(&objColl, inner, key, row);
    objColl.Add(label, QString::number(objCounter));
    if (length.isEmpty())
        label->Title(1, text);
    else
        label->caption(text);
    ++objCounter;
    label->setVGap(rowPitch);
    scroller.refresh();
    if (length.isEmpty()) {
        ++row;
        return;
    }
    std::shared_ptr<cDynObj> control;
    if (length.toInt() < 0) {
        qint16 state = 0;
        if (boxValue(value, state)) {
            auto box = std::make_shared<cCheckBox>();
            box->Initialize(&objColl, inner, QStringLiteral("TB") + key, row);
            objColl.Add(box, QStringLiteral("CK") + key);
            box->name(QStringLiteral("CK") + key);
            box->Value(state);
            box->obj->setAccessibleName(text);
            control = box;
        } else {
            // A value no box can show stays as it is, and "OK" leaves it alone.
            modUtil1::writeLog(true, 0,
                               QStringLiteral("frmOptions: ") + key +
                                   QStringLiteral(" is not 0, 1 or 2: ") + value);
        }
    } else {
        auto field = std::make_shared<cTextBox>();
        field->Initialize(&objColl, inner, QStringLiteral("TB") + key, row);
        objColl.Add(field, QStringLiteral("TB") + key);
        field->name(QStringLiteral("TB") + key);
        field->lenght(qint16(length.toInt()));
        field->Text(value);
        field->obj->setAccessibleName(text);
        control = field;
    }
    if (control) {
        control->left(controlLeft);
        control->setVGap(rowPitch);
    }
    ++objCounter;
    ++row;
    scroller.refresh();
}

void frmOptions::TabStrip1_Click()
{
    const int pages = pageCount;
    for (int i = 1; i <= pages; ++i) {
        const QString selected = m_tabs->tabData(m_tabs->currentIndex()).toString();
        try {
            const auto outer = std::static_pointer_cast<cFrame>(
                objColl.item(QStringLiteral("TAB") + QString::number(i)));
            const auto inner = std::static_pointer_cast<cFrame>(
                objColl.item(QStringLiteral("FRA") + QString::number(i)));
            const bool shown = selected == QStringLiteral("TAB") + QString::number(i);
            if (shown) {
                outer->visible(true);
                inner->visible(true);
            } else {
                outer->visible(false);
                inner->visible(false);
            }
        } catch (const cError &) {
            // A page whose frames could not be built has nothing to show or hide.
        }
    }
}

void frmOptions::cmdOK_Click()
{
    const int count = objColl.Count();
    for (int i = 1; i <= count; ++i) {
        auto *object = dynamic_cast<cDynObj *>(objColl.item(i).get());
        if (!object)
            continue;
        try {
            if (object->className() == QLatin1String("cTextBox")) {
                auto *field = static_cast<cTextBox *>(object);
                if (!field->obj)
                    throw cError::invalidArgument();
                gOption.chgStrVal(field->loadName.mid(2), field->obj->text());
            } else if (object->className() == QLatin1String("cCheckBox")) {
                auto *box = static_cast<cCheckBox *>(object);
                gOption.chgStrVal(box->loadName.mid(2), QString::number(box->Value()));
            }
        } catch (const cError &) {
            // A value that cannot be stored is skipped; the others still are.
        }
    }
    gOption.iniwrite();
    clearPages();
    accept();
}

void frmOptions::cmdCancel_Click()
{
    clearPages();
    reject();
}

void frmOptions::done(int result)
{
    clearPages();
    QDialog::done(result);
}

void frmOptions::clearPages()
{
    const int count = objColl.Count();
    for (int i = 0; i < count; ++i) {
        const auto frame = std::dynamic_pointer_cast<cFrame>(objColl.item(1));
        if (frame && frame->loadName.left(3) == QLatin1String("TAB") && frame->obj) {
            frame->visible(false);
            frame->Terminate();
        }
        objColl.Remove(1);
    }
}
