#include "app/cCatalogWriter.h"

#include "app/cCatalogPlaces.h"
#include "app/cPageFile.h"
#include "common/cAtomicFile.h"
#include "common/cAuthor.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/cRepeatedLog.h"
#include "common/cSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>
#include <algorithm>
#include <vector>

cCatalogWriter::cCatalogWriter(const cOption &options, int jobs) : m_options(options), m_jobs(jobs)
{
}

cCatalogWriter::Result cCatalogWriter::write(const QString &outPath, const QStringList &names,
                                             const QStringList &folders, cProgress *progress) const
{
    Result result;
    if (names.isEmpty())
        return result;
    int marker = 1;
    std::vector<std::unique_ptr<cPageFile>> written;
    QString pageFolder = outPath;
    try {
        const cCatalogPlaces places(outPath, m_options.getStrVal(QStringLiteral("DOCFILE")),
                                    m_options.hasKey(QStringLiteral("THUMBDIR"))
                                        ? m_options.getStrVal(QStringLiteral("THUMBDIR")).trimmed()
                                        : QString());
        pageFolder = places.pageFolder();
        // The pages are written only once their thumbnails are there.
        QList<cThumbnailer::Thumbnail> thumbnails;
        if (!makeThumbnails(places, names, folders, progress, thumbnails, result)) {
            result.cancelled = true;
            return result;
        }
        // "PAGESIZE" pictures a page; without it (or 0) one page holds them all.
        const qsizetype size =
            std::max<qsizetype>(0, m_options.getIntVal(QStringLiteral("PAGESIZE")));
        const Pages pages{places.pageName(), size > 0 ? int((names.size() + size - 1) / size) : 1,
                          places.thumbnailFolder().isEmpty()
                              ? QString()
                              : folderLink(places.absolutePageFolder(), places.thumbnailFolder())};
        const QStringList noFolders;
        for (int number = 1; number <= pages.count; ++number) {
            const qsizetype first = size > 0 ? (number - 1) * size : 0;
            const qsizetype last = size > 0 ? std::min(names.size(), first + size) : names.size();
            written.push_back(std::make_unique<cPageFile>());
            const Slice slice{names, folders.size() == names.size() ? folders : noFolders,
                              thumbnails, first, last - first};
            if (!writePage(*written.back(), places, slice, pages, number, progress, marker,
                           result.path)) {
                // Stopped by the user: every page stays as it was before.
                result.cancelled = true;
                return result;
            }
        }
        result.path = pageFolder + pages.fileName(1);
        result.pages = pages.count;
    } catch (const cError &error) {
        result.ok = false;
        result.marker = marker;
        result.error = error;
    }
    // The pages take their places together; after a settings error, as far as they were
    // written. A page the disk refused bytes of cannot be whole: then every page stays as it was.
    const bool refused = std::any_of(written.cbegin(), written.cend(),
                                     [](const auto &page) { return page->writeFailed(); });
    QStringList placed;
    for (const auto &page : written) {
        placed.append(QFileInfo(page->path()).fileName());
        if (refused) {
            page->discard();
            continue;
        }
        QString reason;
        if (!page->commit(reason) && result.ok) {
            result.ok = false;
            result.path = page->path();
            result.error =
                cError(cError::DeviceIO, QStringLiteral("The page could not replace ") +
                                             QStringLiteral("the one before it: ") + reason);
        }
    }
    cAtomicFile::removeStale(pageFolder, placed);
    return result;
}

QString cCatalogWriter::Result::thumbnailReport() const
{
    QStringList parts;
    if (unreadable > 0)
        parts.append(
            QStringLiteral("%1 pictures could not be read for thumbnails").arg(unreadable));
    if (unwritable > 0)
        parts.append(QStringLiteral("%1 thumbnails could not be written").arg(unwritable));
    if (parts.isEmpty())
        return QString();
    return parts.join(QStringLiteral(", ")) +
           QStringLiteral("; their cells show the pictures themselves");
}

