#pragma once

#include "controls/cDynObj.h"

#include <QFrame>
#include <QObject>
#include <QPointer>

class QWidget;

// One frame control that holds a page of the options dialog ("TAB"+n, as large as the dialog's
// tab strip) or the rows of a page ("FRA"+n, a little smaller, growing with its rows).
class cFrame : public QObject, public cDynObj
{
    Q_OBJECT
public:
    // Creates the frame control inside f: placed, sized from "TabStrip1", borderless, hidden, in
    // front of its siblings. A failure is logged and ends the operation at its step.
    void Initialize(cObjColl *c, QWidget *f, const QString &cname);
    // Removes the frame control from its window.
    void Terminate();
    void visible(bool shown);
    // The height in twips, rounded halves to even.
    int Height() const;
    void setHeight(int height);

    QString loadName;
    QString sName;
    QPointer<QFrame> obj;

    void Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                    int ind) override;
    void setVGap(qint16) override {}
    void caption(const QString &) override {}
    void Title(qint16, const QString &) override {}
    void name(const QString &text) override { sName = text; }
    void help(const QString &) override {}
    void lenght(qint16) override {}
    void left(qint16) override {}
    void Text(const QString &) override {}
    void Value(qint16) override {}
    qint16 Value() const override { return 0; }
    QString className() const override { return QStringLiteral("cFrame"); }

private:
    void build(QWidget *f, const QString &cname);

    QPointer<QWidget> parentFrame;
};
