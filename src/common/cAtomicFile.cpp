#include "common/cAtomicFile.h"

#include <QDir>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
QString writtenPath(const QString &path, cAtomicFile::Links links)
{
    if (links == cAtomicFile::ReplaceLink)
        return QFileInfo(path).absoluteFilePath();
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

// A file replaced keeps its permissions; anything else that stood there lends none.
QFile::Permissions keptPermissions(const QString &path)
{
    const QFileInfo replaced(path);
    if (replaced.isFile() && !replaced.isSymLink())
        return replaced.permissions();
    return QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString temporaryPrefix(const QFileInfo &target)
{
    return target.fileName() + QStringLiteral(".qdx-");
}
} // namespace

cAtomicFile::cAtomicFile(const QString &path, Links links)
    : m_target(writtenPath(path, links)),
      m_temporary(m_target.absolutePath() + QLatin1Char('/') + temporaryPrefix(m_target) +
                  QStringLiteral("XXXXXX"))
{
}

bool cAtomicFile::failed(const QString &reason)
{
    m_error = reason;
    return false;
}

bool cAtomicFile::open()
{
    // Unbuffered, through the public overload: a write the disk refuses fails at once with the
    // system's reason, where a late flush would only say "Unknown error".
    QFile &file = m_temporary;
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) ||
           failed(m_temporary.errorString());
}

bool cAtomicFile::finish(bool durable)
{
    bool written = m_temporary.flush() || failed(m_temporary.errorString());
#ifdef Q_OS_UNIX
    written = written && (!durable || ::fsync(m_temporary.handle()) == 0 || failed(systemReason()));
#endif
    m_temporary.close();
    return written;
}

bool cAtomicFile::commit(bool durable)
{
    if (m_temporary.isOpen() && !finish(durable)) {
        discard();
        return false;
    }
    m_temporary.setPermissions(keptPermissions(m_target.absoluteFilePath()));
    // A rename replaces the name itself, whatever stood there: never a link's target.
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(m_temporary.fileName()).toStdString(),
                            QFile::encodeName(m_target.absoluteFilePath()).toStdString(), renamed);
    if (renamed) {
        discard();
        return failed(QString::fromStdString(renamed.message()));
    }
    m_temporary.setAutoRemove(false);
    return true;
}

bool cAtomicFile::save(const QByteArray &bytes, bool durable)
{
    if (!open())
        return false;
    if (m_temporary.write(bytes) != bytes.size()) {
        failed(m_temporary.errorString());
        discard();
        return false;
    }
    return commit(durable);
}

void cAtomicFile::removeStale(const QString &folder, const QStringList &names)
{
    QDir dir(folder);
    const QSet<QString> ours(names.cbegin(), names.cend());
    // One listing serves every name, however many pages a catalog has.
    const QString marker = QStringLiteral(".qdx-");
    for (const QString &entry :
         dir.entryList({QStringLiteral("*.qdx-*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        const qsizetype at = entry.lastIndexOf(marker);
        if (ours.contains(entry.left(at)) && entry.size() - at - marker.size() == 6)
            dir.remove(entry);
    }
}

void cAtomicFile::discard()
{
    m_temporary.remove();
}
