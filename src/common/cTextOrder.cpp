#include "common/cTextOrder.h"

#include "common/modUtil1.h"

#include <QHash>
#include <algorithm>
#include <cstring>

namespace {
struct SortKey
{
    quint64 head;
    quint32 at;
    quint32 size;
    quint32 text;
    bool ascii;
};

char16_t foldedUnit(char16_t unit, cTextOrder::Fold fold)
{
    if (fold == cTextOrder::Fold::Lower)
        return modUtil1::foldCase(unit);
    if (unit < 0x80)
        return unit >= 'a' && unit <= 'z' ? char16_t(unit - ('a' - 'A')) : unit;
    return char16_t(QChar::toUpper(unit));
}

// The order of any two texts; for ASCII texts it is the order of their folded bytes.
int compareFolded(const QString &a, const QString &b, cTextOrder::Fold fold)
{
    if (fold == cTextOrder::Fold::Lower)
        return QString::compare(a, b, Qt::CaseInsensitive);
    const qsizetype shorter = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < shorter; ++i) {
        const char16_t left = foldedUnit(a.at(i).unicode(), fold);
        const char16_t right = foldedUnit(b.at(i).unicode(), fold);
        if (left != right)
            return left < right ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
} // namespace

namespace {
// The keys' order once their folded bytes are in the arena: ASCII texts by their bytes, any pair
// with another text by slow, which compares the whole texts.
std::vector<quint32> sortKeys(std::vector<SortKey> &keys, const std::vector<char> &arena,
                              const std::function<int(quint32, quint32)> &slow,
                              Qt::SortOrder direction)
{
    const SortKey *first = nullptr;
    size_t common = 0; // the length of the start all ASCII texts share
    for (const SortKey &key : keys) {
        if (!key.ascii)
            continue;
        if (!first) {
            first = &key;
            common = key.size;
        }
        common = std::min<size_t>(common, key.size);
        while (common > 0 && std::memcmp(&arena[first->at], &arena[key.at], common) != 0)
            --common;
    }
    for (SortKey &key : keys) {
        for (size_t i = common; i < common + 8; ++i)
            key.head = key.head << 8 | (i < key.size ? quint8(arena[key.at + i]) : 0);
    }
    const size_t from = common + 8;
    const auto less = [&](const SortKey &a, const SortKey &b) {
        if (!a.ascii || !b.ascii)
            return slow(a.text, b.text) < 0;
        if (a.head != b.head)
            return a.head < b.head;
        const size_t shorter = std::min(a.size, b.size);
        const int order =
            shorter > from ? std::memcmp(&arena[a.at + from], &arena[b.at + from], shorter - from)
                           : 0;
        return order != 0 ? order < 0 : a.size < b.size;
    };
    if (direction == Qt::DescendingOrder)
        std::stable_sort(keys.begin(), keys.end(),
                         [&](const SortKey &a, const SortKey &b) { return less(b, a); });
    else
        std::stable_sort(keys.begin(), keys.end(), less);
    std::vector<quint32> order;
    order.reserve(keys.size());
    for (const SortKey &key : keys)
        order.push_back(key.text);
    return order;
}
} // namespace

std::vector<quint32> cTextOrder::order(qsizetype count,
                                       const std::function<const QString &(qsizetype)> &text,
                                       Fold fold, Qt::SortOrder direction)
{
    size_t total = 0;
    for (qsizetype i = 0; i < count; ++i)
        total += size_t(text(i).size());
    std::vector<char> arena(total);
    std::vector<SortKey> keys(static_cast<size_t>(count));
    size_t used = 0;
    for (qsizetype i = 0; i < count; ++i) {
        SortKey &key = keys[size_t(i)];
        const QString &words = text(i);
        key = {0, quint32(used), quint32(words.size()), quint32(i), true};
        for (const QChar c : words) {
            const char16_t unit = c.unicode();
            key.ascii = key.ascii && unit < 0x80;
            arena[used++] = char(foldedUnit(unit, fold));
        }
    }
    return sortKeys(
        keys, arena, [&](quint32 a, quint32 b) { return compareFolded(text(a), text(b), fold); },
        direction);
}

std::vector<quint32> cTextOrder::orderUtf8(qsizetype count,
                                           const std::function<QByteArrayView(qsizetype)> &utf8,
                                           Fold fold)
{
    size_t total = 0;
    for (qsizetype i = 0; i < count; ++i)
        total += size_t(utf8(i).size());
    std::vector<char> arena(total);
    std::vector<SortKey> keys(static_cast<size_t>(count));
    // Texts beyond ASCII are few: each is decoded once, for the whole compare.
    QHash<quint32, QString> decoded;
    size_t used = 0;
    for (qsizetype i = 0; i < count; ++i) {
        SortKey &key = keys[size_t(i)];
        const QByteArrayView bytes = utf8(i);
        key = {0, quint32(used), quint32(bytes.size()), quint32(i), true};
        for (const char byte : bytes) {
            key.ascii = key.ascii && uchar(byte) < 0x80;
            arena[used++] = char(foldedUnit(char16_t(uchar(byte)), fold));
        }
        if (!key.ascii)
            decoded.insert(quint32(i), QString::fromUtf8(bytes));
    }
    const auto text = [&](quint32 i) {
        const auto found = decoded.constFind(i);
        return found != decoded.cend() ? *found : QString::fromLatin1(utf8(i));
    };
    return sortKeys(
        keys, arena, [&](quint32 a, quint32 b) { return compareFolded(text(a), text(b), fold); },
        Qt::AscendingOrder);
}
