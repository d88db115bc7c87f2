#pragma once

#include "catalog/cCatalogPlan.h"

// Whether an open file carries the mark of the program that made it, as its kind has one: a page
// its mark line near its start, a thumbnail or copy the stamp of its picture in its comment,
// the style sheet the program's own bytes. A file of the user's, whatever its name and place,
// carries none.
class cOwnMark
{
public:
    static bool carries(cCatalogPlan::Own kind, int file);
};