bool cCatalogWriter::makeThumbnails(const cCatalogPlaces &places, const QStringList &names,
                                    const QStringList &folders, cProgress *progress,
                                    QList<cThumbnailer::Thumbnail> &thumbnails,
                                    Result &result) const
{
    const QString folder = places.thumbnailFolder();
    if (folder.isEmpty())
        return true;
    QList<cThumbnailer::Picture> pictures;
    pictures.reserve(names.size());
    QSet<QString> pictureFolders;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString own = folders.value(i);
        // A picture of no known folder is one the page links beside itself.
        pictures.append({own.isEmpty() ? places.pageFolder() : own, names.at(i)});
        if (i == 0 || pictures.at(i).folder != pictures.at(i - 1).folder)
            pictureFolders.insert(pictures.at(i).folder);
    }
    // Thumbnails among the pictures would be gathered with them at the next run, and again.
    const QString thumbnailFolder = QFileInfo(folder).canonicalFilePath();
    for (const QString &own : pictureFolders) {
        if (!thumbnailFolder.isEmpty() && QFileInfo(own).canonicalFilePath() == thumbnailFolder)
            throw cError(cError::BadFileName,
                         QStringLiteral("THUMBDIR is a folder of the pictures themselves: ") +
                             QDir::toNativeSeparators(folder));
    }
    const QSize box(std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGW"))),
                    std::max<int>(1, m_options.getIntVal(QStringLiteral("IMGH"))));
    bool cancelled = false;
    thumbnails = cThumbnailer(folder, box, m_jobs).make(pictures, progress, cancelled);
    if (cancelled)
        return false;
    // A rerun over the same pictures says in the log only what is new.
    cRepeatedLog log(QStringLiteral("QDX_thumbnails.txt"));
    for (qsizetype i = 0; i < thumbnails.size(); ++i) {
        const cThumbnailer::Thumbnail &thumbnail = thumbnails.at(i);
        if (!thumbnail.file.isEmpty())
            continue;
        ++(thumbnail.unwritable ? result.unwritable : result.unreadable);
        // The reason goes on the error's line, where no length cuts it.
        log.write(1, QStringLiteral("Thumbnail: ") + pictures.at(i).folder + pictures.at(i).name,
                  thumbnail.unwritable
                      ? cError(cError::DeviceIO,
                               QStringLiteral("could not be written: ") + thumbnail.problem)
                      : cError(cError::InvalidPicture,
                               QStringLiteral("could not be read: ") + thumbnail.problem));
    }
    log.save();
    return true;
}

QString cCatalogWriter::Pages::fileName(int number) const
{
    if (number == 1)
        return name;
    // The number goes before the extension.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype at = dot > 0 ? dot : name.size();
    return name.left(at) + QString::number(number) + name.mid(at);
}

QString cCatalogWriter::navigation(const Pages &pages, int number)
{
    const auto link = [&pages](int target, const QString &text) -> QString {
        return QStringLiteral("<a href=\"") + linkName(pages.fileName(target)) +
               QStringLiteral("\">") + text + QStringLiteral("</a>");
    };
    QStringList parts;
    if (number > 1)
        parts.append(link(number - 1, QStringLiteral("&lt;")));
    // The first and the last page, and three on either side of this one: the line stays short
    // however many pages there are.
    int shown = 0;
    for (int target = 1; target <= pages.count; ++target) {
        if (target != 1 && target != pages.count && std::abs(target - number) > 3)
            continue;
        if (shown != 0 && target > shown + 1)
            parts.append(QStringLiteral("..."));
        parts.append(target == number ? QStringLiteral("<b>%1</b>").arg(target)
                                      : link(target, QString::number(target)));
        shown = target;
    }
    if (number < pages.count)
        parts.append(link(number + 1, QStringLiteral("&gt;")));
    return QStringLiteral("<p>") + parts.join(QLatin1Char(' ')) + QStringLiteral("</p>");
}

bool cCatalogWriter::writePage(cPageFile &page, const cCatalogPlaces &places, const Slice &slice,
                               const Pages &pages, int number, cProgress *progress, int &marker,
                               QString &path) const
{
    const QStringList &names = slice.names;
    const QStringList &folders = slice.folders;
    marker = 1;
    path = places.pageFolder() + pages.fileName(number);
    page.open(path);
    page.line("<html>");
    page.line("<head>");
    page.line(comment(QStringLiteral("Quadrix v.1.00")));
    page.line(comment(cAuthor::name()));
    page.line(comment(cAuthor::webHost()));
    page.line("  <title>", m_options.getStrVal(QStringLiteral("DOCTITLE")), "</title>");
    const QString styleSheet = m_options.getStrVal(QStringLiteral("CSSFILE"));
    const QString fontSize = m_options.getStrVal(QStringLiteral("FONTSIZE"));
    AddCss(page, styleSheet, fontSize);
    page.line("</head>");
    page.line("<body bgcolor=\"", m_options.getStrVal(QStringLiteral("COLORBK")), "\">");

    marker = 5;
    const QString align = m_options.getStrVal(QStringLiteral("TABALIGN")).toLower();
    if (align == QLatin1String("center"))
        page.line("<div align=\"center\">");
    else if (align == QLatin1String("right"))
        page.line("<div align=\"right\">");
    else
        page.line("<div align=\"left\">");
    page.line("<table border=", m_options.getStrVal(QStringLiteral("TABBORDER")), ">");
    page.line("<tr>");

    marker = 10;
    int column = 1;
    // "RELLINKS" leads each link from the output folder to the picture's own folder.
    const bool fromOutput =
        !folders.isEmpty() && m_options.getIntVal(QStringLiteral("RELLINKS")) == 1;
    // Each cell reads these anew; unchanged settings cost no search.
    const cSetting cellColour(m_options, QStringLiteral("TABCOLORBK"));
    const cSetting thumbnailSize(m_options, QStringLiteral("THUMBSIZE"));
    const cSetting height(m_options, QStringLiteral("IMGH"));
    const cSetting width(m_options, QStringLiteral("IMGW"));
    const cSetting nameShown(m_options, QStringLiteral("IMGNAME"));
    const cSetting columns(m_options, QStringLiteral("TABCOLUMN"));
    QString lastFolder;
    QString prefix;
    for (qsizetype i = slice.first; i < slice.first + slice.size; ++i) {
        if (progress && !progress->step(i))
            return false;
        const QString &name = names.at(i);
        if (fromOutput && (i == slice.first || folders.at(i) != lastFolder)) {
            lastFolder = folders.at(i);
            prefix = folderLink(places.absolutePageFolder(), lastFolder);
        }
        const QString link = prefix.isEmpty() ? linkName(name) : prefix + safeSegment(name);
        page.line("<td bgcolor=\"", cellColour.utf8(), "\">");
        page.line(" <a href=\"", link, "\">");
        // A picture with a thumbnail shows it; "THUMBSIZE" gives the thumbnail's own size.
        const cThumbnailer::Thumbnail *thumbnail =
            slice.thumbnails.isEmpty() || slice.thumbnails.at(i).file.isEmpty()
                ? nullptr
                : &slice.thumbnails.at(i);
        const bool ownSize = thumbnail && thumbnailSize.number() == 1;
        const QString source = thumbnail ? pages.thumbnails + safeSegment(thumbnail->file) : link;
        page.line("  <img src=\"", source, "\" border=1 height=",
                  ownSize ? QByteArray::number(thumbnail->size.height()) : height.utf8(),
                  " width=", ownSize ? QByteArray::number(thumbnail->size.width()) : width.utf8(),
                  ">");
        marker = 11;
        if (nameShown.number() == 1)
            page.line("<br>", shownName(name));
        marker = 12;
        page.line(" </a>");
        page.line("</td>");
        marker = 13;
        if (column < columns.number()) {
            ++column;
        } else {
            marker = 14;
            column = 1;
            page.line("</tr><tr>");
        }
    }

    marker = 20;
    page.line("</tr>");
    page.line("</table>");
    if (pages.count > 1)
        page.line(navigation(pages, number));
    page.line("</div>");
    page.line("</body></html>");
    marker = 22;
    page.close();
    return true;
}

