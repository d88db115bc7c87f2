#include "catalog/cAlbumWriter.h"

#include "catalog/cCatalogPage.h"
#include "catalog/cCatalogPlan.h"
#include "catalog/cPageSet.h"
#include "catalog/cPictureLinks.h"
#include "catalog/cPicturePage.h"
#include "common/cOption.h"
#include "common/cProgress.h"
#include "common/modUtil1.h"
#include "pictures/cCaption.h"

#include <algorithm>

cAlbumWriter::cAlbumWriter(const cOption &options, const cCatalogPlan &plan,
                           const QList<cPicture> &pictures, cPageSet &written, cProgress *progress,
                           int &marker)
    : m_options(options), m_plan(plan), m_pictures(pictures), m_written(written),
      m_progress(progress), m_marker(marker)
{
}

bool cAlbumWriter::write(size_t album, QString &path)
{
    const cCatalogPlan::Album &pages = m_plan.album(album);
    cPictureLinks links(m_plan.settings().linksFromOwnFolders(), pages.absolute,
                        m_plan.places().thumbnailFolder(), m_plan.copyFolder());
    for (int number = 1; number <= pages.pages.count(); ++number) {
        path = pages.folder + pages.pages.fileName(number);
        if (!writePage(album, number, links))
            return false;
    }
    if (m_plan.settings().picturePages())
        writePicturePages(album, links);
    return true;
}

QString cAlbumWriter::pictureLink(cPictureLinks &links, qsizetype place) const
{
    const cThumbnailer::Thumbnail &copy = m_plan.outputs(place).copy;
    return copy.file.isEmpty() ? links.picture(m_pictures.at(place)) : links.copy(copy.file);
}

QString cAlbumWriter::titleOf(int album) const
{
    const cAlbums::Album &own = m_plan.albums().all()[size_t(album)];
    return own.parent < 0 ? m_options.getStrVal(QStringLiteral("DOCTITLE")) : own.title;
}

const cDateSpan &cAlbumWriter::spanOf(int album)
{
    if (m_spans.empty())
        m_spans.resize(m_plan.albums().all().size());
    if (!m_spans[size_t(album)]) {
        cDateSpan dates;
        const cAlbums::Album &own = m_plan.albums().all()[size_t(album)];
        for (const quint32 place : own.pictures)
            dates.add(m_pictures.at(qsizetype(place)));
        for (const int child : own.children)
            dates.add(spanOf(child));
        m_spans[size_t(album)] = dates;
    }
    return *m_spans[size_t(album)];
}

QString cAlbumWriter::heading(size_t album, const QString &firstPage,
                              const cCatalogPage::Head &head) const
{
    // The albums above, the top one first, each a link to its first page: one folder up each.
    std::vector<int> above;
    for (int at = m_plan.albums().all()[album].parent; at >= 0;
         at = m_plan.albums().all()[size_t(at)].parent)
        above.push_back(at);
    const QString title = cPictureLinks::shownName(head.title);
    QString lines;
    if (!above.empty()) {
        lines += QStringLiteral("<nav class=\"qdx-trail\" aria-label=\"Albums\">");
        for (size_t i = above.size(); i-- > 0;)
            lines += QStringLiteral("<a href=\"") + QStringLiteral("../").repeated(int(i + 1)) +
                     firstPage + QStringLiteral("\">") +
                     cPictureLinks::shownName(titleOf(above[i])) + QStringLiteral("</a> &rsaquo; ");
        lines += QStringLiteral("<span aria-current=\"page\">") + title +
                 QStringLiteral("</span></nav>\r\n");
    }
    return lines + QStringLiteral("<h1>") + title + QStringLiteral("</h1>\r\n") +
           QStringLiteral("<p class=\"qdx-summary\">") +
           cPictureLinks::shownName(head.description) + QStringLiteral("</p>");
}

bool cAlbumWriter::hasThumbnail(qsizetype place) const
{
    return !m_plan.outputs(place).thumbnail.file.isEmpty();
}

