#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class cFrame;
class cObjColl;

// What every run-time object of the options dialog offers, in the order the dialog drives it:
// created and placed on a row of a page frame, given its content, then read back on "OK".
class cDynObj
{
public:
    virtual ~cDynObj() = default;

    virtual void Initialize(cObjColl *c, const std::shared_ptr<cFrame> &f, const QString &cname,
                            int ind) = 0;
    virtual void setVGap(qint16 vg) = 0;
    virtual void caption(const QString &text) = 0;
    virtual void Title(qint16 level, const QString &text) = 0;
    virtual void name(const QString &text) = 0;
    virtual void help(const QString &text) = 0;
    virtual void lenght(qint16 l) = 0;
    virtual void left(qint16 x) = 0;
    virtual void Text(const QString &t) = 0;
    virtual void Value(qint16 v) = 0;
    virtual qint16 Value() const = 0;

    // "cLabel", "cTextBox", "cCheckBox" or "cFrame".
    virtual QString className() const = 0;
};
