#pragma once

#include "app/cPicture.h"

#include <QList>
#include <QStringList>

class cProgress;

// Lists the pictures of a folder (which ends with the separator): the GIFs, the JPGs, then those
// of any further types, each type in name order ignoring case as the file system the program was
// made for gives them. Regular files only (links followed), no hidden or system files, endings
// matched ignoring case; the JPG pattern also finds ".jpeg", as the old pattern matching did.
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

    // The types named by a setting ("png, WebP heic"), in upper case as the lists show them,
    // each once; GIF and JPG are left to their boxes.
    static QStringList furtherTypes(const QString &setting);
    // progress, when given, hears of every picture listed; a cancel keeps what was listed.
    // further: types gathered after the JPGs, each as furtherTypes gives it.
    static Found find(const QString &folder, bool gif, bool jpg, cProgress *progress = nullptr,
                      const QStringList &further = {});
};
