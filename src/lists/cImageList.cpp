#include "lists/cImageList.h"

#include "common/cProgress.h"
#include "common/cTextOrder.h"
#include "common/modUtil1.h"

#include <algorithm>

namespace {
constexpr size_t smallestTable = 16;
} // namespace

quint32 cImageList::Texts::number(const QString &text)
{
    // Pictures come in runs of one folder and one type: the table is asked when the text changes.
    if (!m_texts.isEmpty() && text == m_last)
        return m_lastNumber;
    m_last = text;
    const auto found = m_numbers.constFind(text);
    if (found != m_numbers.constEnd())
        return m_lastNumber = *found;
    m_texts.append(text);
    return m_lastNumber = m_numbers.insert(text, quint32(m_texts.size() - 1)).value();
}

void cImageList::Texts::clear()
{
    m_texts.clear();
    m_numbers.clear();
    m_last.clear();
}

cImageList::cImageList(const QStringList &headers, QObject *parent)
    : QAbstractTableModel(parent), m_headers(headers), m_slots(smallestTable, Slot{empty, 0})
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
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        index.row() >= count())
        return QVariant();
    const Row &row = this->row(index.row());
    const QString &folder = m_folders.text(row.folder());
    if (role == Qt::ToolTipRole)
        return QString(folder + row.name);
    if (index.column() != 0)
        return m_types.text(row.type());
    if (m_shownBelow.isEmpty() || folder.size() <= m_shownBelow.size() ||
        !folder.startsWith(m_shownBelow))
        return row.name;
    // The name first, where the narrow column shows it; its folder after it.
    const QStringView below = QStringView(folder).mid(m_shownBelow.size()).chopped(1);
    return QString(row.name + QStringLiteral(" (") + below + QLatin1Char(')'));
}

void cImageList::setShownBelow(const QString &folder)
{
    if (folder == m_shownBelow)
        return;
    beginResetModel();
    m_shownBelow = folder;
    endResetModel();
}

QVariant cImageList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= m_headers.size())
        return QVariant();
    return m_headers.at(section);
}

cPicture cImageList::at(int row) const
{
    const Row &item = this->row(row);
    return {m_folders.text(item.folder()), item.name, m_types.text(item.type()),
            item.facts == 0 ? FactsPointer() : m_facts[item.facts - 1]};
}

QList<cPicture> cImageList::pictures() const
{
    QList<cPicture> pictures;
    pictures.reserve(count());
    for (int row = 0; row < count(); ++row)
        pictures.append(at(row));
    return pictures;
}

void cImageList::setFolderKeys(bool on)
{
    if (on == m_folderKeys)
        return;
    m_folderKeys = on;
    buildIndex(false);
}

void cImageList::clear()
{
    beginResetModel();
    m_rows = std::vector<Row>();
    m_front = 0;
    m_types.clear();
    m_folders.clear();
    m_facts = std::vector<FactsPointer>();
    m_slots.assign(smallestTable, Slot{empty, 0});
    endResetModel();
}

bool cImageList::add(const cPicture &picture)
{
    const quint32 folder = m_folders.number(picture.folder);
    const quint32 nameHash = hashOf(picture.name);
    if (m_slots[slotOf(picture.name, keyHash(nameHash, folder), folder)].row != empty)
        return false;
    if (m_sorted) {
        addAll({picture});
        return true;
    }
    beginInsertRows(QModelIndex(), count(), count());
    append({picture.name, nameHash, m_types.number(picture.type) | folder << 8,
            factsOf(picture.facts)});
    endInsertRows();
    return true;
}

int cImageList::addAll(QList<cPicture> pictures, cProgress *progress)
{
    beginResetModel();
    compact();
    const int before = count();
    const bool bulk = m_rows.empty();
    if (bulk)
        m_rows.reserve(size_t(pictures.size()));
    for (const cPicture &picture : std::as_const(pictures)) {
        const quint32 kind = m_types.number(picture.type) | m_folders.number(picture.folder) << 8;
        const Row row{picture.name, hashOf(picture.name), kind, factsOf(picture.facts)};
        if (!addRow(row, bulk, progress, count() - before))
            break;
    }
    pictures = QList<cPicture>();
    finishAdding(bulk);
    endResetModel();
    return count() - before;
}

