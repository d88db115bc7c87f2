#include "catalog/cCatalogPlaces.h"

#include "common/cError.h"
#include "settings/cSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The parts of a setting's path below the output folder out (absolute and clean); none for the
// output folder itself. Either separator counts, as the settings may come from Windows.
QStringList partsUnder(const QString &out, const QString &key, QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString target =
        QDir::cleanPath(QDir::isAbsolutePath(value) ? value : out + QLatin1Char('/') + value);
    const QString below = QDir(out).relativeFilePath(target);
    if (below == QLatin1String("..") || below.startsWith(QLatin1String("../")) ||
        QDir::isAbsolutePath(below))
        throw cError(cError::BadFileName,
                     key + QStringLiteral(" leads outside the output folder: ") + value);
    if (below == QLatin1String("."))
        return {};
    return below.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}
} // namespace

cCatalogPlaces::cCatalogPlaces(const QString &outPath, const QString &docFile,
                               const QString &thumbDir)
{
    const QString out = QDir::cleanPath(QFileInfo(outPath).absoluteFilePath());
    // Only the page itself may be new, as ever: the folders it goes in are the user's.
    if (!QFileInfo(out).isDir())
        throw cError(cError::PathNotFound, QStringLiteral("Path not found: ") + outPath);
    QStringList page = partsUnder(out, QStringLiteral("DOCFILE"), docFile);
    if (page.isEmpty())
        throw cError(cError::BadFileName, QStringLiteral("DOCFILE names no page file"));
    m_pageName = page.takeLast();
    m_outFolder = out;
    m_pageFolder = outPath;
    m_absolutePageFolder = out;
    for (const QString &folder : page) {
        m_pageFolder += folder + QDir::separator();
        m_absolutePageFolder += QLatin1Char('/') + folder;
    }
    if (!thumbDir.isEmpty())
        m_thumbnailFolder = folderUnder(cSettings::name(cSettings::ThumbDir), thumbDir);
}

QString cCatalogPlaces::folderUnder(const QString &key, const QString &value) const
{
    QString folder = m_outFolder;
    for (const QString &part : partsUnder(m_outFolder, key, value))
        folder += QLatin1Char('/') + part;
    return folder;
}

namespace {
// One folder of the path the program writes in, made where missing; one that is there but is
// no folder of its own (a file, a link that could lead the files anywhere) is an error.
void makeOwn(const QString &absolute, const QString &whose)
{
    const QFileInfo info(absolute);
    if (info.isSymLink() || (info.exists() && !info.isDir()))
        throw cError(cError::BadFileName,
                     whose + QStringLiteral(" place is taken by a file or a link: ") +
                         QDir::toNativeSeparators(absolute));
    if (!info.exists() && !QDir().mkdir(absolute))
        throw cError(cError::PathFileAccess, whose + QStringLiteral(" folder could not be made: ") +
                                                 QDir::toNativeSeparators(absolute));
}
} // namespace

QString cCatalogPlaces::albumFolder(const QString &path) const
{
    QString absolute = m_absolutePageFolder;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        absolute += QLatin1Char('/') + part;
        makeOwn(absolute, QStringLiteral("An album's"));
    }
    return albumPath(path);
}

QString cCatalogPlaces::albumPath(const QString &path) const
{
    QString folder = m_pageFolder;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        folder += part + QDir::separator();
    return folder;
}

void cCatalogPlaces::makeFolder(const QString &key, const QString &folder) const
{
    QString absolute = m_outFolder;
    for (const QString &part :
         QDir(m_outFolder).relativeFilePath(folder).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        absolute += QLatin1Char('/') + part;
        makeOwn(absolute, key + QStringLiteral("'s"));
    }
}

QString cCatalogPlaces::absoluteAlbumFolder(const QString &path) const
{
    return path.isEmpty() ? m_absolutePageFolder : m_absolutePageFolder + QLatin1Char('/') + path;
}
