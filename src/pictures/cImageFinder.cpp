#include "pictures/cImageFinder.h"

#include "common/cCodePage.h"
#include "common/cError.h"
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
#ifdef Q_OS_LINUX
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

namespace {
constexpr size_t prefetchDistance = 8;
constexpr size_t pieceSize = 1 << 16;

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
    void prefetchStart(qsizetype i) const { __builtin_prefetch(&m_starts[size_t(i)]); }
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
// What tells one folder from every other, whatever the path to it.
using FolderId = std::pair<quint64, quint64>;

struct Listing
{
    std::vector<Names> names;
    QStringList folders;
    std::vector<FolderId> ids; // of each folder
    std::vector<bool> links;   // each folder a link, or maybe one: where it leads is checked
    int unreadable = 0;
};

#ifdef Q_OS_LINUX
// A folder's entries as the system gives them, in blocks read on a thread of their own: in a large
// folder the system's reading takes most of the time, and goes on while the entries read before
// are sorted out. A folder of one block is read at once: a thread would cost more than its reading,
// a hundred thousand times over in a tree of many folders.
class EntryBlocks
{
public:
    explicit EntryBlocks(int folder)
    {
        std::vector<char> block(blockSize);
        const ssize_t read = ::getdents64(folder, block.data(), block.size());
        if (read < 0)
            m_failure = errno;
        if (read > 0) {
            block.resize(size_t(read));
            m_full.push_back(std::move(block));
            m_made = 1;
        }
        if (read > 0 && size_t(read) > blockSize / 2) {
            m_reader = std::thread([this, folder] { readAll(folder); });
            return;
        }
        // The end follows at once, but for a file system that gives short blocks.
        for (ssize_t more = read; more > 0;) {
            block.assign(blockSize, 0);
            more = ::getdents64(folder, block.data(), block.size());
            if (more < 0)
                m_failure = errno;
            if (more > 0) {
                block.resize(size_t(more));
                m_full.push_back(std::move(block));
            }
        }
        m_done = true;
    }
    // The system's error number when a read failed, else 0: the blocks before it are not the
    // whole folder.
    int failure() const
    {
        const std::lock_guard lock(m_mutex);
        return m_failure;
    }
    ~EntryBlocks()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        if (m_reader.joinable())
            m_reader.join();
    }
    // The next block of entries, empty at the end; the one before goes back to be read into.
    const std::vector<char> &next()
    {
        std::unique_lock lock(m_mutex);
        if (!m_current.empty())
            m_free.push_back(std::move(m_current));
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
        m_current.clear();
        if (!m_full.empty()) {
            m_current = std::move(m_full.front());
            m_full.pop_front();
        }
        return m_current;
    }

private:
    static constexpr size_t blockSize = 256 * 1024;
    static constexpr int blockCount = 4;

    void readAll(int folder)
    {
        for (;;) {
            std::vector<char> block;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(
                    lock, [this] { return m_stopped || !m_free.empty() || m_made < blockCount; });
                if (m_stopped)
                    break;
                if (m_free.empty())
                    ++m_made;
                else
                    block = std::move(m_free.back()), m_free.pop_back();
            }
            block.resize(blockSize);
            const ssize_t read = ::getdents64(folder, block.data(), block.size());
            if (read < 0) {
                const std::lock_guard lock(m_mutex);
                m_failure = errno;
            }
            if (read <= 0)
                break;
            block.resize(size_t(read));
            const std::lock_guard lock(m_mutex);
            m_full.push_back(std::move(block));
            m_changed.notify_all();
        }
        const std::lock_guard lock(m_mutex);
        m_done = true;
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_failure = 0;
    std::deque<std::vector<char>> m_full;
    std::vector<std::vector<char>> m_free;
    std::vector<char> m_current;
    int m_made = 0;
    bool m_stopped = false;
    bool m_done = false;
    std::thread m_reader; // only for a folder of more than a block
};
#endif

