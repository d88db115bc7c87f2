#pragma once

#include <QString>

// One line of the help source: "title|target", indented by leading tabs.
class cHelpSource
{
public:
    struct Topic
    {
        QString title;
        QString target;
        int level = 0;
    };

    static Topic topic(const QString &line);
    // Only web and mail targets open, and only as written: "http" and "mailto" in small letters.
    static bool opens(const QString &target);
    // The page of the program's own that a target names, an HTML file under folder; empty when
    // it names none.
    static QString localPage(const QString &folder, const QString &target);
};
