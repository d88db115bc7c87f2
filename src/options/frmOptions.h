#pragma once

#include "options/cObjColl.h"

#include <QDialog>

class CPScroll;
class cFrame;
class QFrame;
class QTabBar;

// The options dialog, built afresh at every opening from the sections and keys of the settings:
// one tab page per section, one row per key, chosen by the key's length field. "OK" stores every
// field and box and rewrites the settings file; "Annulla" and the close box discard everything.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(QWidget *owner = nullptr);

    void Form_Load();
    void TabStrip1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    const cObjColl &objects() const { return objColl; }
    QTabBar *tabs() const { return m_tabs; }

    void done(int result) override;

private:
    // Over the window that owns it, as a modal dialog opens; at the top of the screen without one.
    void placeOverOwner();
    void buildPage(const QString &section);
    // Builds the row of one key and moves row past it; throws where the row cannot be built.
    void addRow(const QString &key, int &row, const std::shared_ptr<cFrame> &inner,
                CPScroll &scroller);
    void showFirstPage();
    void noteFailure(const QString &what, const std::exception &error);
    void clearPages();

    cObjColl objColl;
    int pageCount = 0;
    int objCounter = 0;
    int m_failures = 0;
    QString m_firstFailure;

    QWidget *TabStrip1;
    QTabBar *m_tabs;
    QFrame *fraRight;
};
