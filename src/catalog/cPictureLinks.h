#pragma once

#include "pictures/cPicture.h"

// How a page links its pictures and thumbnails: names made safe for an address and for the page,
// and, when pictures are linked in their own folders, the path from the page's folder to each.
class cPictureLinks
{
public:
    // fromOwnFolders: the pictures are linked in their own folders, where pictures of one name
    // from two folders are two pictures. pageFolder, thumbnailFolder and copyFolder are absolute;
    // the last two are empty without thumbnails or copies for the web.
    cPictureLinks(bool fromOwnFolders, const QString &pageFolder, const QString &thumbnailFolder,
                  const QString &copyFolder = QString());

    // The address of the picture as the page links it. Pictures come in runs of one folder: the
    // path to a folder is found once for its run.
    QString picture(const cPicture &picture);
    // Whether that address, and the name shown beside it, are plain ASCII.
    bool isAscii(const cPicture &picture);
    // The address of a file of the thumbnail folder.
    QString thumbnail(const QString &file) const { return m_thumbnails + safeSegment(file, true); }
    // The address of a file of the folder of copies for the web.
    QString copy(const QString &file) const { return m_copies + safeSegment(file, true); }

    // A file or folder name as it goes into a link beside the page; not strict only for the
    // pictures' own names, which go in as they are.
    static QString linkName(const QString &name, bool strict = true);
    // A file name or caption as it is shown on the page.
    static QString shownName(const QString &name);

private:
    // The part of the address that leads to the folder.
    const QString &prefix(const QString &folder);
    static bool isControl(QChar c);
    static QString safeSegment(const QString &segment, bool strict);
    // The part of a link from pageFolder to the files of folder, ending with "/"; empty when it
    // is the same folder.
    static QString folderLink(const QString &pageFolder, const QString &folder);

    bool m_fromOwnFolders;
    QString m_pageFolder;
    QString m_thumbnails;
    QString m_copies;
    QString m_lastFolder;
    QString m_lastPrefix;
};
