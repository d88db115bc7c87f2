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
    };

    cCatalogPage(const cOption &options, cPageFile &file, int &marker);

    // Whether the settings the page writes as they stand are plain ASCII.
    static bool settingsAreAscii(const cOption &options);

    // Creates the page and writes everything up to the first cell. A page that holds any other
    // text says that it is UTF-8, which a browser left to guess may not take it for.
    // above, when given, is a line before the table.
    void begin(const QString &path, bool declareUtf8, const QString &above = QString());
    void cell(const Cell &cell);
    // navigation, when given, is the line after the table.
    void end(const QString &navigation);

private:
    void addCss(const QString &styleSheet, const QString &fontSize);
    static QString comment(const QString &field);

    const cOption &m_options;
    cPageFile &m_file;
    int &m_marker;
    int m_column = 1;
    cSetting m_cellColour;
    cSetting m_thumbnailSize;
    cSetting m_height;
    cSetting m_width;
    cSetting m_nameShown;
    cSetting m_columns;
};
