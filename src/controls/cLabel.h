#pragma once

#include "controls/cDynObj.h"

#include <QLabel>
#include <QObject>
#include <QPointer>

class cError;

// The text at the left of a row of the options dialog: a key's description, or a bold heading
// on a row of its own.
class cLabel : public QObject, public cDynObj
{
    Q_OBJECT
public:
    void Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                    int ind) override;
    void setVGap(qint16 vg) override;
    void caption(const QString &text) override;
    void Title(qint16 level, const QString &text) override;
    void name(const QString &) override {}
    void help(const QString &) override {}
    void lenght(qint16) override {}
    void left(qint16) override {}
    void Text(const QString &) override {}
    void Value(qint16) override {}
    qint16 Value() const override { return 0; }
    QString className() const override { return QStringLiteral("cLabel"); }

    void vrelocateVgap();
    void vrelocate();

    qint16 vgap = 0;
    qint16 vdim = 0;
    std::shared_ptr<cFrame> oparent;
    QString loadName;
    int index = 0;
    qint16 ltitle = 0;
    QPointer<QLabel> obj;

private:
    void report(const QString &prefix, const cError &error, int ind, const QString &name) const;
};
