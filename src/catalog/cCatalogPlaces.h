#pragma once

#include <QString>

// Where the files of one catalog go: the pages in the folder "DOCFILE" names, the thumbnails in
// the "THUMBDIR" folder, both under the output folder however the settings write them ("\" or
// "/", absolute or not), so that no setting can lead a write outside it.
class cCatalogPlaces
{
public:
    // outPath ends with the separator; thumbDir is empty for a catalog without thumbnails.
    // Throws cError when the output folder is missing or a setting leads outside it.
    cCatalogPlaces(const QString &outPath, const QString &docFile, const QString &thumbDir);

    // The output folder, absolute and clean.
    const QString &outFolder() const { return m_outFolder; }
    // The output folder as given, then the page's own folders; ends with the separator.
    const QString &pageFolder() const { return m_pageFolder; }
    // The first page's file name.
    const QString &pageName() const { return m_pageName; }
    // The same folder, absolute and clean, "/" between its parts.
    const QString &absolutePageFolder() const { return m_absolutePageFolder; }
    // The folder of an album, path below the page's folder with "/" between its parts: made
    // where missing, as the output folder's user cannot make each album's. Ends with the
    // separator. Throws cError when a part of it is there but is no folder of its own (a file,
    // a link that could lead the pages anywhere) or cannot be made.
    QString albumFolder(const QString &path) const;
    // The same folder, made or not.
    QString albumPath(const QString &path) const;
    // The same folder, absolute and clean, "/" between its parts.
    QString absoluteAlbumFolder(const QString &path) const;
    // Absolute and clean; empty without thumbnails.
    const QString &thumbnailFolder() const { return m_thumbnailFolder; }
    // The folder a setting (key) names under the output folder, absolute and clean. Throws
    // cError when it leads outside.
    QString folderUnder(const QString &key, const QString &value) const;
    // Makes folder, one that folderUnder gave for key, where missing, each of its parts a folder
    // of its own as an album's; throws cError as albumFolder does.
    void makeFolder(const QString &key, const QString &folder) const;

private:
    QString m_outFolder;
    QString m_pageFolder;
    QString m_pageName;
    QString m_absolutePageFolder;
    QString m_thumbnailFolder;
};
