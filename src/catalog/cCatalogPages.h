#pragma once

#include <QString>

// The pages of one catalog and which pictures each holds: a number of pictures a page, or all on
// one page. The first page has its own name; the next insert 2, 3, ... before its extension, and
// a line after each table leads to the others.
class cCatalogPages
{
public:
    // pageSize 0 or less puts every picture on one page.
    cCatalogPages(const QString &firstName, qsizetype pictures, qsizetype pageSize);

    int count() const { return m_count; }
    // The pictures of a page (numbered from 1): where they start in the catalog, and how many.
    qsizetype first(int number) const;
    qsizetype size(int number) const;
    QString fileName(int number) const;
    // The page that holds a picture, by its place among the pictures.
    int numberOf(qsizetype picture) const
    {
        return m_pageSize > 0 ? int(picture / m_pageSize) + 1 : 1;
    }
    // The line after the table: previous page, page numbers, next page; empty for one page.
    QString navigation(int number) const;

private:
    QString m_firstName;
    qsizetype m_pictures;
    qsizetype m_pageSize;
    int m_count;
};
