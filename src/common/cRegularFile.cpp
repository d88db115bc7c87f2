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
cError notRegular()
{
    return cError(cError::BadFileMode, QStringLiteral("Not a regular file"));
}
} // namespace

cError cRegularFile::open(QFile &file, const QString &path, Links links)
{
    return openAs(file, path, links, QIODevice::ReadOnly);
}

cError cRegularFile::append(QFile &file, const QString &path)
{
    return openAs(file, path, OwnFileOnly, QIODevice::WriteOnly | QIODevice::Append);
}

cError cRegularFile::openAs(QFile &file, const QString &path, Links links, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    // Not blocking, so opening a FIFO returns at once and fstat can tell what it is.
    const int access = mode & QIODevice::Append ? O_WRONLY | O_APPEND | O_CREAT : O_RDONLY;
    const int flags = access | O_NONBLOCK | O_CLOEXEC | (links == OwnFileOnly ? O_NOFOLLOW : 0);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP && links == OwnFileOnly)
            return notRegular();
        return cError(error == ENOENT || error == ENOTDIR ? cError::FileNotFound
                                                          : cError::PathFileAccess,
                      QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return cError(cError::PathFileAccess, file.errorString());
    }
    return cError();
#else
    const QFileInfo info(path);
    if (links == OwnFileOnly && info.isSymLink())
        return notRegular();
    if (!(mode & QIODevice::Append) && !info.exists())
        return cError(cError::FileNotFound, QStringLiteral("No such file or directory"));
    if (info.exists() && !info.isFile())
        return notRegular();
    file.setFileName(path);
    if (!file.open(mode))
        return cError(cError::PathFileAccess, file.errorString());
    return cError();
#endif
}
