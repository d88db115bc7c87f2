#pragma once

#include <QDateTime>
#include <QString>

// One picture on its way from its folder to its cell on the page. What is later read from the
// file itself belongs here too, so that each fact about a picture has one home.
struct cPicture
{
    QString folder; // where it was gathered, ending with the separator
    QString name;
    QString type; // as the lists show it: "GIF", "JPG"
    // Read from the file's metadata when a setting asks for them, else invalid and empty.
    QDateTime taken = {};
    QString title = {};

    QString path() const { return folder + name; }
};
