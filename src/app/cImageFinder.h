#pragma once

#include "cImageList.h"

// Lists the GIF and then the JPG pictures of a folder: plain files only, no hidden or system
// files, in the order the file system gives them, extensions matched ignoring case.
class cImageFinder
{
public:
    static QList<cImageList::Item> find(const QString &folder, bool gif, bool jpg);
};
