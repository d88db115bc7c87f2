#pragma once

#include "controls/cDynObj.h"

#include <QCheckBox>
#include <QObject>
#include <QPointer>

// A yes/no setting of the options dialog: a small box without caption holding 0, 1 or 2
// (greyed). Each time the focus leaves it counts one change in the collection.
class cCheckBox : public QObject, public cDynObj
{
    Q_OBJECT
public:
    void Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                    int ind) override;
    void setVGap(qint16 vg) override;
    void caption(const QString &) override {}
    void Title(qint16, const QString &) override {}
    void name(const QString &text) override { sName = text; }
    void help(const QString &) override {}
    void lenght(qint16) override {}
    void left(qint16 x) override;
    void Text(const QString &) override {}
    // Throws an invalid-property cError for anything but 0, 1 and 2.
    void Value(qint16 v) override;
    qint16 Value() const override;
    QString className() const override { return QStringLiteral("cCheckBox"); }

    void vrelocateVgap();
    void vrelocate();

    qint16 vgap = 0;
    cObjColl *objColl = nullptr;
    std::shared_ptr<cFrame> oparent;
    QString loadName;
    int index = 0;
    QString sName;
    QPointer<QCheckBox> obj;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaving();
    QCheckBox *control() const;
};
