#pragma once

#include "cImageList.h"

class cProgress;

// Lists the GIF and then the JPG pictures of a folder: regular files only (links followed), no
// hidden or system files, in the order the file system gives them, extensions matched ignoring
// case. The JPG pattern also finds ".jpeg", as the old pattern matching did.
class cImageFinder
{
public:
    // unreadable, when given, counts the pictures whose names the system's encoding cannot
    // give back, so they could never be opened; they are left out.
    // progress, when given, hears of every picture listed; a cancel keeps what was listed.
    static QList<cImageList::Item> find(const QString &folder, bool gif, bool jpg,
                                        int *unreadable = nullptr, cProgress *progress = nullptr);
};
