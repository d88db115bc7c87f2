#include "common/cDesktop.h"

#include "common/cConsoleDesktop.h"

namespace {
cDesktop *installed = nullptr;
}

cDesktop &cDesktop::current()
{
    // Until a window installs the real desktop, nothing is shown: messages go to standard error.
    static cConsoleDesktop console;
    return installed ? *installed : console;
}

void cDesktop::install(cDesktop *desktop)
{
    installed = desktop;
}
