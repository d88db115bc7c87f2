#include "catalog/cPictureLinks.h"

#include "common/modUtil1.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

cPictureLinks::cPictureLinks(bool fromOwnFolders, const QString &pageFolder,
                             const QString &thumbnailFolder, const QString &copyFolder)
    : m_fromOwnFolders(fromOwnFolders), m_pageFolder(pageFolder),
      m_thumbnails(thumbnailFolder.isEmpty() ? QString() : folderLink(pageFolder, thumbnailFolder)),
      m_copies(copyFolder.isEmpty() ? QString() : folderLink(pageFolder, copyFolder))
{
}

QString cPictureLinks::picture(const cPicture &picture)
{
    if (!m_fromOwnFolders)
        return linkName(picture.name, false);
    const QString &folder = prefix(picture.folder);
    return folder.isEmpty() ? linkName(picture.name, false)
                            : folder + safeSegment(picture.name, false);
}

bool cPictureLinks::isAscii(const cPicture &picture)
{
    // A name made safe keeps its letters: it is ASCII when the name is.
    return modUtil1::isAscii(picture.name) &&
           (!m_fromOwnFolders || modUtil1::isAscii(prefix(picture.folder)));
}

const QString &cPictureLinks::prefix(const QString &folder)
{
    if (m_lastFolder.isNull() || folder != m_lastFolder) {
        m_lastFolder = folder;
        m_lastPrefix = folderLink(m_pageFolder, folder);
    }
    return m_lastPrefix;
}

QString cPictureLinks::linkName(const QString &name, bool strict)
{
    // A colon would make the name a scheme ("javascript:"), unless the link starts as a path.
    if (name.contains(QLatin1Char(':')))
        return QStringLiteral("./") + safeSegment(name, strict);
    return safeSegment(name, strict);
}

QString cPictureLinks::shownName(const QString &name)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
               isControl(c);
    };
    if (std::none_of(name.cbegin(), name.cend(), special))
        return name;
    QString shown = name;
    // A line break or other control character of a name or title is no part of a page's text.
    for (QChar &c : shown) {
        if (isControl(c))
            c = QLatin1Char(' ');
    }
    shown.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    shown.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    shown.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return shown;
}

bool cPictureLinks::isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

QString cPictureLinks::safeSegment(const QString &segment, bool strict)
{
    // Only what would end the attribute, start a character reference, turn the rest into a query
    // or fragment, or be dropped or bent by the browser's address parser; the text's names, with
    // their inner spaces and letters of any language, go in as they are. Strict links also leave
    // out what an address may not hold (spaces, angle brackets and the like): the names of
    // folders and of the program's own files.
    const auto unsafe = [strict](QChar c) {
        const char16_t unit = c.unicode();
        if (isControl(c) || unit == '%' || unit == '#' || unit == '?' || unit == '"' ||
            unit == '&' || unit == '\\')
            return true;
        static const QString notInAddresses = QStringLiteral(" <>`{}|^[]");
        return strict && notInAddresses.contains(c);
    };
    const bool edgeSpace =
        segment.startsWith(QLatin1Char(' ')) || segment.endsWith(QLatin1Char(' '));
    if (!edgeSpace && std::none_of(segment.cbegin(), segment.cend(), unsafe))
        return segment;
    QString link;
    link.reserve(segment.size() + 16);
    for (qsizetype i = 0; i < segment.size(); ++i) {
        const QChar c = segment.at(i);
        const bool edge = c == QLatin1Char(' ') && (i == 0 || i == segment.size() - 1);
        if (c == QLatin1Char('&'))
            link += QLatin1String("&amp;");
        else if (edge || unsafe(c))
            link += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            link += c;
    }
    return link;
}

QString cPictureLinks::folderLink(const QString &pageFolder, const QString &folder)
{
    // A folder given from the working folder means nothing to the page: both ends are made
    // absolute first.
    const auto absolute = [](const QString &path) {
        return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
    };
    const QString from = absolute(pageFolder);
    const QString to = absolute(folder);
    if (from == to)
        return QString();
    const QString path = QDir(from).relativeFilePath(to);
    if (QDir::isAbsolutePath(path)) {
        // No path leads there (another drive): the folder's own address.
        return QUrl::fromLocalFile(to + QLatin1Char('/'))
            .toString(QUrl::FullyEncoded)
            .replace(QLatin1Char('&'), QLatin1String("&amp;"));
    }
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString link;
    for (const QString &part : parts)
        link += safeSegment(part, true) + QLatin1Char('/');
    // As for a name: a colon in the first part would make it a scheme.
    if (!parts.isEmpty() && parts.first().contains(QLatin1Char(':')))
        link.prepend(QStringLiteral("./"));
    return link;
}
