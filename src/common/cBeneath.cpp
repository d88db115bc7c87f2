#include "common/cBeneath.h"

#include <QFile>
#include <QStringList>
#include <fcntl.h>
#include <unistd.h>

cBeneath::cBeneath(const QString &folder)
    : m_folder(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

cBeneath::~cBeneath()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

int cBeneath::folderOf(const QStringList &parts) const
{
    int folder = ::dup(m_folder);
    for (qsizetype i = 0; folder >= 0 && i + 1 < parts.size(); ++i) {
        const int inside = ::openat(folder, QFile::encodeName(parts.at(i)).constData(),
                                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(folder);
        folder = inside;
    }
    return folder;
}

bool cBeneath::remove(const QString &below,
                      const std::function<bool(int, const struct stat &)> &accepted) const
{
    const QStringList parts = below.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!isOpen() || parts.isEmpty() || parts.contains(QLatin1String(".")) ||
        parts.contains(QLatin1String("..")))
        return false;
    const int folder = folderOf(parts);
    if (folder < 0)
        return false;
    const QByteArray name = QFile::encodeName(parts.last());
    bool removed = false;
    // Not blocking on a FIFO planted there; a link is not opened at all.
    const int file =
        ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (file >= 0 && ::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
        accepted(file, status))
        removed = ::unlinkat(folder, name.constData(), 0) == 0;
    if (file >= 0)
        ::close(file);
    ::close(folder);
    return removed;
}
