#include "cImageFinder.h"

#include "cCodePage.h"
#include "cProgress.h"

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

class Gathered
{
public:
    explicit Gathered(const QString &folder) : m_folder(folder) {}
    void add(Kind kind, const QString &name)
    {
        if (kind == Kind::Gif)
            m_gifs.append({name, m_gifType, m_folder});
        else
            m_jpgs.append({name, m_jpgType, m_folder});
    }
    qint64 count() const { return m_gifs.size() + m_jpgs.size(); }
    QList<cImageList::Item> items()
    {
        m_gifs.append(m_jpgs);
        return m_gifs;
    }

private:
    const QString m_folder;
    const QString m_gifType = QStringLiteral("GIF");
    const QString m_jpgType = QStringLiteral("JPG");
    QList<cImageList::Item> m_gifs;
    QList<cImageList::Item> m_jpgs;
};
} // namespace

QList<cImageList::Item> cImageFinder::find(const QString &folder, bool gif, bool jpg,
                                           int *unreadable, cProgress *progress)
{
    Gathered gathered(folder);
    int undecodable = 0;
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
                    ++undecodable;
                else
                    gathered.add(kind, cCodePage::decode(name, cCodePage::Utf8));
                if (progress && !progress->step(gathered.count()))
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
                gathered.add(kind, it.fileName());
            if (progress && !progress->step(gathered.count()))
                break;
        }
#endif
    }
    if (unreadable)
        *unreadable = undecodable;
    return gathered.items();
}
