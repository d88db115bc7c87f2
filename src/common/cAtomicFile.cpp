#include "common/cAtomicFile.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
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

// Whether path names a regular file of its own that holds the very bytes read from made.
bool holdsTheSame(const QString &path, QIODevice &made)
{
    const QFileInfo there(path);
    if (!there.isFile() || there.isSymLink() || there.size() != made.size())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !made.seek(0))
        return false;
    constexpr qint64 piece = 1 << 16;
    while (!file.atEnd()) {
        if (file.read(piece) != made.read(piece))
            return false;
    }
    return true;
}

QString temporaryPrefix(const QFileInfo &target)
{
    return target.fileName() + QStringLiteral(".qdx-");
}

#ifdef Q_OS_UNIX
// Gives the file at target a second name beside it, in kept; none where nothing stands there.
cError keepAside(const QString &target, QString &kept)
{
    const QByteArray from = QFile::encodeName(target);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = QFileInfo(target).absolutePath() + QLatin1Char('/') +
                       temporaryPrefix(QFileInfo(target));
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        if (::link(from.constData(), QFile::encodeName(name).constData()) == 0) {
            kept = name;
            return cError();
        }
        if (errno == ENOENT)
            return cError();
        if (errno != EEXIST)
            break;
    }
    return cError(cError::PathFileAccess, systemReason());
}
#endif
} // namespace

cAtomicFile::cAtomicFile(const QString &path, Links links)
    : m_target(writtenPath(path, links)),
      m_temporary(std::make_unique<QTemporaryFile>(m_target.absolutePath() + QLatin1Char('/') +
                                                   temporaryPrefix(m_target) +
                                                   QStringLiteral("XXXXXX")))
{
}

cAtomicFile::~cAtomicFile()
{
    discard();
}

cError cAtomicFile::open()
{
    // Unbuffered, through the public overload: a write the disk refuses fails at once with the
    // system's reason, where a late flush would only say "Unknown error".
    QFile &file = *m_temporary;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return cError(cError::PathFileAccess, m_temporary->errorString());
    m_temporaryName = m_temporary->fileName();
    return cError();
}

cError cAtomicFile::finish(bool durable)
{
    cError error;
    if (!m_temporary->flush())
        error = cError(cError::DeviceIO, m_temporary->errorString());
#ifdef Q_OS_UNIX
    else if (durable && ::fsync(m_temporary->handle()) != 0)
        error = cError(cError::DeviceIO, systemReason());
#endif
    m_temporary->setAutoRemove(false);
    m_temporary.reset();
    return error;
}

cError cAtomicFile::place(bool durable, Kept *kept)
{
    if (m_temporary && m_temporary->isOpen()) {
        if (const cError error = finish(durable); error.failed()) {
            discard();
            return error;
        }
    }
    if (QFile made(m_temporaryName); m_keepUnchanged && made.open(QIODevice::ReadOnly) &&
                                     holdsTheSame(m_target.absoluteFilePath(), made)) {
        discard();
        return cError();
    }
    const QString target = m_target.absoluteFilePath();
    QFile::setPermissions(m_temporaryName, keptPermissions(target));
#ifdef Q_OS_UNIX
    // What stood there gets a second name, the kind a stopped run's leftovers have, so it can
    // come back; a link or FIFO is kept as itself, not followed.
    if (kept) {
        if (const cError error = keepAside(target, kept->path); error.failed()) {
            discard();
            return error;
        }
    }
#endif
    // A rename replaces the name itself, whatever stood there: never a link's target.
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(m_temporaryName).toStdString(),
                            QFile::encodeName(target).toStdString(), renamed);
    if (renamed) {
        discard();
        if (kept && !kept->path.isEmpty())
            QFile::remove(kept->path);
        return cError(cError::PathFileAccess, QString::fromStdString(renamed.message()));
    }
    m_temporaryName.clear();
    if (kept)
        kept->replaced = true;
    return cError();
}

cError cAtomicFile::save(const QByteArray &bytes, bool durable)
{
    if (m_keepUnchanged) {
        QByteArray copy(bytes);
        QBuffer made(&copy);
        made.open(QIODevice::ReadOnly);
        if (holdsTheSame(m_target.absoluteFilePath(), made))
            return cError();
    }
    if (const cError error = open(); error.failed())
        return error;
    if (m_temporary->write(bytes) != bytes.size()) {
        const cError error(cError::DeviceIO, m_temporary->errorString());
        discard();
        return error;
    }
    return commit(durable);
}

void cAtomicFile::putBack(const QString &path, const Kept &kept)
{
    if (!kept.replaced)
        return;
    if (kept.path.isEmpty()) {
        QFile::remove(path);
        return;
    }
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(kept.path).toStdString(),
                            QFile::encodeName(path).toStdString(), failed);
}

void cAtomicFile::forget(const Kept &kept)
{
    if (!kept.path.isEmpty())
        QFile::remove(kept.path);
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
    m_temporary.reset();
    if (!m_temporaryName.isEmpty())
        QFile::remove(m_temporaryName);
    m_temporaryName.clear();
}
