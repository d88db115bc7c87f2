#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

// Orders many texts ignoring case, fast for the ASCII texts nearly every file name is: their
// folded bytes lie in one arena, and eight of them, from where the texts start to differ, form one
// number, so most comparisons compare two numbers. Equal texts keep their order.
class cTextOrder
{
public:
    enum class Fold {
        Lower, // as QString::compare ignoring case: the lists' column sort
        Upper, // each UTF-16 unit in upper case, compared as a number: a folder's listing on the
               // file system the program was first made for
    };

    // The positions of the count texts that text gives, in order.
    static std::vector<quint32> order(qsizetype count,
                                      const std::function<const QString &(qsizetype)> &text,
                                      Fold fold, Qt::SortOrder direction = Qt::AscendingOrder);
    // The same for texts in UTF-8, as a folder lists its names.
    static std::vector<quint32>
    orderUtf8(qsizetype count, const std::function<QByteArrayView(qsizetype)> &utf8, Fold fold);
};
