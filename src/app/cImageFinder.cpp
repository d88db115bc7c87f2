#include "app/cImageFinder.h"

#include "common/cCodePage.h"
#include "common/cProgress.h"
#include "common/cTextOrder.h"

#include <QDirIterator>
#include <QFile>
#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {
enum class Kind { None, Gif, Jpg };

bool endsWithNoCase(QByteArrayView name, QByteArrayView suffix)
{
    return name.size() > suffix.size() &&
           name.last(suffix.size()).compare(suffix, Qt::CaseInsensitive) == 0;
}

// The JPG pattern also takes ".jpeg", as the old pattern matching listed such files.
Kind kindOf(QByteArrayView name, bool gif, bool jpg)
{
    if (gif && endsWithNoCase(name, ".gif"))
        return Kind::Gif;
    if (jpg && (endsWithNoCase(name, ".jpg") || endsWithNoCase(name, ".jpeg")))
        return Kind::Jpg;
    return Kind::None;
}

} // namespace

cImageFinder::Found cImageFinder::find(const QString &folder, bool gif, bool jpg,
                                       cProgress *progress)
{
    Found found;
    QStringList gifs;
    QStringList jpgs;
    const auto add = [&gifs, &jpgs](Kind kind, const QString &name) {
        (kind == Kind::Gif ? gifs : jpgs).append(name);
    };
    const auto listed = [&gifs, &jpgs] { return gifs.size() + jpgs.size(); };
    if (gif || jpg) {
#ifdef Q_OS_UNIX
        // The system's own listing: it shows the names Qt cannot decode, which would otherwise
        // vanish without a word, and tells plain files without asking for each one.
        const QByteArray path = QFile::encodeName(folder);
        if (DIR *dir = ::opendir(path.constData())) {
            while (const dirent *entry = ::readdir(dir)) {
                const QByteArrayView name(entry->d_name);
                const Kind kind = kindOf(name, gif, jpg);
                if (kind == Kind::None || name.startsWith('.'))
                    continue;
                struct stat status;
                // Links are followed; FIFOs, sockets, devices and broken links are left out.
                if (entry->d_type != DT_REG &&
                    (::fstatat(::dirfd(dir), entry->d_name, &status, 0) != 0 ||
                     !S_ISREG(status.st_mode)))
                    continue;
                if (!name.isValidUtf8())
                    ++found.unreadable;
                else
                    add(kind, cCodePage::decode(name, cCodePage::Utf8));
                if (progress && !progress->step(listed()))
                    break;
            }
            ::closedir(dir);
        }
#else
        QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const Kind kind = kindOf(QFile::encodeName(it.fileName()), gif, jpg);
            if (kind != Kind::None)
                add(kind, it.fileName());
            if (progress && !progress->step(listed()))
                break;
        }
#endif
    }
    found.pictures.reserve(listed());
    // In name order, as the file system the program was made for lists a folder.
    const auto take = [&found, &folder](QStringList &names, const QString &type) {
        const std::vector<quint32> order = cTextOrder::order(
            names.size(), [&names](qsizetype i) -> const QString & { return names.at(i); },
            cTextOrder::Fold::Upper);
        for (const quint32 i : order)
            found.pictures.append({folder, std::move(names[i]), type});
    };
    take(gifs, QStringLiteral("GIF"));
    take(jpgs, QStringLiteral("JPG"));
    return found;
}