qsizetype cAlbumWriter::coverOf(int album) const
{
    const cAlbums::Album &inside = m_plan.albums().all()[size_t(album)];
    if (inside.cover < 0 || hasThumbnail(inside.cover) ||
        m_plan.places().thumbnailFolder().isEmpty())
        return inside.cover;
    qsizetype cover = -1;
    const auto found =
        std::find_if(inside.pictures.cbegin(), inside.pictures.cend(),
                     [this](quint32 place) { return hasThumbnail(qsizetype(place)); });
    if (found != inside.pictures.cend())
        cover = qsizetype(*found);
    for (const int child : inside.children) {
        const qsizetype below = coverOf(child);
        if (below >= 0 && hasThumbnail(below) && (cover < 0 || below < cover))
            cover = below;
    }
    // Not one of them could be read: the first stands, as without thumbnails.
    return cover < 0 ? inside.cover : cover;
}

void cAlbumWriter::writePicturePages(size_t album, cPictureLinks &links)
{
    const cSettings &settings = m_plan.settings();
    const int captionKind = settings.caption();
    const bool saysWhere = settings.saysWhere();
    // The day beside the caption, where the caption does not tell it already.
    const bool showsDay =
        saysWhere && captionKind != cCaption::Taken && captionKind != cCaption::TitleAndTaken;
    const bool schemes = settings.followsSchemes();
    const bool viewer = settings.picturePagesView();
    const cCatalogPlan::Album &pages = m_plan.album(album);
    const std::vector<quint32> &places = m_plan.albums().all()[album].pictures;
    const QString none;
    const qsizetype count = qsizetype(places.size());
    const auto pageOf = [&](qsizetype i) {
        return cPictureLinks::linkName(m_plan.outputs(places[size_t(i)]).page);
    };
    // Each picture's address serves its own page and, ahead, the page before it.
    QString link = count > 0 ? pictureLink(links, places.front()) : none;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype place = places[size_t(i)];
        const cPicture &picture = m_pictures.at(place);
        const cCatalogPlan::Outputs &made = m_plan.outputs(place);
        const QString nextLink = i + 1 < count ? pictureLink(links, places[size_t(i + 1)]) : none;
        const QString caption =
            captionKind == cCaption::Name ? picture.name : cCaption::of(picture, captionKind);
        const QString previous = i > 0 ? pageOf(i - 1) : none;
        const QString next = i + 1 < count ? pageOf(i + 1) : none;
        const QString back = cPictureLinks::linkName(pages.pages.fileName(pages.pages.numberOf(i)));
        const bool dated = showsDay && picture.facts && picture.facts->dated;
        cPicturePage::write(m_written.add(), pages.folder + made.page,
                            {link, made.copy.file.isEmpty() ? QSize() : made.copy.size, caption,
                             previous, next, back, pages.toTop, saysWhere,
                             dated ? picture.facts->taken.date() : QDate(), schemes, viewer,
                             viewer ? nextLink : none});
        link = nextLink;
    }
}

