#include "cAtomicFile.h"

#include <QDir>
#include <QSet>
#include <filesystem>
#include <system_error>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
// A link is written through, so the link stays and its target gets the new bytes.
QString writtenPath(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

QString temporaryPrefix(const QFileInfo &target)
{
    return target.fileName() + QStringLiteral(".qdx-");
}
} // namespace

cAtomicFile::cAtomicFile(const QString &path)
    : m_target(writtenPath(path)), m_temporary(m_target.absolutePath() + QLatin1Char('/') +
                                               temporaryPrefix(m_target) + QStringLiteral("XXXXXX"))
{
}

bool cAtomicFile::open()
{
    return m_temporary.open();
}

bool cAtomicFile::finish(bool durable)
{
    bool written = m_temporary.flush();
#ifdef Q_OS_UNIX
    written = written && (!durable || ::fsync(m_temporary.handle()) == 0);
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
    m_temporary.setPermissions(m_target.exists() ? QFile::permissions(m_target.absoluteFilePath())
                                                 : QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ReadGroup | QFile::ReadOther);
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(m_temporary.fileName()).toStdString(),
                            QFile::encodeName(m_target.absoluteFilePath()).toStdString(), failed);
    if (failed) {
        discard();
        return false;
    }
    m_temporary.setAutoRemove(false);
    return true;
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
