#pragma once

#include "catalog/cAlbums.h"
#include "catalog/cCatalogPages.h"
#include "catalog/cCatalogPlaces.h"
#include "pictures/cPicture.h"
#include "pictures/cThumbnailer.h"
#include "settings/cSettings.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class cOption;

// Everything one run of a catalog writes, known in one place: the folders, the thumbnails, their
// doubles and the copies for the web of each picture, each album's pages and picture pages, the
// style sheet. Writing, making the folders, the record of what was written, the check that no
// picture's own folder is written in and the folders a gathering leaves out all read it, so a new
// kind of output is added here and in its writer, nowhere else.
class cCatalogPlan
{
public:
    // What is made of one picture; a file name is empty where none is made.
    struct Outputs
    {
        cThumbnailer::Thumbnail thumbnail;
        cThumbnailer::Thumbnail twice; // twice the size, for dense screens
        cThumbnailer::Thumbnail copy;  // for the web, linked instead of the picture
        QString page;                  // its own page, in its album's folder
    };
    // The pages of one album.
    struct Album
    {
        QString folder;   // as the output folder was given, ending with the separator
        QString absolute; // absolute and clean
        QString toTop;    // from its folder to the first page's
        cCatalogPages pages;
    };

    // outPath ends with the separator. Throws cError when the output folder is missing or a
    // setting leads outside it.
    cCatalogPlan(const cOption &options, const QString &outPath);

    const cSettings &settings() const { return m_settings; }
    const cCatalogPlaces &places() const { return m_places; }
    // Absolute and clean; empty without copies for the web.
    const QString &copyFolder() const { return m_copyFolder; }
    // The folders that hold only what the program makes of the pictures.
    QStringList ownFolders() const;
    // What the thumbnailer makes of every picture.
    const QList<cThumbnailer::Size> &sizes() const { return m_sizes; }
    // Where the style sheet goes; empty when none is written.
    const QString &styleSheet() const { return m_styleSheet; }
    // Makes the folders the pictures' files go in; throws cError as cCatalogPlaces does.
    void makeOwnFolders() const;

    // The pictures' albums and pages, with made, the thumbnailer's files of each size. inPath,
    // the folder the pictures were gathered from, is the top album with "ALBUMS".
    void place(const QList<cPicture> &pictures, const QString &inPath,
               QList<QList<cThumbnailer::Thumbnail>> made);
    const cAlbums &albums() const { return *m_albums; }
    const Album &album(size_t place) const { return m_albumPages[place]; }
    const Outputs &outputs(qsizetype place) const
    {
        return m_outputs.empty() ? s_nothingMade : m_outputs[size_t(place)];
    }
    // Makes every album's folder; throws cError as cCatalogPlaces does.
    void makeAlbumFolders() const;
    // A style sheet of the user's by that name is not the program's to record.
    void keepStyleSheet(bool ours) { m_styleSheetOurs = ours; }
    // Every file the run writes or keeps, absolute.
    QStringList files() const;
    // What a file at an absolute, clean path would be if the program made it, by its kind and
    // its place: a page or picture page in the pages' folder or an album's below it, a file of
    // the thumbnail or copy folders, the style sheet; Not for anything else.
    enum class Own { Not, Page, Picture, StyleSheet };
    Own ownKindOf(const QString &path) const;

private:
    enum Kind { Thumbnail, Twice, Copy };
    void namePicturePages(const QList<cPicture> &pictures);

    cSettings m_settings;
    cCatalogPlaces m_places;
    QString m_copyFolder;
    QList<cThumbnailer::Size> m_sizes;
    QList<Kind> m_kinds; // of each size
    QString m_styleSheet;
    bool m_styleSheetOurs = true;
    std::optional<cAlbums> m_albums;
    std::vector<Album> m_albumPages;
    // One a picture, only where anything is made of the pictures: a catalog of a million
    // without would hold hundreds of megabytes of nothing.
    std::vector<Outputs> m_outputs;
    static const Outputs s_nothingMade;
};
