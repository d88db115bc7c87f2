#include "cTestDesktop.h"
#include "cTestFiles.h"
#include "cUserInput.h"
#include "common/cOption.h"
#include "common/modUtil1.h"
#include "controls/CPScroll.h"
#include "controls/cCheckBox.h"
#include "controls/cControls.h"
#include "controls/cFrame.h"
#include "controls/cLabel.h"
#include "controls/cTextBox.h"
#include "desktop/cTwips.h"
#include "options/frmOptions.h"

#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray twoSections = "; kept\r\n[A]\r\nH=Heading\r\nX=Text of x|20|hello\r\n"
                               "Y=Box y|-1|1\r\nHIDDEN=Hidden|0|keep\r\n[B]\r\nZ=Text of z|5|zz\r\n"
                               "[Empty]\r\n";

// sections pages of rows keys each; every third key a check box when boxes is set.
QByteArray longPages(int sections, int rows, bool boxes)
{
    QByteArray bytes;
    for (int s = 1; s <= sections; ++s) {
        bytes += "[S" + QByteArray::number(s) + "]\r\n";
        for (int r = 1; r <= rows; ++r) {
            const QByteArray key = "K" + QByteArray::number(s) + "_" + QByteArray::number(r);
            bytes += key + (boxes && r % 3 == 0 ? "=Box|-1|1\r\n" : "=Field|5|v\r\n");
        }
    }
    return bytes;
}
} // namespace

