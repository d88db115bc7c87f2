#pragma once

#include "cObjColl.h"

#include <QDialog>

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
    void buildPage(const QString &section);
    void addRow(const QString &key, qint16 row, QWidget *page);
    void clearPages();

    cObjColl objColl;
    qint16 pageCount = 0;
    qint16 objCounter = 0;

    QWidget *TabStrip1;
    QTabBar *m_tabs;
    QFrame *fraRight;
};