void cCatalogWriter::AddCss(cPageFile &page, const QString &styleSheet,
                            const QString &fontSize) const
{
    if (m_options.getIntVal(QStringLiteral("USECSS")) != 1) {
        page.line("<!-- no css selected -->");
        return;
    }
    if (!styleSheet.isEmpty() && styleSheet != QLatin1String("(none)")) {
        page.line("<link rel=\"stylesheet\" type=\"Text/css\" href=\"", styleSheet, ".css\">");
        return;
    }
    page.line("<STYLE TYPE=\"Text/css\">");
    page.line("<!--");
    page.line("PRE {display: inline; color: blue; font-name: courier new; font-size: ",
              fontSize.trimmed(), "pt}");
    page.line("// -->");
    page.line("</STYLE>");
}

QString cCatalogWriter::comment(const QString &field)
{
    return QStringLiteral("  <!-- ") + field.leftJustified(21, QLatin1Char(' '), true) +
           QStringLiteral(" -->");
}

QString cCatalogWriter::linkName(const QString &name)
{
    // A colon would make the name a scheme ("javascript:"), unless the link starts as a path.
    if (name.contains(QLatin1Char(':')))
        return QStringLiteral("./") + safeSegment(name);
    return safeSegment(name);
}

QString cCatalogWriter::safeSegment(const QString &segment)
{
    // Only what would end the attribute, start a character reference, turn the rest into a query
    // or fragment, or be dropped or bent by the browser's address parser; ordinary names, with
    // their inner spaces and letters of any language, go in as they are.
    const auto unsafe = [](QChar c) {
        const char16_t unit = c.unicode();
        return unit < 0x20 || unit == 0x7F || unit == '%' || unit == '#' || unit == '?' ||
               unit == '"' || unit == '&' || unit == '\\';
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

QString cCatalogWriter::folderLink(const QString &pageFolder, const QString &folder)
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
        // No path leads there (another drive): the picture's own address.
        return QUrl::fromLocalFile(to + QLatin1Char('/'))
            .toString(QUrl::FullyEncoded)
            .replace(QLatin1Char('&'), QLatin1String("&amp;"));
    }
    return pathLink(path.split(QLatin1Char('/'), Qt::SkipEmptyParts));
}

QString cCatalogWriter::pathLink(const QStringList &folders)
{
    QString link;
    for (const QString &folder : folders)
        link += safeSegment(folder) + QLatin1Char('/');
    // As for a name: a colon in the first part would make it a scheme.
    if (!folders.isEmpty() && folders.first().contains(QLatin1Char(':')))
        link.prepend(QStringLiteral("./"));
    return link;
}

QString cCatalogWriter::relativeLink(const QString &outPath, const QString &folder,
                                     const QString &name)
{
    const QString prefix = folderLink(outPath, folder);
    return prefix.isEmpty() ? linkName(name) : prefix + safeSegment(name);
}

QString cCatalogWriter::shownName(const QString &name)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('>');
    };
    if (std::none_of(name.cbegin(), name.cend(), special))
        return name;
    QString shown = name;
    shown.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    shown.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    shown.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return shown;
}
