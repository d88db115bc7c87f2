#include "cConsoleDesktop.h"

#include <cstdio>

void cConsoleDesktop::message(QWidget *, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption()), qPrintable(text));
}
