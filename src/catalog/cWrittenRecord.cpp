#include "catalog/cWrittenRecord.h"

#include "common/cAtomicFile.h"
#include "common/cRegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
// One line a file: its size, its time, and its place below the output folder.
QByteArray lineOf(const QFileInfo &file, const QString &below)
{
    return QByteArray::number(file.size()) + '\t' +
           QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + '\t' + below.toUtf8() +
           '\n';
}
} // namespace

cWrittenRecord::cWrittenRecord(const QString &outFolder) : m_out(outFolder) {}

QString cWrittenRecord::recordName()
{
    return QStringLiteral("qdx-written.lst");
}

void cWrittenRecord::add(const QString &path)
{
    const QString below = QDir(m_out).relativeFilePath(path);
    if (!below.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(below))
        m_files.append(below);
}

QStringList cWrittenRecord::recorded(const QString &outFolder)
{
    QStringList files;
    QFile record;
    if (cRegularFile::open(record, outFolder + QLatin1Char('/') + recordName(),
                           cRegularFile::OwnFileOnly)
            .failed())
        return files;
    for (const QByteArray &line : record.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3)
            files.append(
                QDir::cleanPath(outFolder + QLatin1Char('/') + QString::fromUtf8(fields.at(2))));
    }
    return files;
}

int cWrittenRecord::replace()
{
    const QString record = m_out + QLatin1Char('/') + recordName();
    const QSet<QString> kept(m_files.cbegin(), m_files.cend());
    const QString inside = QFileInfo(m_out).canonicalFilePath() + QLatin1Char('/');
    int removed = 0;
    QFile before;
    if (!cRegularFile::open(before, record, cRegularFile::OwnFileOnly).failed()) {
        for (const QByteArray &line : before.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() != 3)
                continue;
            const QString below = QDir::cleanPath(QString::fromUtf8(fields.at(2)));
            if (kept.contains(below) || below.isEmpty() || below.startsWith(QLatin1String("..")) ||
                QDir::isAbsolutePath(below) || below == recordName())
                continue;
            const QFileInfo file(m_out + QLatin1Char('/') + below);
            // Still the file recorded, inside the folder by its real path, not a link.
            if (!file.isFile() || file.isSymLink() ||
                !file.canonicalFilePath().startsWith(inside) ||
                QByteArray::number(file.size()) != fields.at(0) ||
                QByteArray::number(file.lastModified().toMSecsSinceEpoch()) != fields.at(1))
                continue;
            removed += QFile::remove(file.filePath()) ? 1 : 0;
        }
    }
    QByteArray lines;
    for (const QString &below : std::as_const(m_files))
        lines += lineOf(QFileInfo(m_out + QLatin1Char('/') + below), below);
    cAtomicFile written(record);
    written.keepUnchanged();
    written.save(lines, false);
    return removed;
}