bool cAlbumWriter::writePage(size_t album, int number, cPictureLinks &links)
{
    const cCatalogPlan::Album &pages = m_plan.album(album);
    const cAlbums::Album &own = m_plan.albums().all()[album];
    cCatalogPage html(m_options, m_written.add(), m_marker);
    const qsizetype first = pages.pages.first(number);
    const qsizetype end = first + pages.pages.size(number);
    const auto placeAt = [&](qsizetype i) { return qsizetype(own.pictures[size_t(i)]); };
    // A picture with a thumbnail shows it, one with a copy links it.
    const auto thumbnailOf = [&](qsizetype place) -> const cThumbnailer::Thumbnail * {
        const cThumbnailer::Thumbnail &made = m_plan.outputs(place).thumbnail;
        return made.file.isEmpty() ? nullptr : &made;
    };
    // Offered only where it is larger: a small picture is its own thumbnail at every size.
    const auto twiceOf = [&](qsizetype place) {
        const cThumbnailer::Thumbnail &twice = m_plan.outputs(place).twice;
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        return !twice.file.isEmpty() && thumbnail && twice.size.width() > thumbnail->size.width()
                   ? links.thumbnail(twice.file)
                   : QString();
    };
    const QString firstPage = cPictureLinks::linkName(pages.pages.fileName(1));
    const bool saysWhere = m_plan.settings().saysWhere();
    // The albums inside this one open its first page, each with its first picture as its cover.
    struct AlbumCell
    {
        QString link;
        QString source;
        QSize size;
        QString name;
        QString twice;
    };
    std::vector<AlbumCell> albumCells;
    const std::vector<int> none;
    for (const int child : number == 1 ? own.children : none) {
        const cAlbums::Album &inside = m_plan.albums().all()[size_t(child)];
        const qsizetype coverPlace = coverOf(child);
        const cThumbnailer::Thumbnail *cover = thumbnailOf(coverPlace);
        albumCells.push_back(
            {cPictureLinks::linkName(inside.name) + QLatin1Char('/') + firstPage,
             cover ? links.thumbnail(cover->file) : pictureLink(links, coverPlace),
             cover ? cover->size : QSize(),
             saysWhere ? inside.title + QStringLiteral(": ") + spanOf(child).summary(inside.total)
                       : QStringLiteral("%1 (%2)").arg(inside.title).arg(inside.total),
             twiceOf(coverPlace)});
    }
    QString up = own.parent < 0 ? QString()
                                : QStringLiteral("<p><a href=\"../") + firstPage +
                                      QStringLiteral("\">&lt;&lt; Up</a></p>");
    cCatalogPage::Head head;
    if (saysWhere) {
        head.title = titleOf(int(album));
        head.description = spanOf(int(album)).summary(own.total);
        if (const qsizetype cover = coverOf(int(album)); cover >= 0)
            head.image = thumbnailOf(cover) ? links.thumbnail(thumbnailOf(cover)->file)
                                            : pictureLink(links, cover);
        up = heading(album, firstPage, head);
    }
    const QString navigation = pages.pages.navigation(number);
    const int captionKind = m_plan.settings().caption();
    QStringList captions;
    if (captionKind != cCaption::Name) {
        for (qsizetype i = first; i < end; ++i)
            captions.append(cCaption::of(m_pictures.at(placeAt(i)), captionKind));
    }
    bool ascii = cCatalogPage::settingsAreAscii(m_options) && modUtil1::isAscii(navigation) &&
                 modUtil1::isAscii(links.thumbnail(QString())) &&
                 modUtil1::isAscii(links.copy(QString())) && modUtil1::isAscii(up);
    for (const AlbumCell &cell : albumCells)
        ascii = ascii && modUtil1::isAscii(cell.link) && modUtil1::isAscii(cell.source) &&
                modUtil1::isAscii(cell.name);
    for (qsizetype i = first; ascii && i < end; ++i)
        ascii = links.isAscii(m_pictures.at(placeAt(i))) &&
                (captions.isEmpty() || modUtil1::isAscii(captions.at(i - first)));
    ascii = ascii && modUtil1::isAscii(head.title) && modUtil1::isAscii(head.description) &&
            modUtil1::isAscii(head.image);
    html.begin(pages.folder + pages.pages.fileName(number), !ascii, up, pages.toTop, head);
    for (const AlbumCell &cell : albumCells)
        html.cell({cell.link, cell.source, cell.size, cell.name, true, cell.twice});
    for (qsizetype i = first; i < end; ++i, ++m_done) {
        if (m_progress && !m_progress->step(m_done))
            return false;
        const qsizetype place = placeAt(i);
        const cPicture &picture = m_pictures.at(place);
        const QString shown = pictureLink(links, place);
        const QString &page = m_plan.outputs(place).page;
        const QString link = page.isEmpty() ? shown : cPictureLinks::linkName(page);
        const cThumbnailer::Thumbnail *thumbnail = thumbnailOf(place);
        const QString source = thumbnail ? links.thumbnail(thumbnail->file) : shown;
        html.cell({link, source, thumbnail ? thumbnail->size : QSize(),
                   captions.isEmpty() ? picture.name : captions.at(i - first), false,
                   twiceOf(place)});
    }
    html.end(navigation);
    return true;
}