#ifdef Q_OS_LINUX
// A folder's descriptor, closed however the listing ends.
class FolderDescriptor
{
public:
    explicit FolderDescriptor(const QString &folder)
        : m_descriptor(
              ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
    }
    ~FolderDescriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    FolderDescriptor(const FolderDescriptor &) = delete;
    FolderDescriptor &operator=(const FolderDescriptor &) = delete;
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

cError unreadableFolder(const QString &folder, int number)
{
    return cError(cError::PathFileAccess, QStringLiteral("The folder could not be read: ") +
                                              QDir::toNativeSeparators(folder) +
                                              QStringLiteral(": ") +
                                              QString::fromLocal8Bit(std::strerror(number)));
}
#endif

// False when the progress stopped the listing; what was listed stays. Throws cError when the
// folder is there but could not be read whole.
bool listFolder(const QString &folder, const Endings &endings, bool subfolders, Listing &listing,
                cProgress *progress, qsizetype &listed)
{
    listing.names.assign(size_t(endings.count()), Names());
#ifdef Q_OS_LINUX
    // The system's own listing: it shows the names Qt cannot decode, which would otherwise
    // vanish without a word, and tells plain files without asking for each one.
    const FolderDescriptor descriptor(folder);
    const int dir = descriptor.get();
    // A folder that is not there lists nothing, as ever; one that cannot be opened is an error.
    if (dir < 0 && errno != ENOENT && errno != ENOTDIR)
        throw unreadableFolder(folder, errno);
    if (dir < 0)
        return true;
    // False when the progress stops the listing.
    const auto take = [&](const dirent64 &entry) {
        const QByteArrayView name(entry.d_name);
        if (name.startsWith('.'))
            return true;
        const qsizetype type = endings.of(name);
        const bool mayBeFolder = subfolders && (entry.d_type == DT_DIR || entry.d_type == DT_LNK ||
                                                entry.d_type == DT_UNKNOWN);
        if (type < 0 && !mayBeFolder)
            return true;
        struct stat status;
        // Links are followed; FIFOs, sockets, devices and broken links are left out.
        const bool known = entry.d_type == DT_REG || entry.d_type == DT_DIR;
        if (!known && ::fstatat(dir, entry.d_name, &status, 0) != 0)
            return true;
        const bool file = known ? entry.d_type == DT_REG : S_ISREG(status.st_mode);
        const bool isFolder = known ? entry.d_type == DT_DIR : S_ISDIR(status.st_mode);
        if (!cCodePage::isAscii(name) && !name.isValidUtf8()) {
            listing.unreadable += file && type >= 0;
            return true;
        }
        if (isFolder && subfolders) {
            // A plain folder's own status: no more than one look at each.
            if (known && ::fstatat(dir, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
                return true;
            listing.folders.append(cCodePage::decode(name, cCodePage::Utf8));
            listing.ids.emplace_back(quint64(status.st_dev), quint64(status.st_ino));
            listing.links.push_back(!known);
        }
        if (!file || type < 0)
            return true;
        listing.names[size_t(type)].append(name);
        return !progress || progress->step(++listed);
    };
    bool going = true;
    EntryBlocks blocks(dir);
    for (const std::vector<char> *block = &blocks.next(); going && !block->empty();
         block = &blocks.next()) {
        for (size_t at = 0; going && at < block->size();) {
            const auto *entry = reinterpret_cast<const dirent64 *>(block->data() + at);
            at += entry->d_reclen;
            going = take(*entry);
        }
    }
    if (going && blocks.failure() != 0)
        throw unreadableFolder(folder, blocks.failure());
    return going;
#else
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isDir()) {
            if (subfolders && !it.fileName().startsWith(QLatin1Char('.'))) {
                listing.folders.append(it.fileName());
                listing.ids.emplace_back(0, qHash(it.fileInfo().canonicalFilePath()));
                listing.links.push_back(true);
            }
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

// Makes the pictures of one folder's listing, type by type, each type in the order given, after
// those already found. Each name is made in its new order, so that the rows that read them later
// read memory in order; the work goes in pieces of consecutive names, one a core at a time.
void makeInOrder(const QString &folder, const Listing &listing,
                 const std::vector<std::vector<quint32>> &orders, const QStringList &further,
                 QList<cPicture> &pictures)
{
    struct Piece
    {
        size_t type;
        size_t from;
        size_t to;
        cPicture *into;
    };
    qsizetype total = 0;
    for (const std::vector<quint32> &order : orders)
        total += qsizetype(order.size());
    pictures.resize(pictures.size() + total);
    cPicture *into = pictures.data() + pictures.size() - total;
    std::vector<Piece> pieces;
    for (size_t type = 0; type < orders.size(); ++type) {
        const size_t size = orders[type].size();
        for (size_t from = 0; from < size; from += pieceSize)
            pieces.push_back({type, from, std::min(from + pieceSize, size), into + from});
        into += size;
    }
    QtConcurrent::blockingMap(pieces, [&](const Piece &piece) {
        // Copies of their own, so that the cores do not share one count of the texts' users.
        const QString here(folder.constData(), folder.size());
        const QString shown = piece.type == 0   ? QStringLiteral("GIF")
                              : piece.type == 1 ? QStringLiteral("JPG")
                                                : further.at(qsizetype(piece.type) - 2);
        const QString type(shown.constData(), shown.size());
        const Names &typed = listing.names[piece.type];
        const std::vector<quint32> &order = orders[piece.type];
        // The names a few steps on are fetched meanwhile, as they lie anywhere.
        for (size_t k = piece.from; k < piece.to; ++k) {
            if (k + 2 * prefetchDistance < piece.to)
                typed.prefetchStart(order[k + 2 * prefetchDistance]);
            if (k + prefetchDistance < piece.to)
                __builtin_prefetch(typed.at(order[k + prefetchDistance]).data());
            piece.into[k - piece.from] = {
                here, cCodePage::decode(typed.at(order[k]), cCodePage::Utf8), type};
        }
    });
}
} // namespace

namespace {
std::optional<FolderId> idOf(const QString &folder)
{
#ifdef Q_OS_LINUX
    struct stat status;
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return FolderId(quint64(status.st_dev), quint64(status.st_ino));
#else
    const QFileInfo info(folder);
    if (!info.isDir())
        return std::nullopt;
    return FolderId(0, qHash(info.canonicalFilePath()));
#endif
}
} // namespace

cImageFinder::Found cImageFinder::find(const QString &folder, const Request &request,
                                       cProgress *progress)
{
    Found found;
    const Endings endings(request.gif, request.jpg, request.further);
    if (!endings.any())
        return found;
    // The folders still to list, the next one last, and those met already: a link back up is
    // not followed twice.
    struct Waiting
    {
        QString path;
        int depth;
    };
    std::vector<Waiting> waiting = {{folder, 0}};
    const QString root = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    std::set<FolderId> met;
    for (const QString &known : QStringList{folder} + request.skipped) {
        if (const std::optional<FolderId> id = idOf(known))
            met.insert(*id);
    }
    qsizetype listed = 0;
    Listing listing;
    while (!waiting.empty()) {
        const Waiting here = std::move(waiting.back());
        waiting.pop_back();
        bool going = true;
        try {
            going = listFolder(here.path, endings, request.subfolders, listing, progress, listed);
        } catch (const cError &error) {
            found.problem = error;
            going = false;
        }
        found.unreadable += listing.unreadable;
        listing.unreadable = 0;
        // The types are sorted at once, one a core; a folder of folders alone needs no cores.
        const bool pictures = std::any_of(listing.names.cbegin(), listing.names.cend(),
                                          [](const Names &typed) { return typed.size() > 0; });
        if (pictures) {
            const std::vector<std::vector<quint32>> orders =
                QtConcurrent::blockingMapped<std::vector<std::vector<quint32>>>(
                    listing.names, [](const Names &typed) { return nameOrder(typed); });
            makeInOrder(here.path, listing, orders, request.further, found.pictures);
        }
        listing.names.clear();
        if (!going)
            break;
        // Subfolders next, each in name order and its own subfolders before the next; none
        // whose real place lies outside the input folder. Only where a link leads is worked out.
        std::vector<Waiting> inside;
        for (const quint32 i : nameOrder(listing.folders)) {
            const QString path = here.path + listing.folders.at(i) + QDir::separator();
            if (met.count(listing.ids[i]) > 0)
                continue;
            if (listing.links[i]) {
                const QString real = QFileInfo(path).canonicalFilePath() + QLatin1Char('/');
                if (real.size() <= 1 || !real.startsWith(root))
                    continue;
            }
            met.insert(listing.ids[i]);
            if (here.depth >= maxDepth)
                ++found.tooDeep;
            else
                inside.push_back({path, here.depth + 1});
        }
        listing.folders.clear();
        listing.ids.clear();
        listing.links.clear();
        waiting.insert(waiting.end(), std::make_move_iterator(inside.rbegin()),
                       std::make_move_iterator(inside.rend()));
    }
    return found;
}
