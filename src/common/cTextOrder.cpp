#include "common/cTextOrder.h"

#include "common/modUtil1.h"

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
    const SortKey *first = nullptr;
    size_t common = 0; // the length of the start all ASCII texts share
    for (qsizetype i = 0; i < count; ++i) {
        SortKey &key = keys[size_t(i)];
        const QString &words = text(i);
        key = {0, quint32(used), quint32(words.size()), quint32(i), true};
        for (const QChar c : words) {
            const char16_t unit = c.unicode();
            key.ascii = key.ascii && unit < 0x80;
            arena[used++] = char(foldedUnit(unit, fold));
        }
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
            return compareFolded(text(a.text), text(b.text), fold) < 0;
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
