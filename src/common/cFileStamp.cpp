#include "common/cFileStamp.h"

#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

cFileStamp cFileStamp::of(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    const auto ms = [](const timespec &time) {
        return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1'000'000;
    };
    return {qint64(status.st_size), ms(status.st_mtim), ms(status.st_ctim)};
#else
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    return {file.size(), file.lastModified().toMSecsSinceEpoch(),
            file.metadataChangeTime().toMSecsSinceEpoch()};
#endif
}

QString cFileStamp::text() const
{
    return QStringLiteral("%1 %2").arg(size).arg(modified);
}