int cImageList::addAll(const cImageList &other, cProgress *progress)
{
    beginResetModel();
    compact();
    const int before = count();
    const bool bulk = m_rows.empty();
    if (bulk)
        m_rows.reserve(size_t(other.count()));
    // The other list's types and folders, as this list numbers the same texts.
    std::vector<quint32> types;
    for (qsizetype i = 0; i < other.m_types.count(); ++i)
        types.push_back(m_types.number(other.m_types.text(quint32(i))));
    std::vector<quint32> folders;
    for (qsizetype i = 0; i < other.m_folders.count(); ++i)
        folders.push_back(m_folders.number(other.m_folders.text(quint32(i))));
    for (int number = 0; number < other.count(); ++number) {
        const Row &row = other.row(number);
        const quint32 kind = types[row.type()] | folders[row.folder()] << 8;
        const quint32 facts = row.facts == 0 ? 0 : factsOf(other.m_facts[row.facts - 1]);
        if (!addRow({row.name, row.nameHash, kind, facts}, bulk, progress, count() - before))
            break;
    }
    finishAdding(bulk);
    endResetModel();
    return count() - before;
}

bool cImageList::addRow(const Row &row, bool bulk, cProgress *progress, int added)
{
    if (progress && !progress->step(added))
        return false;
    // Into an empty list the rows go in first and are keyed together afterwards.
    if (bulk)
        m_rows.push_back(row);
    else
        append(row);
    return true;
}

void cImageList::finishAdding(bool bulk)
{
    if (m_sorted)
        sortRows();
    // A stable sort keeps the first of equal keys first, so the same rows are kept either way.
    if (bulk)
        buildIndex(true);
    else if (m_sorted)
        buildIndex(false);
}

void cImageList::append(const Row &row)
{
    reserve(size_t(count()) + 1);
    const quint32 hash = keyHash(row);
    Slot &slot = m_slots[slotOf(row.name, hash, row.folder())];
    if (slot.row == empty) {
        slot = {qint32(count()), hash};
        m_rows.push_back(row);
    }
}

quint32 cImageList::factsOf(const FactsPointer &facts)
{
    if (!facts)
        return 0;
    m_facts.push_back(facts);
    return quint32(m_facts.size());
}

quint32 cImageList::hashOf(const QString &name)
{
    // The process's own seed: names cannot be chosen to collide.
    return quint32(qHash(name, QHashSeed::globalSeed()));
}

quint32 cImageList::keyHash(quint32 nameHash, quint32 folder) const
{
    return m_folderKeys ? nameHash ^ quint32((folder + 1) * 0x9E3779B1U) : nameHash;
}

size_t cImageList::slotOf(const QString &name, quint32 hash, quint32 folder) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &held = m_slots[slot];
        if (held.row == empty)
            return slot;
        if (held.hash != hash)
            continue;
        const Row &row = this->row(held.row);
        if ((!m_folderKeys || row.folder() == folder) && row.name == name)
            return slot;
    }
}

size_t cImageList::slotOfRow(int row) const
{
    const size_t mask = m_slots.size() - 1;
    size_t slot = keyHash(this->row(row)) & mask;
    while (m_slots[slot].row != row)
        slot = (slot + 1) & mask;
    return slot;
}

void cImageList::place(qint32 row, quint32 hash)
{
    const size_t mask = m_slots.size() - 1;
    size_t slot = hash & mask;
    while (m_slots[slot].row != empty)
        slot = (slot + 1) & mask;
    m_slots[slot] = {row, hash};
}

