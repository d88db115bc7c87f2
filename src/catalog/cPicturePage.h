#pragma once

#include <QDate>
#include <QSize>
#include <QString>

class cPageFile;

// A page of its own for one picture ("PICTUREPAGES"): the picture, or its copy for the web, as
// large as the window allows, its caption, and links to the previous and the next picture and
// back to the catalog page that holds it. The left and right arrow keys follow the links too; the
// links work without the script.
class cPicturePage
{
public:
    // Links lead from the page's folder; previous and next are empty at the album's ends.
    struct Content
    {
        const QString &picture;
        QSize size; // the picture's as shown, when known
        const QString &caption;
        const QString &previous;
        const QString &next;
        const QString &back;
        const QString &toTop; // to the first page's folder, where the style sheet is
        // With "HEADINGS": the day it was taken, shown beside the caption (empty where unknown
        // or the caption says it), and the head's lines for link previews.
        bool describes = false;
        QDate taken = {};
        bool schemes = false; // it follows the reader's light or dark preference
        // As a viewer: dark, the picture as large as the window, a swipe or Escape to go on or
        // back, and the next picture (nextPicture, its address) loaded ahead.
        bool viewer = false;
        QString nextPicture = {};
    };

    // The page's file name: what names the picture's other files, and the page's extension.
    static QString fileName(const QString &stem) { return stem + QStringLiteral(".htm"); }
    static void write(cPageFile &file, const QString &path, const Content &content);
};
