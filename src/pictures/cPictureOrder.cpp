#include "pictures/cPictureOrder.h"

#include "common/cTextOrder.h"

#include <algorithm>
#include <limits>

namespace {
// Wider than any number a camera counts to; a longer run keeps its own width.
constexpr qsizetype numberWidth = 20;
} // namespace

QString cPictureOrder::numberedKey(const QString &name)
{
    const auto digit = [&name](qsizetype at) {
        return at < name.size() && name.at(at) >= QLatin1Char('0') &&
               name.at(at) <= QLatin1Char('9');
    };
    QString key;
    key.reserve(name.size() + numberWidth);
    for (qsizetype at = 0; at < name.size();) {
        if (!digit(at)) {
            key.append(name.at(at++));
            continue;
        }
        qsizetype end = at;
        while (digit(end))
            ++end;
        // Leading zeros count for nothing: "photo 02" and "photo 2" stand together.
        while (at + 1 < end && name.at(at) == QLatin1Char('0'))
            ++at;
        key.append(QString(std::max<qsizetype>(0, numberWidth - (end - at)), QLatin1Char('0')));
        key.append(QStringView(name).mid(at, end - at));
        at = end;
    }
    return key;
}

void cPictureOrder::arrange(QList<cPicture> &pictures, int order)
{
    if (order != Names && order != Taken)
        return;
    QStringList keys;
    keys.reserve(pictures.size());
    for (const cPicture &picture : std::as_const(pictures))
        keys.append(numberedKey(picture.path()));
    std::vector<quint32> positions = cTextOrder::order(
        keys.size(), [&keys](qsizetype i) -> const QString & { return keys.at(i); },
        cTextOrder::Fold::Upper);
    keys.clear();
    if (order == Taken) {
        // Pictures of unknown time go last.
        std::vector<qint64> times;
        times.reserve(size_t(pictures.size()));
        for (const cPicture &picture : std::as_const(pictures))
            times.push_back(picture.taken().isValid() ? picture.taken().toMSecsSinceEpoch()
                                                      : std::numeric_limits<qint64>::max());
        std::stable_sort(positions.begin(), positions.end(),
                         [&times](quint32 a, quint32 b) { return times[a] < times[b]; });
    }
    QList<cPicture> arranged;
    arranged.reserve(pictures.size());
    for (const quint32 i : positions)
        arranged.append(std::move(pictures[i]));
    pictures = std::move(arranged);
}
