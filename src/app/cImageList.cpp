#include "cImageList.h"

#include "cProgress.h"

#include <algorithm>

cImageList::cImageList(const QStringList &headers, QObject *parent)
    : QAbstractTableModel(parent), m_headers(headers)
{
}

int cImageList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int cImageList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant cImageList::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
        return QVariant();
    const Item &item = m_items.at(index.row());
    return index.column() == 0 ? item.name : item.type;
}

QVariant cImageList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= m_headers.size())
        return QVariant();
    return m_headers.at(section);
}

QStringList cImageList::names() const
{
    return field(&Item::name);
}

QStringList cImageList::folders() const
{
    return field(&Item::folder);
}

QStringList cImageList::field(QString Item::*member) const
{
    QStringList texts;
    texts.reserve(m_items.size());
    for (const Item &item : m_items)
        texts.append(item.*member);
    return texts;
}

void cImageList::setFolderKeys(bool on)
{
    if (on == m_folderKeys)
        return;
    m_folderKeys = on;
    reindex();
}

cImageList::Key cImageList::key(const Item &item) const
{
    return {m_folderKeys ? item.folder : QString(), item.name};
}

void cImageList::clear()
{
    beginResetModel();
    m_items.clear();
    m_rows.clear();
    endResetModel();
}

bool cImageList::add(const Item &item)
{
    if (m_rows.contains(key(item)))
        return false;
    if (m_sorted) {
        addAll({item});
        return true;
    }
    beginInsertRows(QModelIndex(), count(), count());
    m_rows.insert(key(item), count());
    m_items.append(item);
    endInsertRows();
    return true;
}

int cImageList::addAll(const QList<Item> &items, cProgress *progress)
{
    beginResetModel();
    const int before = count();
    m_items.reserve(before + items.size());
    m_rows.reserve(before + items.size());
    for (const Item &item : items) {
        if (progress && !progress->step(count() - before))
            break;
        const Key itemKey = key(item);
        if (m_rows.contains(itemKey))
            continue;
        m_rows.insert(itemKey, count());
        m_items.append(item);
    }
    if (m_sorted)
        sortRows();
    endResetModel();
    return count() - before;
}

void cImageList::removeAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.removeAt(row);
    endRemoveRows();
    reindex();
}

void cImageList::sortBy(int column, Qt::SortOrder order)
{
    beginResetModel();
    m_sorted = true;
    m_sortColumn = column;
    m_sortOrder = order;
    sortRows();
    endResetModel();
}

void cImageList::sortRows()
{
    const bool byType = m_sortColumn == 1;
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_items.begin(), m_items.end(), [=](const Item &a, const Item &b) {
        const int order = QString::compare(byType ? a.type : a.name, byType ? b.type : b.name,
                                           Qt::CaseInsensitive);
        return descending ? order > 0 : order < 0;
    });
    reindex();
}

void cImageList::reindex()
{
    m_rows.clear();
    m_rows.reserve(m_items.size());
    for (int row = 0; row < count(); ++row)
        m_rows.insert(key(m_items.at(row)), row);
}
