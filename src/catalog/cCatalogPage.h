#pragma once

#include "common/cSetting.h"

#include <QSize>
#include <QString>

class cOption;
class cPageFile;

// One page of the catalog as the settings shape it: the head, a table of cells, each linking a
// picture, and the end. Each setting is read when its line needs it; marker tells the step
// reached, so that a failure can say where it stopped.
class cCatalogPage
{
public:
    // Texts the caller holds: a million cells copy none of them.
    struct Cell
    {
        const QString &link;
        const QString &source; // the thumbnail, or the picture itself
        QSize thumbnail;       // the thumbnail's own size; empty when the picture shows itself
        const QString &name;
        bool album = false; // an album's cell names it whatever "IMGNAME" says
        QString twice = {}; // the thumbnail at twice its size, for dense screens; may be empty
    };

    cCatalogPage(const cOption &options, cPageFile &file, int &marker);

    // Whether the settings the page writes as they stand are plain ASCII.
    static bool settingsAreAscii(const cOption &options);

    static const QString &styleSheetName();
    // The style sheet's text.
    static QByteArray styleSheet();
    // The line every page the program writes has among its first: the mark by which a later
    // run knows a page as its own.
    static QString markLine();
    // A text as it goes into an attribute between double quotes.
    static QString attribute(const QString &text);
    // The first lines of a page for phones, up to its viewport; the line that links the style
    // sheet from the folder toTop leads to.
    static void beginForPhones(cPageFile &file);
    // With schemes, the page follows the reader's light or dark preference.
    static void linkStyleSheet(cPageFile &file, const QString &toTop, bool schemes);

    // Creates the page and writes everything up to the first cell. A page that holds any other
    // text says that it is UTF-8, which a browser left to guess may not take it for.
    // above, when given, is a line before the table; toTop leads from the page's folder to the
    // first page's, where the style sheet is.
    // What a page says of itself beyond "DOCTITLE" ("HEADINGS"): its title, and a description
    // and picture for link previews; each empty where the page says nothing of it.
    struct Head
    {
        QString title;
        QString description;
        QString image;
    };
    void begin(const QString &path, bool declareUtf8, const QString &above = QString(),
               const QString &toTop = QString(), const Head &head = {});
    // The lines of a page's head for link previews, of what head gives.
    static void describe(cPageFile &file, const Head &head);
    void cell(const Cell &cell);
    // navigation, when given, is the line after the table.
    void end(const QString &navigation);

private:
    void addCss(const QString &styleSheet, const QString &fontSize);
    // The settings' colours and border as style rules: attributes of old are no HTML of today.
    void addSettingsStyle();
    static QString comment(const QString &field);

    const cOption &m_options;
    cPageFile &m_file;
    int &m_marker;
    int m_column = 1;
    cSetting m_cellColour;
    cSetting m_height;
    cSetting m_width;
    cSetting m_nameShown;
    cSetting m_columns;
    bool m_ownSize;
    bool m_forPhones;
    int m_rowHeight; // of full rows; 0 for the grid
    bool m_schemes;
    // For phones a row is ended when the next cell comes, so that no empty row is left at the
    // end, and the last row is filled with empty cells: rows of one width, as HTML asks.
    bool m_rowFull = false;
    bool m_firstRow = true;
};
