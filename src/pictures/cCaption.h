#pragma once

#include "pictures/cPicture.h"

// What stands under a thumbnail where "IMGNAME" shows the name, as "CAPTION" chooses: the name,
// the picture's own title (the name where it has none), the time it was taken, or both.
class cCaption
{
public:
    enum Kind { Name = 0, Title = 1, Taken = 2, TitleAndTaken = 3 };

    static bool needsFacts(int kind) { return kind >= Title && kind <= TitleAndTaken; }
    static QString of(const cPicture &picture, int kind);
};