class tst_frmOptions : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        modUtil1::setLogFolder(m_dir->path());
    }

    // "Pictures per page (0: all on one pag": shipped descriptions were cut by their labels.
    void shippedDescriptionsFitTheirLabels()
    {
        load(cTestFiles::read(QDX_SHIPPED_INI));
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        // Arial is not on every machine: Debian without its metric twin falls back to DejaVu
        // Sans, wider, in which two descriptions were cut.
        QStringList fonts = {QStringLiteral("arial")};
        if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
            fonts.append(QStringLiteral("DejaVu Sans"));
        int labels = 0;
        QStringList cut;
        for (const QLabel *label : dialog.findChildren<QLabel *>()) {
            QVERIFY2(label->toolTip().isEmpty(), qPrintable(label->text()));
            for (const QString &family : fonts) {
                QFont font(family, label->font().pointSize());
                font.setBold(label->font().bold());
                if (QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
                    cut.append(family + ": " + label->text());
            }
            labels += label->text().isEmpty() ? 0 : 1;
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("\n")));
        QVERIFY(labels > 20);
    }

    void buildsOnePagePerSection()
    {
        load(twoSections);
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QCOMPARE(dialog.windowTitle(), QString("Opzioni del programma"));
        QCOMPARE(dialog.tabs()->count(), 3);
        QCOMPARE(dialog.tabs()->tabText(0), QString("A"));
        QCOMPARE(dialog.tabs()->tabData(1).toString(), QString("TAB2"));
        QVERIFY(!frame(dialog, "TAB1")->obj->isHidden());
        QVERIFY(!frame(dialog, "FRA1")->obj->isHidden());
        QVERIFY(frame(dialog, "TAB2")->obj->isHidden());
        QVERIFY(frame(dialog, "TAB3")->obj->isHidden());
        // Heading, text field and check box on rows 1 to 3; the length 0 key has no row.
        const auto heading = std::static_pointer_cast<cLabel>(dialog.objects().item("1"));
        QCOMPARE(heading->loadName, QString("H"));
        QCOMPARE(cTwips::top(heading->obj), 380.0f);
        QVERIFY(heading->obj->font().bold());
        const auto xLabel = std::static_pointer_cast<cLabel>(dialog.objects().item("2"));
        QCOMPARE(xLabel->obj->text(), QString("Text of x"));
        QCOMPARE(cTwips::top(xLabel->obj), 760.0f);
        const auto x = std::static_pointer_cast<cTextBox>(dialog.objects().item("TBX"));
        QCOMPARE(x->obj->text(), QString("hello"));
        QCOMPARE(cTwips::left(x->obj), 4000.0f);
        QCOMPARE(cTwips::top(x->obj), 760.0f);
        QCOMPARE(cTwips::width(x->obj), 3040.0f);
        QCOMPARE(x->obj->objectName(), QString("TBX"));
        QCOMPARE(x->obj->accessibleName(), QString("Text of x"));
        const auto y = std::static_pointer_cast<cCheckBox>(dialog.objects().item("CKY"));
        QCOMPARE(y->loadName, QString("TBY"));
        QCOMPARE(cTwips::top(y->obj), 1140.0f);
        QCOMPARE(y->obj->checkState(), Qt::Checked);
        QCOMPARE(y->obj->accessibleName(), QString("Box y"));
        QVERIFY(!cControls::item(&dialog, "HIDDEN", cControls::Space::Labels));
        // Labels count once, label and control twice, across pages.
        QCOMPARE(std::static_pointer_cast<cLabel>(dialog.objects().item("4"))->loadName,
                 QString("Y"));
        QCOMPARE(std::static_pointer_cast<cLabel>(dialog.objects().item("6"))->loadName,
                 QString("Z"));
        QVERIFY(dialog.objects().item("SCR2"));
        // Collection: 3 objects per page, 5 rows objects on A, 2 on B.
        QCOMPARE(dialog.objects().Count(), 9 + 5 + 2);
        // The first page's inner frame has been moved home by its scroller.
        QCOMPARE(cTwips::left(frame(dialog, "FRA1")->obj), 0.0f);
        QCOMPARE(cTwips::top(frame(dialog, "FRA1")->obj), 0.0f);
        QVERIFY(desktop.messages.isEmpty());
    }

    void tabsShowExactlyOnePage()
    {
        load(twoSections);
        frmOptions dialog;
        dialog.Form_Load();
        dialog.tabs()->setCurrentIndex(1);
        QVERIFY(frame(dialog, "TAB1")->obj->isHidden());
        QVERIFY(frame(dialog, "FRA1")->obj->isHidden());
        QVERIFY(!frame(dialog, "TAB2")->obj->isHidden());
        QVERIFY(!frame(dialog, "FRA2")->obj->isHidden());
        dialog.TabStrip1_Click(); // the selected tab again
        QVERIFY(!frame(dialog, "TAB2")->obj->isHidden());
        QVERIFY(frame(dialog, "TAB3")->obj->isHidden());
    }

    // The pages used to lie under fraRight, which took every click meant for a tab.
    void clickedTabShowsItsPage_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("second") << 1;
        QTest::newRow("last") << 2;
        QTest::newRow("first again") << 0;
    }
    void clickedTabShowsItsPage()
    {
        QFETCH(int, tab);
        load(twoSections);
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(cUserInput::showActive(&dialog));
        if (tab == 0)
            cUserInput::click(dialog.tabs(), dialog.tabs()->tabRect(1));
        QCOMPARE(cUserInput::click(dialog.tabs(), dialog.tabs()->tabRect(tab)), dialog.tabs());
        for (int page = 1; page <= 3; ++page) {
            const bool shown = page == tab + 1;
            QCOMPARE(frame(dialog, "TAB" + QString::number(page))->obj->isVisible(), shown);
            QCOMPARE(frame(dialog, "FRA" + QString::number(page))->obj->isVisible(), shown);
        }
        // fraRight at the window's corner, each page 20 by 350 twips inside it.
        auto *fraRight = dialog.findChild<QWidget *>("fraRight");
        QCOMPARE(fraRight->geometry(), QRect(0, 0, cTwips::toPixels(8895), cTwips::toPixels(4695)));
        QCOMPARE(frame(dialog, "TAB1")->obj->mapTo(&dialog, QPoint(0, 0)),
                 QPoint(cTwips::toPixels(20), cTwips::toPixels(350)));
    }

    // Past 16 bits of twips a page used to end the program or show a box per row.
    void longPagesOpenScrollAndStore_data()
    {
        QTest::addColumn<bool>("boxes");
        QTest::newRow("text fields") << false;
        QTest::newRow("check boxes among them") << true;
    }
    void longPagesOpenScrollAndStore()
    {
        QFETCH(bool, boxes);
        const QByteArray bytes = longPages(10, 100, boxes);
        load(bytes);
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(cUserInput::showActive(&dialog));
        QVERIFY(desktop.messages.isEmpty());
        cUserInput::click(dialog.tabs(), dialog.tabs()->tabRect(9));
        const auto scroller = std::static_pointer_cast<CPScroll>(dialog.objects().item("SCR10"));
        QCOMPARE(cUserInput::click(scroller->cornerButton()), scroller->cornerButton());
        const auto last = std::static_pointer_cast<cTextBox>(dialog.objects().item("TBK10_100"));
        const QRect page = frame(dialog, "TAB10")->obj->rect();
        const QRect shown(last->obj->mapTo(frame(dialog, "TAB10")->obj, QPoint(0, 0)),
                          last->obj->size());
        QVERIFY(page.contains(shown));
        last->obj->setText("last");
        QCOMPARE(cUserInput::click(dialog.findChild<QPushButton *>("cmdOK")),
                 dialog.findChild<QWidget *>("cmdOK"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(desktop.messages.isEmpty());
        QByteArray expected = bytes;
        expected.replace("K10_100=Field|5|v", "K10_100=Field|5|last");
        QCOMPARE(cTestFiles::read(iniPath()), expected);
    }

    // The refusing field keeps the focus; the control it would have gone to never notices.
    void refusedLeaveLeavesTheNextControlAlone_data()
    {
        QTest::addColumn<QByteArray>("next");
        QTest::addColumn<bool>("byMouse");
        const QByteArray longField = "W=Long|2|toolong";
        const QByteArray box = "W=Box|-1|0";
        QTest::newRow("Tab towards an overlong field") << longField << false;
        QTest::newRow("click on an overlong field") << longField << true;
        QTest::newRow("Tab towards a check box") << box << false;
        QTest::newRow("click on a check box") << box << true;
    }
    void refusedLeaveLeavesTheNextControlAlone()
    {
        QFETCH(QByteArray, next);
        QFETCH(bool, byMouse);
        load("[A]\r\nX=Field|3|abc\r\n" + next + "\r\n");
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(cUserInput::showActive(&dialog));
        const auto x = std::static_pointer_cast<cTextBox>(dialog.objects().item("TBX"));
        cUserInput::click(x->obj);
        QTRY_VERIFY(x->obj->hasFocus());
        x->obj->end(false);
        QTest::keyClick(x->obj, Qt::Key_D);
        QWidget *target = cControls::item(&dialog, "TBW", cControls::Space::Fields);
        if (byMouse)
            QCOMPARE(cUserInput::click(target), target);
        else
            cUserInput::key(Qt::Key_Tab);
        QVERIFY(x->obj->hasFocus());
        QCOMPARE(desktop.messages, QStringList{"TBX(abcd):max lunghezza 3 caratteri"});
        QCOMPARE(int(dialog.objects().modified()), 1); // the field's own change
        if (auto *box = qobject_cast<QCheckBox *>(target))
            QCOMPARE(box->checkState(), Qt::Unchecked);
    }

    void okStoresEveryFieldAndBox()
    {
        load(twoSections);
        frmOptions dialog;
        dialog.Form_Load();
        std::static_pointer_cast<cTextBox>(dialog.objects().item("TBX"))->obj->setText("edited");
        std::static_pointer_cast<cCheckBox>(dialog.objects().item("CKY"))->obj->setChecked(false);
        std::static_pointer_cast<cTextBox>(dialog.objects().item("TBZ"))->obj->clear();
        dialog.cmdOK_Click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.objects().Count(), 0);
        QVERIFY(!dialog.findChild<QWidget *>("TAB1"));
        QCOMPARE(cTestFiles::read(iniPath()),
                 QByteArray("; kept\r\n[A]\r\nH=Heading||\r\nX=Text of x|20|edited\r\n"
                            "Y=Box y|-1|0\r\nHIDDEN=Hidden|0|keep\r\n[B]\r\nZ=Text of z|5|\r\n"
                            "[Empty]\r\n"));
        // Reopening shows what was accepted.
        frmOptions again;
        again.Form_Load();
        QCOMPARE(std::static_pointer_cast<cTextBox>(again.objects().item("TBX"))->obj->text(),
                 QString("edited"));
    }

    void cancelAndCloseStoreNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Annulla") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseStoreNothing()
    {
        QFETCH(bool, closeBox);
        load(twoSections);
        frmOptions dialog;
        dialog.Form_Load();
        std::static_pointer_cast<cTextBox>(dialog.objects().item("TBX"))->obj->setText("edited");
        QVERIFY(cUserInput::showActive(&dialog));
        if (closeBox)
            dialog.reject();
        else
            cUserInput::click(dialog.findChild<QPushButton *>("cmdCancel"));
        QCOMPARE(dialog.objects().Count(), 0);
        QCOMPARE(gOption.getStrVal("X"), QString("hello"));
        QCOMPARE(cTestFiles::read(iniPath()), twoSections);
    }

    void keysNeverCollide()
    {
        load("[A]\r\nX=x|5|1\r\nTBX=tbx|5|2\r\ncmdOK=ok|5|3\r\nTabStrip1=strip|5|4\r\n");
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(desktop.messages.isEmpty());
        for (const char *key : {"TBX", "TBTBX", "TBcmdOK", "TBTabStrip1"})
            QVERIFY2(std::static_pointer_cast<cTextBox>(dialog.objects().item(key))->obj, key);
        std::static_pointer_cast<cTextBox>(dialog.objects().item("TBcmdOK"))->obj->setText("9");
        dialog.cmdOK_Click();
        QCOMPARE(gOption.getStrVal("cmdOK"), QString("9"));
        QCOMPARE(gOption.getStrVal("TBX"), QString("2"));
    }

    void boxValueItCannotShowIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("three") << QByteArray("3");
        QTest::newRow("text") << QByteArray("yes");
        QTest::newRow("fraction") << QByteArray("1.5");
        QTest::newRow("negative") << QByteArray("-1");
    }
    void boxValueItCannotShowIsLeftAlone()
    {
        QFETCH(QByteArray, value);
        load("[A]\r\nY=Box y|-1|" + value + "\r\nG=Grey|-1|2\r\n");
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(desktop.messages.isEmpty());
        QVERIFY(cControls::item(&dialog, "Y", cControls::Space::Labels));
        QVERIFY(!cControls::item(&dialog, "TBY", cControls::Space::Fields));
        QCOMPARE(
            std::static_pointer_cast<cCheckBox>(dialog.objects().item("CKG"))->obj->checkState(),
            Qt::PartiallyChecked);
        dialog.cmdOK_Click();
        QCOMPARE(gOption.getStrVal("Y"), QString(value));
        QCOMPARE(gOption.getStrVal("G"), QString("2"));
    }

    void noSectionsStillOpensAndCloses()
    {
        load("; nothing here\r\n");
        frmOptions dialog;
        dialog.Form_Load();
        QCOMPARE(dialog.tabs()->count(), 0);
        dialog.cmdOK_Click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        frmOptions other;
        other.Form_Load();
        other.cmdCancel_Click();
        QCOMPARE(other.result(), int(QDialog::Rejected));
    }

    void okWaitsForTheFieldBeingLeft()
    {
        load("[Program]\r\nOUTBOXERROR=Twice|-1|0\r\n[A]\r\nX=Text|3|abc\r\n");
        cTestDesktop desktop;
        frmOptions dialog;
        dialog.Form_Load();
        QVERIFY(cUserInput::showActive(&dialog));
        cUserInput::click(dialog.tabs(), dialog.tabs()->tabRect(1));
        const auto x = std::static_pointer_cast<cTextBox>(dialog.objects().item("TBX"));
        x->obj->setFocus();
        QTRY_VERIFY(x->obj->hasFocus());
        x->obj->setText("abcd");
        auto *ok = dialog.findChild<QPushButton *>("cmdOK");
        cUserInput::click(ok);
        QVERIFY(dialog.isVisible());
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(x->obj->hasFocus());
        cUserInput::click(ok);
        QCOMPARE(desktop.messages.size(), 2);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(gOption.getStrVal("X"), QString("abcd"));
    }

private:
    QString iniPath() const { return m_dir->filePath("QDX.ini"); }
    void load(const QByteArray &bytes)
    {
        cTestFiles::write(iniPath(), bytes);
        gOption.iniread(iniPath());
    }
    static std::shared_ptr<cFrame> frame(const frmOptions &dialog, const QString &key)
    {
        return std::static_pointer_cast<cFrame>(dialog.objects().item(key));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_frmOptions)
#include "tst_frmOptions.moc"
