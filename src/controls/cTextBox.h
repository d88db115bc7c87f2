#pragma once

#include "controls/cDynObj.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>

class cError;

// An editable setting of the options dialog: a single-line field sized from the setting's
// length that selects its text when entered, moves on with Enter, and refuses once to let go of
// a text longer than the length (full stops do not count).
class cTextBox : public QObject, public cDynObj
{
    Q_OBJECT
public:
    void Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                    int ind) override;
    void setVGap(qint16 vg) override;
    void caption(const QString &) override {}
    void Title(qint16, const QString &) override {}
    void name(const QString &text) override { sName = text; }
    void help(const QString &text) override;
    void lenght(qint16 l) override;
    void left(qint16 x) override;
    void Text(const QString &t) override;
    void Value(qint16) override {}
    qint16 Value() const override { return 0; }
    QString className() const override { return QStringLiteral("cTextBox"); }

    void vrelocateVgap();
    void vrelocate();
    void WrError(const QString &message);
    // The check as the focus is about to leave; false keeps the focus in the field.
    bool validate();

    qint16 vdim = 0;
    qint16 vgap = 0;
    cObjColl *objColl = nullptr;
    std::shared_ptr<cFrame> oparent;
    QString loadName;
    int index = 0;
    QString sName;
    QString sText;
    qint16 iLength = 0;
    QPointer<QLineEdit> obj;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *control() const;
    void report(const QString &prefix, const cError &error) const;
};
