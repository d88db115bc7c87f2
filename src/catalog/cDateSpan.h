#pragma once

#include "pictures/cPicture.h"

#include <QDate>
#include <QString>

// When the pictures of an album were taken, as a page says it: "3 July 2021", "3-7 July 2021",
// "28 June - 3 July 2021", "30 December 2020 - 2 January 2021". Only the camera's dates count,
// not a file's time.
class cDateSpan
{
public:
    void add(const cPicture &picture);
    void add(const cDateSpan &other);
    bool isEmpty() const { return !m_first.isValid(); }
    QString text() const;
    // "12 pictures, 3-7 July 2021"; "1 picture" without dates.
    QString summary(qsizetype count) const;
    // "3 July 2021"
    static QString day(const QDate &date);

private:
    QDate m_first;
    QDate m_last;
};
