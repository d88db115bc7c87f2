#pragma once

#include "common/modUtil1.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

// Every object one opening of the options dialog builds, in order of building, each under a
// unique key compared ignoring case. Holding an object keeps it alive; emptying the collection
// lets every object go, since objects only point back at it without owning it.
class cObjColl
{
public:
    using Item = std::shared_ptr<QObject>;

    // A key already present is reported through the log and the item is not added.
    void Add(const Item &item, const QString &key);
    // Positions count from 1. An invalid position or an unknown key throws an invalid-argument
    // cError.
    Item item(int position) const;
    Item item(const QString &key) const;
    int Count() const { return int(m_items.size()); }
    void Remove(int position);
    void Remove(const QString &key);
    // The recalculation notice of a validated check box; nothing needs recalculating.
    void Calc(const QString &) {}

    qint16 modified() const { return m_modified; }
    // Throws an overflow cError past the 16-bit range, leaving the count as it was.
    void setModified(int count);

private:
    struct Entry
    {
        Item item;
        QString key;
    };
    static QString fold(const QString &key) { return modUtil1::foldCase(key); }

    QList<Entry> m_items;
    QHash<QString, Item> m_byKey;
    qint16 m_modified = 0;
};
