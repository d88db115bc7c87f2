#include "cPageWindow.h"
#include "cTestDesktop.h"
#include "common/cError.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/CPScroll.h"
#include "controls/cControls.h"
#include "controls/cFrame.h"
#include "options/cObjColl.h"

#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Page
{
    cPageWindow window;
    std::shared_ptr<cFrame> outer = std::make_shared<cFrame>();
    std::shared_ptr<cFrame> inner = std::make_shared<cFrame>();
    CPScroll scroller;

    Page()
    {
        outer->Initialize(nullptr, window.fraRight, "TAB1");
        inner->Initialize(nullptr, window.fraRight, "FRA1");
        cControls::setContainer(inner->obj, outer->obj);
        scroller.ScrollingControl(1, inner->obj);
    }
    QWidget *content() const { return inner->obj; }
};

QRectF twips(const QWidget *control)
{
    return QRectF(cTwips::left(control), cTwips::top(control), cTwips::width(control),
                  cTwips::height(control));
}
} // namespace

class tst_runtimeControls : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { modUtil1::setLogFolder(m_dir.path()); }

    void collectionKeepsOrderAndKeys()
    {
        cObjColl collection;
        auto outer = std::make_shared<QObject>();
        auto inner = std::make_shared<QObject>();
        auto scroller = std::make_shared<QObject>();
        collection.Add(outer, "TAB1");
        collection.Add(inner, "FRA1");
        collection.Add(scroller, "SCR1");
        QCOMPARE(collection.item(2), inner);
        QCOMPARE(collection.item("fra1"), inner);
        collection.Remove(1);
        QCOMPARE(collection.item(1), inner);
        QCOMPARE(collection.Count(), 2);
        collection.Remove("scr1");
        collection.Remove(1);
        QCOMPARE(collection.Count(), 0);
        // Only the test holds the objects now.
        QCOMPARE(outer.use_count(), 1);
        QVERIFY_THROWS_EXCEPTION(cError, collection.item(1));
        QVERIFY_THROWS_EXCEPTION(cError, collection.item("TAB1"));
        QVERIFY_THROWS_EXCEPTION(cError, collection.Remove(0));
    }

    void duplicateKeyIsReportedAndSkipped()
    {
        cTestDesktop desktop;
        cObjColl collection;
        auto first = std::make_shared<QObject>();
        collection.Add(first, "TBX");
        collection.Add(std::make_shared<QObject>(), "tbx");
        QCOMPARE(collection.Count(), 1);
        QCOMPARE(collection.item("TBX"), first);
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().startsWith("[0] ERRORE.cObjColl.Add:tbx"));
        QFile log(modUtil1::logFilePath(QDate::currentDate()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("ERRORE.cObjColl.Add:tbx"), 1);
    }

    void modifiedStopsAtSixteenBits()
    {
        cObjColl collection;
        QCOMPARE(int(collection.modified()), 0);
        collection.setModified(32767);
        QVERIFY_THROWS_EXCEPTION(cError, collection.setModified(32768));
        QCOMPARE(int(collection.modified()), 32767);
    }

    void framesTakeTheirPlaces()
    {
        cTestDesktop desktop;
        cPageWindow window;
        cFrame outer;
        cFrame inner;
        outer.Initialize(nullptr, window.fraRight, "TAB1");
        inner.Initialize(nullptr, window.fraRight, "FRA1");
        QCOMPARE(twips(outer.obj), QRectF(20, 350, 8895, 4695));
        QCOMPARE(twips(inner.obj), QRectF(20, 350, 8630, 3795));
        QCOMPARE(outer.sName, QString("TAB1"));
        QCOMPARE(inner.sName, QString());
        inner.name("Page");
        QCOMPARE(inner.sName, QString("Page"));
        for (const cFrame *frame : {&outer, &inner}) {
            QCOMPARE(frame->obj->parentWidget(), window.fraRight);
            QVERIFY(frame->obj->isHidden());
            QCOMPARE(frame->obj->frameShape(), QFrame::NoFrame);
        }
        // Each new frame comes to the front of its siblings.
        QCOMPARE(window.fraRight->children().last(), static_cast<QObject *>(inner.obj));
        QCOMPARE(window.findChild<QFrame *>("TAB1"), outer.obj.data());
        QVERIFY(desktop.messages.isEmpty());
        outer.Terminate();
        QVERIFY(!window.findChild<QFrame *>("TAB1"));
        QVERIFY(!outer.obj);
    }

    void frameWithoutTabStripStopsBeforeHiding()
    {
        cTestDesktop desktop;
        QWidget window;
        auto *container = new QFrame(&window);
        container->setObjectName("fraRight");
        cFrame frame;
        frame.Initialize(nullptr, container, "TAB1");
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().startsWith(
            "[0] ERRORE cFrame:(TAB1):Control 'TabStrip1' not found"));
        // Placed, but never sized: the steps after the failing one did not run.
        QVERIFY(frame.obj);
        QCOMPARE(twips(frame.obj).topLeft(), QPointF(20, 350));
        QVERIFY(cTwips::width(frame.obj) != 8895.0f);
    }

    void frameHeightRoundsHalvesToEven_data()
    {
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("expected");
        QTest::newRow("as written") << 1625.0f << 1625;
        QTest::newRow("half up to even") << 3795.5f << 3796;
        QTest::newRow("half down to even") << 3796.5f << 3796;
        // A page of thousands of rows is far taller than 16 bits of twips.
        QTest::newRow("past sixteen bits") << 400000.5f << 400000;
    }
    void frameHeightRoundsHalvesToEven()
    {
        QFETCH(float, height);
        QFETCH(int, expected);
        cPageWindow window;
        cFrame frame;
        frame.Initialize(nullptr, window.fraRight, "FRA1");
        cTwips::setHeight(frame.obj, height);
        QCOMPARE(frame.Height(), expected);
    }

    void controlNamesAreUniquePerSpace()
    {
        cPageWindow window;
        cControls::Add(&window, "VB.Label", "TBX", window.fraRight, cControls::Space::Labels);
        cControls::Add(&window, "VB.TextBox", "TBX", window.fraRight, cControls::Space::Fields);
        QVERIFY_THROWS_EXCEPTION(cError, cControls::Add(&window, "VB.TextBox", "tbx",
                                                        window.fraRight, cControls::Space::Fields));
        // The window's own controls hold their names.
        QVERIFY_THROWS_EXCEPTION(cError,
                                 cControls::Add(&window, "VB.Frame", "TabStrip1", window.fraRight));
        QVERIFY(
            qobject_cast<QLineEdit *>(cControls::item(&window, "TBX", cControls::Space::Fields)));
        cControls::Remove(&window, "TBX", cControls::Space::Labels);
        QVERIFY(!cControls::item(&window, "TBX", cControls::Space::Labels));
    }

    void firstRefreshOfAPage()
    {
        Page page;
        page.scroller.setScrollBarType(3);
        QCOMPARE(twips(page.content()), QRectF(0, 0, 8630, 3795));
        QVERIFY(page.scroller.horizontalBar()->isHidden());
        QVERIFY(page.scroller.verticalBar()->isHidden());
        QVERIFY(page.scroller.cornerButton()->isHidden());
        QVERIFY(page.scroller.barSize() > 0);
    }

    // Viewport 8875 by 4345 twips: the outer frame less its own left and top.
    void barsFollowTheContent_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("fits") << 3 << 8875.0f << 4345.0f << false << false;
        QTest::newRow("taller only") << 3 << 8000.0f << 6000.0f << false << true;
        QTest::newRow("taller, and wider than the width left beside the bar")
            << 3 << 8800.0f << 6000.0f << true << true;
        QTest::newRow("wider, and taller than the height left above the bar")
            << 3 << 10000.0f << 4300.0f << true << true;
        QTest::newRow("wider only") << 3 << 10000.0f << 3000.0f << true << false;
        QTest::newRow("horizontal bar only allowed") << 1 << 8000.0f << 6000.0f << false << false;
        QTest::newRow("no bar allowed") << 0 << 10000.0f << 6000.0f << false << false;
    }
    void barsFollowTheContent()
    {
        QFETCH(int, type);
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(bool, horizontal);
        QFETCH(bool, vertical);
        Page page;
        const float T = page.scroller.barSize();
        cTwips::place(page.content(), -30, -40, width, height);
        page.scroller.setScrollBarType(type);
        QCOMPARE(!page.scroller.horizontalBar()->isHidden(), horizontal);
        QCOMPARE(!page.scroller.verticalBar()->isHidden(), vertical);
        QCOMPARE(!page.scroller.cornerButton()->isHidden(), horizontal || vertical);
        const float W = 8875 - (vertical ? T : 0);
        const float H = 4345 - (horizontal ? T : 0);
        if (vertical) {
            QCOMPARE(twips(page.scroller.verticalBar()), QRectF(W, 0, T, horizontal ? H : H - T));
            QCOMPARE(page.scroller.verticalBar()->maximum(), int(std::nearbyint(height - H)));
            QCOMPARE(cTwips::top(page.content()), -40.0f);
        } else {
            QCOMPARE(cTwips::top(page.content()), 0.0f);
        }
        if (horizontal) {
            QCOMPARE(twips(page.scroller.horizontalBar()), QRectF(0, H, vertical ? W : W - T, T));
            QCOMPARE(page.scroller.horizontalBar()->maximum(), int(std::nearbyint(width - W)));
            QCOMPARE(page.scroller.horizontalBar()->pageStep(), int(std::nearbyint(W)) + 1);
            QCOMPARE(cTwips::left(page.content()), -30.0f);
        } else {
            QCOMPARE(cTwips::left(page.content()), 0.0f);
        }
        if (horizontal || vertical)
            QCOMPARE(twips(page.scroller.cornerButton()), QRectF(8875 - T, 4345 - T, T, T));
    }

    void positionSurvivesGrowthAndResetsAfterShrinking()
    {
        Page page;
        cTwips::setHeight(page.content(), 6000);
        page.scroller.setScrollBarType(3);
        page.scroller.verticalBar()->setValue(1000);
        QCOMPARE(cTwips::top(page.content()), -1000.0f);
        cTwips::setHeight(page.content(), 7000);
        page.scroller.refresh();
        QCOMPARE(page.scroller.verticalBar()->value(), 1000);
        QCOMPARE(cTwips::top(page.content()), -1000.0f);
        cTwips::setHeight(page.content(), 4800);
        page.scroller.refresh();
        QCOMPARE(page.scroller.verticalBar()->value(), 0);
        QCOMPARE(cTwips::top(page.content()), 0.0f);
    }

    void noWidthLeftForTheHorizontalBar()
    {
        Page page;
        const float T = page.scroller.barSize();
        cTwips::setWidth(page.outer->obj, 20 + T); // a viewport exactly one bar wide
        page.scroller.setScrollBarType(3);
        const QRectF before = twips(page.scroller.horizontalBar());
        cTwips::place(page.content(), 0, 0, 5000, 6000);
        page.scroller.refresh();
        QVERIFY(!page.scroller.horizontalBar()->isHidden());
        QCOMPARE(twips(page.scroller.horizontalBar()), before);
        QCOMPARE(twips(page.scroller.cornerButton()), QRectF(0, 4345 - T, T, T));
    }

    void cornerButtonJumpsAndBack()
    {
        Page page;
        cTwips::place(page.content(), 0, 0, 10000, 6000);
        page.scroller.setScrollBarType(3);
        QCOMPARE(page.scroller.tag(), QString());
        page.scroller.cornerButton()->click();
        QCOMPARE(page.scroller.tag(), QString("NW"));
        QCOMPARE(-cTwips::left(page.content()), float(page.scroller.horizontalBar()->maximum()));
        QCOMPARE(-cTwips::top(page.content()), float(page.scroller.verticalBar()->maximum()));
        page.scroller.cornerButton()->click();
        QCOMPARE(page.scroller.tag(), QString("SE"));
        QCOMPARE(twips(page.content()).topLeft(), QPointF(0, 0));
    }

    // An attach that could not make the corner button used to leave every refresh idle.
    void barsWithoutACornerButton()
    {
        cTestDesktop desktop;
        cPageWindow window;
        cControls::Add(&window, "VB.CommandButton", "m_oXScrollBtn1", &window);
        auto outer = std::make_shared<cFrame>();
        outer->Initialize(nullptr, window.fraRight, "TAB1");
        auto inner = std::make_shared<cFrame>();
        inner->Initialize(nullptr, window.fraRight, "FRA1");
        cControls::setContainer(inner->obj, outer->obj);
        CPScroll scroller;
        scroller.ScrollingControl(1, inner->obj);
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(!scroller.cornerButton());
        cTwips::setHeight(inner->obj, 6000);
        scroller.setScrollBarType(3);
        QVERIFY(!scroller.verticalBar()->isHidden());
        QCOMPARE(scroller.verticalBar()->maximum(), 6000 - 4345);
        scroller.verticalBar()->setValue(500);
        QCOMPARE(cTwips::top(inner->obj), -500.0f);
    }

    void attachFailureIsLoggedWithItsStep()
    {
        cTestDesktop desktop;
        Page page;
        CPScroll second;
        second.ScrollingControl(1, page.content()); // the bar names of page 1 are taken
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().startsWith(
            "[0] ScrollingControl.2:There is already a control with the name 'm_oHScroll1'"));
        QVERIFY(!second.horizontalBar());
        QVERIFY(!second.cornerButton());
        QCOMPARE(second.barSize(), 0.0f);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_runtimeControls)
#include "tst_runtimeControls.moc"
