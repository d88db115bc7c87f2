#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QHashFunctions>
#include <QList>

class cProgress;

// The rows of a found or selected list: one image per row, each held at most once under its key
// "F_" + file name, or, with folder keys, its folder and file name, so that pictures of the same
// name from different folders are two rows. Rows are reached by key in constant time, so folders
// of 100,000 images gather, sort and copy without quadratic work.
class cImageList : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Item
    {
        QString name;
        QString type;
        QString folder; // the folder it was gathered from, ending with the separator
    };

    explicit cImageList(const QStringList &headers, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    int count() const { return int(m_items.size()); }
    const Item &at(int row) const { return m_items.at(row); }
    const QList<Item> &items() const { return m_items; }
    QStringList names() const;
    QStringList folders() const;
    // Whether the folder is part of the key; switching it keys the rows anew.
    void setFolderKeys(bool on);

    void clear();
    // Adds one item at the end; false, and nothing added, when its key is already held.
    bool add(const Item &item);
    // Adds every item whose key is not held yet, in order; returns how many were added.
    // progress, when given, hears of every item; a cancel keeps what was added.
    int addAll(const QList<Item> &items, cProgress *progress = nullptr);
    void removeAt(int row);

    // Sorts by a column as text ignoring case, and keeps the list sorted from then on.
    void sortBy(int column, Qt::SortOrder order);

private:
    // An item's key, sharing the item's own strings: "F_" + name is the name alone, since every
    // key has the prefix; with folder keys the folder comes along.
    struct Key
    {
        QString folder;
        QString name;
        bool operator==(const Key &other) const
        {
            return name == other.name && folder == other.folder;
        }
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHashMulti(seed, key.folder, key.name);
    }
    Key key(const Item &item) const;
    // One text of every item, in order.
    QStringList field(QString Item::*member) const;
    void sortRows();
    void reindex();

    QStringList m_headers;
    QList<Item> m_items;
    QHash<Key, int> m_rows;
    bool m_folderKeys = false;
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
