#pragma once

#include "common/cError.h"
#include "pictures/cPicture.h"

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
    // The folders below the input folder gathered no deeper than this: a tree deeper still is
    // left out and said, as a path through it soon grows beyond what the system opens.
    static constexpr int maxDepth = 255;

    struct Found
    {
        QList<cPicture> pictures;
        // Pictures whose names the system's encoding cannot give back, so they could never be
        // opened; they are left out.
        int unreadable = 0;
        // Folders left out as they lie deeper than the gathering goes.
        int tooDeep = 0;
        // Why the listing stopped before its end: a folder that could not be opened or read.
        cError problem = {};
    };

    // The types named by a setting ("png, WebP heic"), in upper case as the lists show them,
    // each once; GIF and JPG are left to their boxes.
    static QStringList furtherTypes(const QString &setting);
    struct Request
    {
        bool gif = true;
        bool jpg = true;
        // Types gathered after the JPGs, each as furtherTypes gives it.
        QStringList further = {};
        // With subfolders, each folder's pictures come before those of its subfolders, each
        // subfolder in name order; hidden ones, links out of the folder and folders met before
        // are left out, as are the skipped ones (where the program writes).
        bool subfolders = false;
        QStringList skipped = {};
    };
    // progress, when given, hears of every picture listed; a cancel keeps what was listed.
    static Found find(const QString &folder, const Request &request, cProgress *progress = nullptr);
};