void cImageList::reserve(size_t rows)
{
    if (2 * rows <= m_slots.size())
        return;
    size_t size = m_slots.size();
    while (2 * rows > size)
        size *= 2;
    const std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size, Slot{empty, 0}));
    for (const Slot &slot : old) {
        if (slot.row != empty)
            place(slot.row, slot.hash);
    }
}

void cImageList::removeAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    vacate(slotOfRow(row));
    const auto at = m_rows.begin() + qsizetype(m_front) + row;
    if (row < count() / 2) {
        std::move_backward(m_rows.begin() + qsizetype(m_front), at, at + 1);
        m_rows[m_front++] = Row{};
    } else {
        m_rows.erase(at);
    }
    for (Slot &slot : m_slots)
        slot.row -= slot.row > row ? 1 : 0;
    endRemoveRows();
}

void cImageList::vacate(size_t gap)
{
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = (gap + 1) & mask; m_slots[slot].row != empty; slot = (slot + 1) & mask) {
        const size_t home = m_slots[slot].hash & mask;
        // A row may not move before its home: it stays when the home lies after the gap.
        const bool homeAfterGap =
            gap <= slot ? (home > gap && home <= slot) : (home > gap || home <= slot);
        if (!homeAfterGap) {
            m_slots[gap] = m_slots[slot];
            gap = slot;
        }
    }
    m_slots[gap].row = empty;
}

void cImageList::compact()
{
    m_rows.erase(m_rows.begin(), m_rows.begin() + qsizetype(m_front));
    m_front = 0;
}

void cImageList::buildIndex(bool dropRepeated)
{
    compact();
    size_t size = smallestTable;
    while (2 * m_rows.size() > size)
        size *= 2;
    m_slots.assign(size, Slot{empty, 0});
    const size_t mask = size - 1;
    // Rows are keyed part of the table by part of it, so that each part is filled while it is in
    // the cache: a million rows then cost no million cache misses.
    int shift = 0;
    while ((size >> shift) > 256)
        ++shift;
    std::vector<quint32> start((size >> shift) + 1, 0);
    for (const Row &row : m_rows)
        ++start[((keyHash(row) & mask) >> shift) + 1];
    for (size_t part = 1; part < start.size(); ++part)
        start[part] += start[part - 1];
    std::vector<quint32> order(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); ++row)
        order[start[(keyHash(m_rows[row]) & mask) >> shift]++] = quint32(row);
    // Rows of one key share their part, in their order: the first of them is keyed.
    std::vector<bool> repeated;
    for (const quint32 row : order) {
        const Row &held = m_rows[row];
        const quint32 hash = keyHash(held);
        if (!dropRepeated) {
            place(qint32(row), hash);
            continue;
        }
        Slot &slot = m_slots[slotOf(held.name, hash, held.folder())];
        if (slot.row == empty) {
            slot = {qint32(row), hash};
            continue;
        }
        repeated.resize(m_rows.size());
        repeated[row] = true;
    }
    if (repeated.empty())
        return;
    size_t kept = 0;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (!repeated[row])
            m_rows[kept++] = std::move(m_rows[row]);
    }
    m_rows.resize(kept);
    buildIndex(false);
}

void cImageList::sortBy(int column, Qt::SortOrder order)
{
    beginResetModel();
    m_sorted = true;
    m_sortColumn = column;
    m_sortOrder = order;
    sortRows();
    buildIndex(false);
    endResetModel();
}

const QString &cImageList::sortText(const Row &row) const
{
    return m_sortColumn == 1 ? m_types.text(row.type()) : row.name;
}

void cImageList::sortRows()
{
    compact();
    const std::vector<quint32> order = cTextOrder::order(
        qsizetype(m_rows.size()),
        [this](qsizetype row) -> const QString & { return sortText(m_rows[size_t(row)]); },
        cTextOrder::Fold::Lower, m_sortOrder);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (const quint32 row : order)
        sorted.push_back(std::move(m_rows[row]));
    m_rows = std::move(sorted);
}
