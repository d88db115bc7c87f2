#include "catalog/cWrittenRecord.h"

#include "catalog/cCatalogPlan.h"
#include "catalog/cOwnMark.h"
#include "common/cAtomicFile.h"
#include "common/cBeneath.h"
#include "common/cRegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sys/stat.h>

namespace {
// The record's first line; a record without it is of an earlier version, one line a file with
// its name as it is.
const QByteArray header = "qdx-written 2\n";

// A control character (a tab or line break above all) and the escape itself go in as %XX: no
// name can be read as two entries, nor end one early.
QByteArray escapedName(const QString &below)
{
    QByteArray name;
    for (const char c : below.toUtf8()) {
        if (uchar(c) < 0x20 || c == 0x7F || c == '%')
            name += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            name += c;
    }
    return name;
}

// One line a file: its size, its time, and its place below the output folder.
QByteArray lineOf(const QFileInfo &file, const QString &below)
{
    return QByteArray::number(file.size()) + '\t' +
           QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + '\t' + escapedName(below) +
           '\n';
}
} // namespace

cWrittenRecord::cWrittenRecord(const cCatalogPlan &plan)
    : m_plan(plan), m_out(plan.places().outFolder())
{
}

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

QList<cWrittenRecord::Entry> cWrittenRecord::read(const QString &outFolder)
{
    QList<Entry> entries;
    QFile record;
    if (cRegularFile::open(record, outFolder + QLatin1Char('/') + recordName(),
                           cRegularFile::OwnFileOnly)
            .failed())
        return entries;
    QByteArray bytes = record.readAll();
    const bool escapes = bytes.startsWith(header);
    if (escapes)
        bytes.remove(0, header.size());
    for (const QByteArray &line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3)
            continue;
        const QByteArray name =
            escapes ? QByteArray::fromPercentEncoding(fields.at(2)) : fields.at(2);
        entries.append({fields.at(0), fields.at(1), QDir::cleanPath(QString::fromUtf8(name))});
    }
    return entries;
}

QStringList cWrittenRecord::recorded(const QString &outFolder)
{
    QStringList files;
    for (const Entry &entry : read(outFolder))
        files.append(QDir::cleanPath(outFolder + QLatin1Char('/') + entry.below));
    return files;
}

bool cWrittenRecord::isRecorded(const Entry &entry, const struct stat &status)
{
    const qint64 time = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return QByteArray::number(qint64(status.st_size)) == entry.size &&
           QByteArray::number(time) == entry.time;
}

bool cWrittenRecord::removable(const Entry &entry, int file, const struct stat &status) const
{
    if (!isRecorded(entry, status))
        return false;
    const cCatalogPlan::Own kind =
        m_plan.ownKindOf(QDir::cleanPath(m_out + QLatin1Char('/') + entry.below));
    return kind != cCatalogPlan::Own::Not && cOwnMark::carries(kind, file);
}

bool cWrittenRecord::stillMarked(const Entry &entry, const QString &path)
{
    QFile file;
    struct stat status = {};
    if (cRegularFile::open(file, path, cRegularFile::OwnFileOnly).failed() ||
        ::fstat(file.handle(), &status) != 0 || !isRecorded(entry, status))
        return false;
    return cOwnMark::carries(cCatalogPlan::Own::Picture, file.handle()) ||
           cOwnMark::carries(cCatalogPlan::Own::Page, file.handle());
}

int cWrittenRecord::replace(const QList<cPicture> &catalogued)
{
    const QSet<QString> kept(m_files.cbegin(), m_files.cend());
    QSet<QString> pictures;
    // As the record's places are: absolute, whatever folder the pictures were gathered from.
    for (const cPicture &picture : catalogued)
        pictures.insert(QDir::cleanPath(
            QFileInfo(QDir::fromNativeSeparators(picture.path())).absoluteFilePath()));
    // Every removal goes through the output folder's own descriptor: a folder of it swapped for
    // a link after any check leads nowhere.
    const cBeneath out(m_out);
    int removed = 0;
    // What is not the program's to remove now, a copy in a folder a changed key no longer names,
    // stays recorded while it is the file recorded and marked: no gathering takes it for a
    // picture.
    QByteArray carried;
    for (const Entry &entry : read(m_out)) {
        const QString &below = entry.below;
        if (kept.contains(below) || below.isEmpty() || below.startsWith(QLatin1String("..")) ||
            QDir::isAbsolutePath(below) || below == recordName())
            continue;
        const QString path = QDir::cleanPath(m_out + QLatin1Char('/') + below);
        const bool gone =
            !pictures.contains(path) && out.remove(below, [&](int file, const struct stat &status) {
                return removable(entry, file, status);
            });
        removed += gone ? 1 : 0;
        if (!gone && stillMarked(entry, path))
            carried += lineOf(QFileInfo(path), below);
    }
    QByteArray lines = header;
    for (const QString &below : std::as_const(m_files))
        lines += lineOf(QFileInfo(m_out + QLatin1Char('/') + below), below);
    lines += carried;
    cAtomicFile written(m_out + QLatin1Char('/') + recordName());
    written.keepUnchanged();
    written.save(lines, false);
    return removed;
}
