#include "app/cImageFinder.h"

#include "common/cCodePage.h"
#include "common/cProgress.h"
#include "common/cTextOrder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtConcurrent>
#include <algorithm>
#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {
constexpr size_t prefetchDistance = 8;

bool endsWithNoCase(QByteArrayView name, QByteArrayView suffix)
{
    return name.size() > suffix.size() &&
           name.last(suffix.size()).compare(suffix, Qt::CaseInsensitive) == 0;
}

// The types asked for, as file name endings: GIF, JPG, then the further ones.
class Endings
{
public:
    Endings(bool gif, bool jpg, const QStringList &further) : m_gif(gif), m_jpg(jpg)
    {
        for (const QString &type : further)
            m_further.append("." + type.toLatin1());
    }
    bool any() const { return m_gif || m_jpg || !m_further.isEmpty(); }
    qsizetype count() const { return 2 + m_further.size(); }
    // The type's place, or -1. The JPG pattern also takes ".jpeg", as the old pattern matching
    // listed such files.
    qsizetype of(QByteArrayView name) const
    {
        if (m_gif && endsWithNoCase(name, ".gif"))
            return 0;
        if (m_jpg && (endsWithNoCase(name, ".jpg") || endsWithNoCase(name, ".jpeg")))
            return 1;
        for (qsizetype i = 0; i < m_further.size(); ++i) {
            if (endsWithNoCase(name, m_further.at(i)))
                return 2 + i;
        }
        return -1;
    }

private:
    bool m_gif;
    bool m_jpg;
    QByteArrayList m_further;
};
} // namespace

QStringList cImageFinder::furtherTypes(const QString &setting)
{
    QStringList types;
    for (QString type :
         setting.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
        type = type.remove(QLatin1Char('.')).toUpper();
        const bool boxed = type == QLatin1String("GIF") || type == QLatin1String("JPG") ||
                           type == QLatin1String("JPEG");
        const bool plain = std::all_of(type.cbegin(), type.cend(), [](QChar c) {
            return c.isLetterOrNumber() && c.unicode() < 0x80;
        });
        if (!type.isEmpty() && plain && !boxed && !types.contains(type))
            types.append(type);
    }
    return types;
}

namespace {
// Names as the system gives them, in UTF-8, end to end: a million take one block, not a million.
class Names
{
public:
    void append(QByteArrayView name)
    {
        m_starts.push_back(quint32(m_bytes.size()));
        m_bytes.insert(m_bytes.end(), name.begin(), name.end());
    }
    qsizetype size() const { return qsizetype(m_starts.size()); }
    QByteArrayView at(qsizetype i) const
    {
        const size_t start = m_starts[size_t(i)];
        const size_t end =
            size_t(i) + 1 < m_starts.size() ? m_starts[size_t(i) + 1] : m_bytes.size();
        return QByteArrayView(m_bytes.data() + start, qsizetype(end - start));
    }

private:
    std::vector<char> m_bytes;
    std::vector<quint32> m_starts;
};

// One folder's pictures, by type, and its subfolders, as the system lists them.
struct Listing
{
    std::vector<Names> names;
    QStringList folders;
    int unreadable = 0;
};

// False when the progress stopped the listing; what was listed stays.
bool listFolder(const QString &folder, const Endings &endings, bool subfolders, Listing &listing,
                cProgress *progress, qsizetype &listed)
{
    listing.names.assign(size_t(endings.count()), Names());
#ifdef Q_OS_UNIX
    // The system's own listing: it shows the names Qt cannot decode, which would otherwise
    // vanish without a word, and tells plain files without asking for each one.
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return true;
    bool going = true;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        const qsizetype type = endings.of(name);
        const bool mayBeFolder =
            subfolders &&
            (entry->d_type == DT_DIR || entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN);
        if (type < 0 && !mayBeFolder)
            continue;
        struct stat status;
        // Links are followed; FIFOs, sockets, devices and broken links are left out.
        const bool known = entry->d_type == DT_REG || entry->d_type == DT_DIR;
        if (!known && ::fstatat(::dirfd(dir), entry->d_name, &status, 0) != 0)
            continue;
        const bool file = known ? entry->d_type == DT_REG : S_ISREG(status.st_mode);
        const bool isFolder = known ? entry->d_type == DT_DIR : S_ISDIR(status.st_mode);
        if (!name.isValidUtf8()) {
            listing.unreadable += file && type >= 0;
            continue;
        }
        if (isFolder && subfolders)
            listing.folders.append(cCodePage::decode(name, cCodePage::Utf8));
        if (!file || type < 0)
            continue;
        listing.names[size_t(type)].append(name);
        if (progress && !progress->step(++listed)) {
            going = false;
            break;
        }
    }
    ::closedir(dir);
    return going;
#else
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir()) {
            if (subfolders && !it.fileName().startsWith(QLatin1Char('.')))
                listing.folders.append(it.fileName());
            continue;
        }
        const qsizetype type = endings.of(QFile::encodeName(it.fileName()));
        if (type >= 0)
            listing.names[size_t(type)].append(it.fileName().toUtf8());
        if (progress && !progress->step(++listed))
            return false;
    }
    return true;
