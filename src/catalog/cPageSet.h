#pragma once

#include "catalog/cPageFile.h"

#include <QString>
#include <memory>
#include <vector>

// The pages of one catalog, each written beside its place and put in place together at the end:
// every page, or after a settings error as far as written. A page the disk refused bytes of
// cannot be whole, and one that cannot take its place leaves a catalog of two runs: then every
// page stays as it was, as for a run that was stopped.
class cPageSet
{
public:
    cPageFile &add();
    // Puts the pages in place and clears their folders of what earlier runs left half written;
    // the error of the first page that could not take its place names it in failedPage.
    cError place(QString &failedPage);

private:
    std::vector<std::unique_ptr<cPageFile>> m_pages;
};
