#include "common/cConsoleDesktop.h"

#include "common/cProgress.h"

#include <cstdio>

void cConsoleDesktop::message(QWidget *, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption()), qPrintable(text));
}

std::unique_ptr<cProgress> cConsoleDesktop::progress(QWidget *, const QString &, qint64)
{
    return nullptr;
}
