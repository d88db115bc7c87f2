#pragma once

#include "pictures/cPicture.h"

#include <QHash>
#include <QList>
#include <QString>
#include <vector>

// The albums of a catalog. With one album a folder, the input folder's is the top one and each
// folder below it that holds pictures, or albums, is one more; by month, each year the pictures
// were taken is an album of the top one and each month an album of its year (a picture without
// the camera's date stays in the top one); otherwise all the pictures make the top album.
// Pictures keep the catalog's order in their albums.
class cAlbums
{
public:
    struct Album
    {
        QString path;                  // below the top, "/" between the folders; empty for the top
        QString name;                  // the folder's own name; empty for the top
        QString title;                 // as the pages name it: the name, or "July 2021"
        int parent = -1;               // none for the top
        std::vector<int> children;     // the albums inside it, in name order
        std::vector<quint32> pictures; // its own, as places in the catalog
        qsizetype total = 0;           // its own and those of every album below it
        qsizetype cover = -1;          // the place of its first picture, or of the first below
    };

    // root, the input folder, ends with the separator; a picture from outside it is in the top
    // album.
    enum Grouping { None, ByFolder, ByMonth };
    cAlbums(const QList<cPicture> &pictures, Grouping grouping, const QString &root);

    const std::vector<Album> &all() const { return m_albums; }

private:
    int albumOf(const QString &path);

    std::vector<Album> m_albums;
    QHash<QString, int> m_places; // the albums below the top by their paths
};