#endif
}

// In name order, as the file system the program was made for lists a folder.
std::vector<quint32> nameOrder(const Names &names)
{
    return cTextOrder::orderUtf8(
        names.size(), [&names](qsizetype i) { return names.at(i); }, cTextOrder::Fold::Upper);
}

std::vector<quint32> nameOrder(const QStringList &names)
{
    return cTextOrder::order(
        names.size(), [&names](qsizetype i) -> const QString & { return names.at(i); },
        cTextOrder::Fold::Upper);
}
} // namespace

cImageFinder::Found cImageFinder::find(const QString &folder, const Request &request,
                                       cProgress *progress)
{
    Found found;
    const Endings endings(request.gif, request.jpg, request.further);
    if (!endings.any())
        return found;
    // The folders still to list, and those met already: a link back up is not followed twice.
    QStringList waiting = {folder};
    const QString root = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    QSet<QString> met = {root};
    for (const QString &skipped : request.skipped)
        met.insert(QFileInfo(skipped).canonicalFilePath() + QLatin1Char('/'));
    qsizetype listed = 0;
    Listing listing;
    while (!waiting.isEmpty()) {
        const QString here = waiting.takeFirst();
        const bool going = listFolder(here, endings, request.subfolders, listing, progress, listed);
        found.unreadable += listing.unreadable;
        listing.unreadable = 0;
        qsizetype total = found.pictures.size();
        for (const Names &typed : listing.names)
            total += typed.size();
        found.pictures.reserve(total);
        // The types are sorted at once, one a core.
        const std::vector<std::vector<quint32>> orders =
            QtConcurrent::blockingMapped<std::vector<std::vector<quint32>>>(
                listing.names, [](const Names &typed) { return nameOrder(typed); });
        for (size_t type = 0; type < listing.names.size(); ++type) {
            const Names &typed = listing.names[type];
            const std::vector<quint32> &order = orders[type];
            const QString shown = type == 0   ? QStringLiteral("GIF")
                                  : type == 1 ? QStringLiteral("JPG")
                                              : request.further.at(qsizetype(type) - 2);
            // Each name made in its new order, so that the rows that read them later read memory
            // in order; the names a few steps on are fetched meanwhile, as they lie anywhere.
            for (size_t k = 0; k < order.size(); ++k) {
                if (k + prefetchDistance < order.size())
                    __builtin_prefetch(typed.at(order[k + prefetchDistance]).data());
                found.pictures.append(
                    {here, cCodePage::decode(typed.at(order[k]), cCodePage::Utf8), shown});
            }
        }
        listing.names.clear();
        if (!going)
            break;
        // Subfolders next, each in name order and its own subfolders before the next; none
        // whose real place lies outside the input folder.
        QStringList inside;
        for (const quint32 i : nameOrder(listing.folders)) {
            const QString path = here + listing.folders.at(i) + QDir::separator();
            const QString real = QFileInfo(path).canonicalFilePath() + QLatin1Char('/');
            if (real.size() > 1 && real.startsWith(root) && !met.contains(real)) {
                met.insert(real);
                inside.append(path);
            }
        }
        listing.folders.clear();
        waiting = inside + waiting;
    }
    return found;
}
