#pragma once

#include <QString>
#include <QStringList>
#include <array>

class cOption;

// What the keys the program added to the settings mean, read at the moment they are asked for.
// Each such key is spelt once, in the table below, with the value that leaves the page as it
// always was (absent or empty reads as it), its range, and its description as shipped. A value
// outside its range is said once and read as if absent. The page's original keys ("DOCFILE",
// "TABCOLUMN"...) are not here: they keep their own reads.
class cSettings
{
public:
    enum Key {
        PageSize,
        RowHeight,
        RelLinks,
        Headings,
        Schemes,
        Caption,
        ThumbDir,
        ThumbSize,
        CopySize,
        CopyDir,
        CopyFacts,
        Phones,
        PicturePages,
        Viewer,
        ShowPage,
        KeepTypes,
        Order,
        MoreTypes,
        Subfolders,
        Albums,
        SayPlace,
        Prune,
        GifType,
        JpgType,
        keyCount
    };
    struct Definition
    {
        Key key;
        const char *name;
        const char *section;
        const char *description;
        int length;
        // Read where the key is absent or empty, or its value is out of range.
        const char *fallback;
        // For a number: its range. A text has none (lowest above highest).
        int lowest;
        int highest;
        bool isNumber() const { return lowest <= highest; }
    };
    static const std::array<Definition, keyCount> &table();
    static QString name(Key key);

    explicit cSettings(const cOption &options);

    // The value as stored, blanks around it taken away; the fallback when absent or empty.
    QString text(Key key) const;
    // A number key's value; the fallback when absent, empty or out of range.
    int number(Key key) const;
    bool isOn(Key key) const { return number(key) == 1; }

    int pageSize() const { return number(PageSize); }
    int caption() const { return number(Caption); }
    int order() const { return number(Order); }
    // Empty for a catalog without thumbnails.
    QString thumbnailFolder() const { return text(ThumbDir); }
    bool thumbnailsAtOwnSize() const { return isOn(ThumbSize); }
    // 0 without copies for the web.
    int copySize() const { return number(CopySize); }
    // Empty without copies.
    QString copyFolder() const;
    bool copiesKeepFacts() const { return copySize() > 0 && isOn(CopyFacts); }
    bool forPhones() const { return isOn(Phones); }
    bool picturePages() const { return isOn(PicturePages); }
    bool writesStyleSheet() const { return forPhones() || picturePages(); }
    bool showsPage() const { return isOn(ShowPage); }
    bool keepsTypes() const { return isOn(KeepTypes); }
    bool makesAlbums() const { return number(Albums) >= 1; }
    // Albums by the year and month the pictures were taken, whatever folders they lie in.
    bool makesMonthAlbums() const { return number(Albums) == 2; }
    // An album a folder needs the folders' pictures.
    bool gathersSubfolders() const { return isOn(Subfolders) || makesAlbums(); }
    // Pictures of subfolders can only be linked from where they are.
    bool linksFromOwnFolders() const { return isOn(RelLinks) || gathersSubfolders(); }
    bool saysPlace() const { return isOn(SayPlace); }
    bool prunes() const { return isOn(Prune); }
    // Pages titled and headed with their album, its trail, count and dates ("HEADINGS").
    bool saysWhere() const { return isOn(Headings); }
    // On pages for phones, the cells laid out in rows that fill the width at about this many
    // pixels high ("ROWHEIGHT"), thumbnails made that high; 0 for the grid of "TABCOLUMN".
    int rowHeight() const { return forPhones() ? number(RowHeight) : 0; }
    // Pages for phones and picture pages follow the reader's light or dark preference
    // ("SCHEMES"); the settings' colours hold in the light one.
    bool followsSchemes() const { return isOn(Schemes); }
    // Picture pages as a viewer ("VIEWER"): dark, swiped, the next picture loaded ahead.
    bool picturePagesView() const { return isOn(Viewer); }

    // What was said of values out of range since the last call, each once in the process.
    static QStringList takeProblems();

private:
    const cOption &m_options;
};
