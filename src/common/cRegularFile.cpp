#include "common/cRegularFile.h"

#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
cRegularFile::Outcome fail(cRegularFile::Outcome outcome, const QString &why, QString *reason)
{
    if (reason)
        *reason = why;
    return outcome;
}

const QString notRegular = QStringLiteral("Not a regular file");
} // namespace

cRegularFile::Outcome cRegularFile::open(QFile &file, const QString &path, QString *reason,
                                         Links links)
{
    return openAs(file, path, reason, links, QIODevice::ReadOnly);
}

cRegularFile::Outcome cRegularFile::append(QFile &file, const QString &path, QString *reason)
{
    return openAs(file, path, reason, OwnFileOnly, QIODevice::WriteOnly | QIODevice::Append);
}

cRegularFile::Outcome cRegularFile::openAs(QFile &file, const QString &path, QString *reason,
                                           Links links, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    // Not blocking, so opening a FIFO returns at once and fstat can tell what it is.
    const int access = mode & QIODevice::Append ? O_WRONLY | O_APPEND | O_CREAT : O_RDONLY;
    const int flags = access | O_NONBLOCK | O_CLOEXEC | (links == OwnFileOnly ? O_NOFOLLOW : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP && links == OwnFileOnly)
            return fail(NotRegular, notRegular, reason);
        return fail(error == ENOENT || error == ENOTDIR ? Missing : Refused,
                    QString::fromLocal8Bit(std::strerror(error)), reason);
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(NotRegular, notRegular, reason);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(Refused, file.errorString(), reason);
    }
    return Opened;
#else
    const QFileInfo info(path);
    if (links == OwnFileOnly && info.isSymLink())
        return fail(NotRegular, notRegular, reason);
    if (!(mode & QIODevice::Append) && !info.exists())
        return fail(Missing, QStringLiteral("No such file or directory"), reason);
    if (info.exists() && !info.isFile())
        return fail(NotRegular, notRegular, reason);
    file.setFileName(path);
    if (!file.open(mode))
        return fail(Refused, file.errorString(), reason);
    return Opened;
#endif
}
