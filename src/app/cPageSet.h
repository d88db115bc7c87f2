#pragma once

#include "app/cPageFile.h"

#include <QString>
#include <memory>
#include <vector>

class cError;

// The pages of one catalog, each written beside its place and put in place together at the end:
// every page, or after a settings error as far as written. A page the disk refused bytes of
// cannot be whole: then every page stays as it was, as for a run that was stopped.
class cPageSet
{
public:
    cPageFile &add();
    // Puts the pages in place in folder and clears the folder of what earlier runs left half
    // written; false, with the page and the reason, when one could not take its place.
    bool place(const QString &folder, QString &failedPage, cError &error);

private:
    std::vector<std::unique_ptr<cPageFile>> m_pages;
};
