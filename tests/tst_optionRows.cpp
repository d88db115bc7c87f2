#include "cPageWindow.h"
#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "common/cOption.h"
#include "desktop/cTwips.h"
#include "common/modUtil1.h"
#include "controls/cCheckBox.h"
#include "controls/cFrame.h"
#include "controls/cLabel.h"
#include "controls/cTextBox.h"
#include "options/cObjColl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QRectF twips(const QWidget *control)
{
    return QRectF(cTwips::left(control), cTwips::top(control), cTwips::width(control),
                  cTwips::height(control));
}
} // namespace

class tst_optionRows : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        modUtil1::setLogFolder(m_dir.path());
        loadSettings("0");
        m_collection = cObjColl();
        m_window.reset(new cPageWindow);
        m_frame = std::make_shared<cFrame>();
        m_frame->Initialize(&m_collection, m_window->fraRight, "FRA1");
        m_frame->visible(true);
        // Start short, so every row shows how far it grows the frame.
        m_frame->setHeight(100);
    }

    void rowsGrowTheirFrame_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRectF>("place");
        QTest::addColumn<int>("frameHeight");
        QTest::newRow("label, row 3") << "label" << 3 << QRectF(100, 1140, 2900, 370) << 1610;
        QTest::newRow("label, row 2") << "label" << 2 << QRectF(100, 760, 2900, 370) << 1230;
        QTest::newRow("heading, row 1") << "heading" << 1 << QRectF(100, 380, 2900, 245) << 850;
        QTest::newRow("text field, row 3") << "field" << 3 << QRectF(4000, 1140, 3040, 285) << 1525;
        QTest::newRow("text field, row 1") << "field" << 1 << QRectF(4000, 380, 3040, 285) << 765;
        QTest::newRow("check box, row 3") << "box" << 3 << QRectF(4000, 1140, 200, 285) << 1625;
        QTest::newRow("check box, row 2") << "box" << 2 << QRectF(4000, 760, 200, 285) << 1245;
    }
    void rowsGrowTheirFrame()
    {
        QFETCH(QString, kind);
        QFETCH(int, row);
        QFETCH(QRectF, place);
        QFETCH(int, frameHeight);
        cTestDesktop desktop;
        QWidget *control = nullptr;
        if (kind == "label" || kind == "heading") {
            cLabel label;
            label.Initialize(&m_collection, m_frame, "KEY", row);
            if (kind == "heading")
                label.Title(1, "Heading");
            else
                label.caption("Description");
            label.setVGap(380);
            control = label.obj;
            QCOMPARE(label.obj->font().bold(), kind == "heading");
            QCOMPARE(label.obj->font().family(), QString("arial"));
            QCOMPARE(int(label.Value()), 0);
            QCOMPARE(label.className(), QString("cLabel"));
        } else if (kind == "field") {
            cTextBox field;
            field.Initialize(&m_collection, m_frame, "TBKEY", row);
            field.name("TBKEY");
            field.lenght(20);
            field.Text("value");
            field.left(4000);
            field.setVGap(380);
            control = field.obj;
            QCOMPARE(field.obj->text(), QString("value"));
            QCOMPARE(field.obj->toolTip(), QString("TBKEY"));
            QCOMPARE(field.className(), QString("cTextBox"));
        } else {
            cCheckBox box;
            box.Initialize(&m_collection, m_frame, "TBKEY", row);
            box.name("CKKEY");
            box.Value(1);
            box.left(4000);
            box.setVGap(380);
            control = box.obj;
            QCOMPARE(int(box.Value()), 1);
            QCOMPARE(box.className(), QString("cCheckBox"));
        }
        QCOMPARE(twips(control), place);
        QCOMPARE(control->parentWidget(), m_frame->obj.data());
        QVERIFY(!control->isHidden());
        QCOMPARE(int(m_frame->Height()), frameHeight);
        QVERIFY(desktop.messages.isEmpty());
    }

    void higherRowsLeaveTheFrameAlone()
    {
        cLabel low;
        low.Initialize(&m_collection, m_frame, "LOW", 5);
        low.setVGap(380);
        const int height = m_frame->Height();
        cLabel high;
        high.Initialize(&m_collection, m_frame, "HIGH", 2);
        high.setVGap(380);
        QCOMPARE(int(m_frame->Height()), height);
    }

    // A description cut by its place used to be lost; the pointer shows it whole.
    void cutDescriptionsShowWhole()
    {
        cLabel label;
        label.Initialize(&m_collection, m_frame, "LONG", 1);
        label.caption("Short");
        QCOMPARE(label.obj->toolTip(), QString());
        const QString text = "A description far too long for the place a row gives its caption";
        label.caption(text);
        QCOMPARE(label.obj->toolTip(), text);
    }

    void fieldWidthFollowsTheLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<float>("width");
        QTest::newRow("10") << 10 << 1540.0f;
        QTest::newRow("20") << 20 << 3040.0f;
        QTest::newRow("1") << 1 << 190.0f;
    }
    void fieldWidthFollowsTheLength()
    {
        QFETCH(int, length);
        QFETCH(float, width);
        cTextBox field;
        field.Initialize(&m_collection, m_frame, "TBW", 1);
        field.lenght(qint16(length));
        QCOMPARE(cTwips::width(field.obj), width);
    }

    void leavingCheck_data()
    {
        QTest::addColumn<QString>("outbox");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("firstLeaves");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("counted");
        QTest::newRow("full stops do not count, still too long")
            << "0" << 5 << "1.234.567" << false << 1 << 1;
        QTest::newRow("full stops do not count, fits") << "0" << 5 << "12.345" << true << 0 << 1;
        QTest::newRow("exactly the length") << "0" << 5 << "abcde" << true << 0 << 1;
        QTest::newRow("one over the length") << "0" << 5 << "abcdef" << false << 1 << 1;
        QTest::newRow("two boxes when asked for") << "1" << 5 << "abcdef" << false << 2 << 1;
        QTest::newRow("cleared field") << "0" << 5 << "" << true << 0 << 0;
        QTest::newRow("the value it held") << "0" << 5 << "old" << true << 0 << 0;
    }
    void leavingCheck()
    {
        QFETCH(QString, outbox);
        QFETCH(int, length);
        QFETCH(QString, typed);
        QFETCH(bool, firstLeaves);
        QFETCH(int, boxes);
        QFETCH(int, counted);
        loadSettings(outbox);
        cTestDesktop desktop;
        cTextBox field;
        field.Initialize(&m_collection, m_frame, "TBX", 1);
        field.lenght(qint16(length));
        field.Text("old");
        field.obj->setText(typed);
        QCOMPARE(field.validate(), firstLeaves);
        QCOMPARE(desktop.messages.size(), boxes);
        QCOMPARE(desktop.beeps, boxes ? 1 : 0);
        if (boxes)
            QCOMPARE(desktop.messages.first(),
                     "TBX(" + typed + "):max lunghezza " + QString::number(length) + " caratteri");
        QCOMPARE(int(m_collection.modified()), counted);
        QCOMPARE(field.sText, typed.isEmpty() ? QString("old") : typed);
        // A second attempt with the same text always lets go, telling the user once more.
        QVERIFY(field.validate());
        QCOMPARE(desktop.messages.size(), 2 * boxes);
        QCOMPARE(int(m_collection.modified()), counted);
    }

    void overlongValueFromTheFileIsToldButLetGo()
    {
        cTestDesktop desktop;
        cTextBox field;
        field.Initialize(&m_collection, m_frame, "TBX", 1);
        field.lenght(3);
        field.Text("too long");
        QVERIFY(field.validate());
        QCOMPARE(desktop.messages.size(), 1);
        QCOMPARE(int(m_collection.modified()), 0);
    }

    void countPastSixteenBitsIsReported()
    {
        cTestDesktop desktop;
        cTextBox field;
        field.Initialize(&m_collection, m_frame, "TBX", 1);
        field.lenght(10);
        m_collection.setModified(32767);
        field.obj->setText("new");
        QVERIFY(field.validate());
        QCOMPARE(field.sText, QString());
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages.first().startsWith("[0] ERRORE cTextBox.validate:(TBX):Overflow"));
    }

    void focusIsRefusedOnceThenLetGo()
    {
        cTestDesktop desktop;
        cTextBox first;
        first.Initialize(&m_collection, m_frame, "TBA", 1);
        first.lenght(3);
        cTextBox second;
        second.Initialize(&m_collection, m_frame, "TBB", 2);
        second.lenght(3);
        cCheckBox box;
        box.Initialize(&m_collection, m_frame, "TBC", 3);
        showWindow();
        first.obj->setFocus();
        QTRY_VERIFY(first.obj->hasFocus());
        QTest::keyClicks(first.obj, "abcd");
        QTest::keyClick(first.obj, Qt::Key_Tab);
        QVERIFY(first.obj->hasFocus());
        QCOMPARE(desktop.messages.size(), 1);
        // A click into another field is a leave like any other.
        second.obj->setFocus(Qt::MouseFocusReason);
        QVERIFY(second.obj->hasFocus());
        QCOMPARE(desktop.messages.size(), 2);
        // The apostrophe and the opening parenthesis are typed like any other character.
        QTest::keyClicks(second.obj, "'(");
        QCOMPARE(second.obj->text(), QString("'("));
        second.obj->clear();
        // Enter moves on and types nothing; the box counts each leave.
        QTest::keyClick(second.obj, Qt::Key_Return);
        QVERIFY(box.obj->hasFocus());
        QCOMPARE(second.obj->text(), QString());
        const int before = m_collection.modified();
        QTest::keyClick(box.obj, Qt::Key_Return);
        QCOMPARE(int(box.Value()), 0);
        QVERIFY(!box.obj->hasFocus());
        box.obj->setFocus();
        QTest::keyClick(box.obj, Qt::Key_Tab);
        QCOMPARE(int(m_collection.modified()), before + 2);
        QTest::keyClick(box.obj, Qt::Key_Space);
    }

    void fieldOutlivingItsObjectLetsGo()
    {
        cTestDesktop desktop;
        auto field = std::make_unique<cTextBox>();
        field->Initialize(&m_collection, m_frame, "TBA", 1);
        field->lenght(1);
        QPointer<QLineEdit> control = field->obj;
        cTextBox next;
        next.Initialize(&m_collection, m_frame, "TBB", 2);
        showWindow();
        control->setFocus();
        QTest::keyClicks(control, "long");
        field.reset(); // the dialog emptied its collection; the window still holds the control
        QTest::keyClick(control, Qt::Key_Tab);
        QVERIFY(next.obj->hasFocus());
        QVERIFY(desktop.messages.isEmpty());
    }

    void enteringAFieldSelectsItsText()
    {
        cTextBox field;
        field.Initialize(&m_collection, m_frame, "TBS", 1);
        field.Text("select me");
        showWindow();
        field.obj->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(field.obj->selectedText(), QString("select me"));
    }

    void missingFrameIsReported()
    {
        cTestDesktop desktop;
        cLabel label;
        label.Initialize(&m_collection, nullptr, "K", 1);
        cCheckBox box;
        box.Initialize(&m_collection, nullptr, "TBK", 1);
        QCOMPARE(desktop.messages.size(), 2);
        QVERIFY(desktop.messages.at(0).startsWith("[0] ERRORE cLabel:(1,K):Object variable"));
        QVERIFY(desktop.messages.at(1).startsWith("[0] ERRORE cCheckBox(1,TBK):Object variable"));
        QVERIFY_THROWS_EXCEPTION(cError, label.caption("x"));
    }

private:
    void loadSettings(const QString &outbox)
    {
        const QString path = m_dir.filePath("QDX.ini");
        cTestFiles::write(path, "[Program]\r\nOUTBOXERROR=Twice|-1|" + outbox.toUtf8() + "\r\n");
        gOption.iniread(path);
    }

    void showWindow()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    QTemporaryDir m_dir;
    cObjColl m_collection;
    std::unique_ptr<cPageWindow> m_window;
    std::shared_ptr<cFrame> m_frame;
};

QTEST_MAIN(tst_optionRows)
#include "tst_optionRows.moc"
