#include "common/cFolderLock.h"

#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

cFolderLock::cFolderLock(const QString &folder)
    : m_folder(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

cFolderLock::~cFolderLock()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

bool cFolderLock::take(const std::function<bool()> &stillWaiting)
{
    if (m_folder < 0)
        return true;
    while (::flock(m_folder, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true;
        if (!stillWaiting())
            return false;
        QThread::msleep(50);
    }
    return true;
}
