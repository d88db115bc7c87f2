#pragma once

#include "pictures/cPicture.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <vector>

class cProgress;

// The rows of a found or selected list: one image per row, each held at most once under its key
// "F_" + file name, or, with folder keys, its folder and file name, so that pictures of the same
// name from different folders are two rows. A row is its name and two small numbers for its type
// and folder, and the keys are found through a table of row numbers, so a list of a million
// pictures stays small and every step is linear or better.
class cImageList : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit cImageList(const QStringList &headers, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    int count() const { return int(m_rows.size() - m_front); }
    cPicture at(int row) const;
    QList<cPicture> pictures() const;
    // Whether the folder is part of the key; switching it keys the rows anew.
    void setFolderKeys(bool on);
    // A picture in a folder under this one is shown by its name, then its folder from here;
    // empty shows names. Every row's tool tip is its whole path.
    void setShownBelow(const QString &folder);

    void clear();
    // Adds one picture at the end; false, and nothing added, when its key is already held.
    bool add(const cPicture &picture);
    // Adds the pictures whose keys are not held yet, in order; returns how many were added.
    // progress, when given, hears of every picture; a cancel keeps what was added. Pictures
    // handed over (moved) are let go before the list is sorted: a million take 70 MB.
    int addAll(QList<cPicture> pictures, cProgress *progress = nullptr);
    // The same with every item of another list, in its order.
    int addAll(const cImageList &other, cProgress *progress = nullptr);
    void removeAt(int row);

    // Sorts by a column as text ignoring case, and keeps the list sorted from then on.
    void sortBy(int column, Qt::SortOrder order);

private:
    struct Row
    {
        QString name;
        quint32 nameHash;
        quint32 kind;      // the type's number in the low byte, the folder's above it
        quint32 facts = 0; // 1 + the place of its facts, or 0 when none were read
        quint32 type() const { return kind & 0xFF; }
        quint32 folder() const { return kind >> 8; }
    };
    // A slot of the key table: the row, and its key's hash, so a search touches no row until
    // the hashes agree.
    struct Slot
    {
        qint32 row;
        quint32 hash;
    };
    // A table of short texts each held once, so rows refer to them by number.
    class Texts
    {
    public:
        quint32 number(const QString &text);
        const QString &text(quint32 number) const { return m_texts.at(number); }
        qsizetype count() const { return m_texts.size(); }
        void clear();

    private:
        QStringList m_texts;
        QHash<QString, quint32> m_numbers;
        QString m_last;
        quint32 m_lastNumber = 0;
    };
    static quint32 hashOf(const QString &name);
    quint32 keyHash(quint32 nameHash, quint32 folder) const;
    quint32 keyHash(const Row &row) const { return keyHash(row.nameHash, row.folder()); }
    // Adds a row, or with bulk only puts it at the end, to be keyed by finishAdding; false when
    // the progress stopped the adding.
    bool addRow(const Row &row, bool bulk, cProgress *progress, int added);
    void finishAdding(bool bulk);
    // Adds a row unless its key is held.
    void append(const Row &row);
    using FactsPointer = QExplicitlySharedDataPointer<cPicture::Facts>;
    // The row's number for the facts read from the picture's file, kept once they are read.
    quint32 factsOf(const FactsPointer &facts);
    // The slot of the row with this key, or the empty slot where it would go.
    size_t slotOf(const QString &name, quint32 hash, quint32 folder) const;
    size_t slotOfRow(int row) const;
    // Puts a row into the first free slot from its hash on.
    void place(qint32 row, quint32 hash);
    // Empties a slot, moving up the rows whose search passes it.
    void vacate(size_t slot);
    const Row &row(int number) const { return m_rows[m_front + size_t(number)]; }
    // Drops the places of rows taken from the front, before work over every row.
    void compact();
    // Makes the key table large enough for this many rows.
    void reserve(size_t rows);
    // Keys every row anew; dropRepeated drops the rows whose key an earlier row holds.
    void buildIndex(bool dropRepeated);
    // Sorts the rows; they are keyed anew afterwards.
    void sortRows();
    const QString &sortText(const Row &row) const;

    static constexpr qint32 empty = -1;
    QStringList m_headers;
    // The rows, after m_front places of rows taken out near the front: taking one out moves the
    // rows on its shorter side, so no row of a million moves more than half of them.
    std::vector<Row> m_rows;
    size_t m_front = 0;
    Texts m_types;
    Texts m_folders;
    std::vector<FactsPointer> m_facts;
    std::vector<Slot> m_slots; // open addressing, at most half full, a power of two long
    bool m_folderKeys = false;
    QString m_shownBelow;
    bool m_sorted = false;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
