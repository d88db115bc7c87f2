#pragma once

#include <QDateTime>
#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

// One picture on its way from its folder to its cell on the page. What is later read from the
// file itself belongs here too, so that each fact about a picture has one home.
struct cPicture
{
    // Read from the file's metadata when a setting asks for them; shared, as a million pictures
    // are copied from list to list.
    struct Facts : QSharedData
    {
        QDateTime taken;
        bool dated = false; // taken is the camera's, not the file's time
        QString title;
        QString copyright;
        bool located = false; // its metadata tells where it was taken
    };

    QString folder; // where it was gathered, ending with the separator
    QString name;
    QString type;                                   // as the lists show it: "GIF", "JPG"
    QExplicitlySharedDataPointer<Facts> facts = {}; // none until read

    QString path() const { return folder + name; }
    // Invalid and empty while the facts are not read.
    QDateTime taken() const { return facts ? facts->taken : QDateTime(); }
    QString title() const { return facts ? facts->title : QString(); }
    bool located() const { return facts && facts->located; }
};
