#pragma once

#include "app/cImageList.h"

class cProgress;

// Lists the GIF and then the JPG pictures of a folder: regular files only (links followed), no
// hidden or system files, in the order the file system gives them, extensions matched ignoring
// case. The JPG pattern also finds ".jpeg", as the old pattern matching did.
class cImageFinder
{
public:
    struct Found
    {
        cImageList::Names gifs{QStringLiteral("GIF")};
        cImageList::Names jpgs{QStringLiteral("JPG")};
        // Pictures whose names the system's encoding cannot give back, so they could never be
        // opened; they are left out.
        int unreadable = 0;
        qsizetype count() const { return gifs.count() + jpgs.count(); }
        // Adds them to the list, GIF first, with the folder they were found in.
        void addTo(cImageList &list, const QString &folder, cProgress *progress = nullptr) const;
    };

    // progress, when given, hears of every picture listed; a cancel keeps what was listed.
    static Found find(const QString &folder, bool gif, bool jpg, cProgress *progress = nullptr);
};
