#include "app/cImageFinder.h"

#include "common/cCodePage.h"
#include "common/cProgress.h"
#include "common/cTextOrder.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace {
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

cImageFinder::Found cImageFinder::find(const QString &folder, bool gif, bool jpg,
                                       cProgress *progress, const QStringList &further)
{
    Found found;
    const Endings endings(gif, jpg, further);
    std::vector<QStringList> names(size_t(endings.count()));
    qsizetype listed = 0;
    const auto add = [&names, &listed](qsizetype type, const QString &name) {
        names[size_t(type)].append(name);
        ++listed;
    };
    if (endings.any()) {
#ifdef Q_OS_UNIX
        // The system's own listing: it shows the names Qt cannot decode, which would otherwise
        // vanish without a word, and tells plain files without asking for each one.
        const QByteArray path = QFile::encodeName(folder);
        if (DIR *dir = ::opendir(path.constData())) {
            while (const dirent *entry = ::readdir(dir)) {
                const QByteArrayView name(entry->d_name);
                const qsizetype type = endings.of(name);
                if (type < 0 || name.startsWith('.'))
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
                    add(type, cCodePage::decode(name, cCodePage::Utf8));
                if (progress && !progress->step(listed))
                    break;
            }
            ::closedir(dir);
        }
#else
        QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const qsizetype type = endings.of(QFile::encodeName(it.fileName()));
            if (type >= 0)
                add(type, it.fileName());
            if (progress && !progress->step(listed))
                break;
        }
#endif
    }
    found.pictures.reserve(listed);
    for (size_t type = 0; type < names.size(); ++type) {
        QStringList &typed = names[type];
        const QString shown = type == 0   ? QStringLiteral("GIF")
                              : type == 1 ? QStringLiteral("JPG")
                                          : further.at(qsizetype(type) - 2);
        // In name order, as the file system the program was made for lists a folder.
        const std::vector<quint32> order = cTextOrder::order(
            typed.size(), [&typed](qsizetype i) -> const QString & { return typed.at(i); },
            cTextOrder::Fold::Upper);
        for (const quint32 i : order)
            found.pictures.append({folder, std::move(typed[i]), shown});
    }
    return found;
}
