#pragma once

#include "pictures/cPicture.h"

#include <QList>

// The order of the found list after gathering, as the setting "ORDER" chooses it.
class cPictureOrder
{
public:
    enum Order {
        Listed = 0, // GIFs, then JPGs, each in name order
        Names = 1,  // by name, the numbers in it as numbers: "photo 2" before "photo 10"
        Taken = 2,  // by the time taken, then by name
    };

    // Whether the order needs the pictures' facts read first.
    static bool needsFacts(int order) { return order == Taken; }
    static void arrange(QList<cPicture> &pictures, int order);
    // A name folded so that the order of its units is the order of names with numbers: each
    // run of digits padded to one width.
    static QString numberedKey(const QString &name);
};
