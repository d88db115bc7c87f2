#pragma once

#include <QtGlobal>

// How long work tells how far it has come, and learns whether the user wants it stopped. The
// work calls step often; an implementation decides how often it looks.
class cProgress
{
public:
    virtual ~cProgress() = default;
    // done counts the items handled so far; false asks the work to stop.
    virtual bool step(qint64 done) = 0;
};
