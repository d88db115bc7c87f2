#pragma once

#include "app/cPicture.h"

#include <QList>

class cProgress;

// Lists the GIF and then the JPG pictures of a folder (which ends with the separator): regular
// files only (links followed), no hidden or system files, each type in name order ignoring case
// as the file system the program was made for gives them, extensions matched ignoring case. The JPG
// pattern also finds ".jpeg", as the old pattern matching did.
class cImageFinder
{
public:
    struct Found
    {
        QList<cPicture> pictures;
        // Pictures whose names the system's encoding cannot give back, so they could never be
        // opened; they are left out.
        int unreadable = 0;
    };

    // progress, when given, hears of every picture listed; a cancel keeps what was listed.
    static Found find(const QString &folder, bool gif, bool jpg, cProgress *progress = nullptr);
};
