#include "cDesktop.h"

#include "cRealDesktop.h"

namespace {
cDesktop *installed = nullptr;
}

cDesktop &cDesktop::current()
{
    static cRealDesktop real;
    return installed ? *installed : real;
}

void cDesktop::install(cDesktop *desktop)
{
    installed = desktop;
}
