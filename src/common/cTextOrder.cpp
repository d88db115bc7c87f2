#include "common/cTextOrder.h"

#include "common/cCodePage.h"
#include "common/modUtil1.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <utility>

namespace {
char16_t foldedUnit(char16_t unit, cTextOrder::Fold fold)
{
    if (fold == cTextOrder::Fold::Lower)
        return modUtil1::foldCase(unit);
    if (unit < 0x80)
        return unit >= 'a' && unit <= 'z' ? char16_t(unit - ('a' - 'A')) : unit;
    return char16_t(QChar::toUpper(unit));
}

// The order of any two texts; for ASCII texts it is the order of their folded units.
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

char16_t unitAt(QStringView text, qsizetype i)
{
    return text.at(i).unicode();
}

char16_t unitAt(QByteArrayView text, qsizetype i)
{
    return uchar(text.at(i));
}

bool isAsciiText(QStringView text)
{
    return modUtil1::isAscii(text);
}

bool isAsciiText(QByteArrayView text)
{
    return cCodePage::isAscii(text);
}

// An ASCII text's place in the sort: eight of its folded units, from where the texts start to
// differ, make one number, so that most comparisons compare two numbers.
struct SortKey
{
    quint64 head;
    quint32 text;
    quint32 size;
};

// Orders keys by their heads with a radix sort, least significant byte first, which keeps the
// order of equal heads; bytes all keys share take no pass. Descending orders the heads' complement.
void sortByHead(std::vector<SortKey> &keys, Qt::SortOrder direction)
{
    const quint64 flip = direction == Qt::DescendingOrder ? ~quint64(0) : 0;
    std::vector<SortKey> buffer;
    for (int shift = 0; shift < 64; shift += 8) {
        const auto digit = [&](const SortKey &key) { return quint8((key.head ^ flip) >> shift); };
        std::array<size_t, 256> starts{};
        for (const SortKey &key : keys)
            ++starts[digit(key)];
        if (std::find(starts.cbegin(), starts.cend(), keys.size()) != starts.cend())
            continue;
        size_t sum = 0;
        for (size_t &start : starts)
            sum += std::exchange(start, sum);
        buffer.resize(keys.size());
        for (const SortKey &key : keys)
            buffer[starts[digit(key)]++] = key;
        keys.swap(buffer);
    }
}

// The positions of the texts in order, equal texts in their first order. ASCII texts are told
// apart by their folded units, read where they lie; any pair with another text by the slow
// comparison, which compares the whole texts. Few are the texts beyond ASCII.
template <typename View, typename TextAt>
std::vector<quint32> sortTexts(qsizetype count, TextAt textAt, cTextOrder::Fold fold,
                               Qt::SortOrder direction,
                               const std::function<int(quint32, quint32)> &slow)
{
    std::vector<SortKey> keys;
    keys.reserve(size_t(count));
    std::vector<quint32> others;
    size_t common = 0; // the length of the start all ASCII texts share
    View first;
    for (qsizetype i = 0; i < count; ++i) {
        const View text = textAt(i);
        if (!isAsciiText(text)) {
            others.push_back(quint32(i));
            continue;
        }
        if (keys.empty()) {
            first = text;
            common = size_t(text.size());
        }
        common = std::min(common, size_t(text.size()));
        for (size_t k = 0; k < common; ++k) {
            if (foldedUnit(unitAt(text, k), fold) != foldedUnit(unitAt(first, k), fold))
                common = k;
        }
        keys.push_back({0, quint32(i), quint32(text.size())});
    }
    for (SortKey &key : keys) {
        const View text = textAt(key.text);
        for (size_t k = common; k < common + 8; ++k)
            key.head = key.head << 8 | (k < key.size ? foldedUnit(unitAt(text, k), fold) : 0);
    }
    const size_t from = common + 8;
    const int sign = direction == Qt::DescendingOrder ? -1 : 1;
    const auto tail = [&](const SortKey &a, const SortKey &b) {
        const View left = textAt(a.text);
        const View right = textAt(b.text);
        for (size_t k = from; k < std::min(a.size, b.size); ++k) {
            const char16_t l = foldedUnit(unitAt(left, k), fold);
            const char16_t r = foldedUnit(unitAt(right, k), fold);
            if (l != r)
                return sign * (l < r ? -1 : 1);
        }
        return sign * (int(a.size) - int(b.size));
    };
    const auto before = [&](quint32 a, quint32 b, int order) {
        return order != 0 ? order < 0 : a < b;
    };
    sortByHead(keys, direction);
    // Heads that tie are few and short runs: those are ordered by the whole texts.
    for (auto run = keys.begin(); run != keys.end();) {
        const auto end = std::find_if(run, keys.end(),
                                      [&](const SortKey &key) { return key.head != run->head; });
        if (end - run > 1)
            std::sort(run, end, [&](const SortKey &a, const SortKey &b) {
                return before(a.text, b.text, tail(a, b));
            });
        run = end;
    }
    const auto slowBefore = [&](quint32 a, quint32 b) { return before(a, b, sign * slow(a, b)); };
    std::sort(others.begin(), others.end(), slowBefore);
    std::vector<quint32> order;
    order.reserve(size_t(count));
    auto next = keys.cbegin();
    for (const quint32 other : others) {
        const auto place = std::partition_point(
            next, keys.cend(), [&](const SortKey &key) { return slowBefore(key.text, other); });
        for (; next != place; ++next)
            order.push_back(next->text);
        order.push_back(other);
    }
    for (; next != keys.cend(); ++next)
        order.push_back(next->text);
    return order;
}
} // namespace

std::vector<quint32> cTextOrder::order(qsizetype count,
                                       const std::function<const QString &(qsizetype)> &text,
                                       Fold fold, Qt::SortOrder direction)
{
    return sortTexts<QStringView>(
        count, [&](qsizetype i) { return QStringView(text(i)); }, fold, direction,
        [&](quint32 a, quint32 b) { return compareFolded(text(a), text(b), fold); });
}

std::vector<quint32> cTextOrder::orderUtf8(qsizetype count,
                                           const std::function<QByteArrayView(qsizetype)> &utf8,
                                           Fold fold)
{
    // Texts beyond ASCII are few: each is decoded once, for all its comparisons.
    QHash<quint32, QString> decoded;
    const auto text = [&](quint32 i) {
        const QByteArrayView bytes = utf8(i);
        if (cCodePage::isAscii(bytes))
            return QString::fromLatin1(bytes);
        auto found = decoded.find(i);
        if (found == decoded.end())
            found = decoded.insert(i, QString::fromUtf8(bytes));
        return *found;
    };
    return sortTexts<QByteArrayView>(
        count, utf8, fold, Qt::AscendingOrder,
        [&](quint32 a, quint32 b) { return compareFolded(text(a), text(b), fold); });
}
