#include "catalog/cCatalogPlan.h"

#include "catalog/cCatalogPage.h"
#include "catalog/cPicturePage.h"
#include "common/cOption.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

cCatalogPlan::cCatalogPlan(const cOption &options, const QString &outPath)
    : m_settings(options),
      m_places(outPath, options.getStrVal(QStringLiteral("DOCFILE")), m_settings.thumbnailFolder())
{
    if (const QString copies = m_settings.copyFolder(); !copies.isEmpty())
        m_copyFolder = m_places.folderUnder(cSettings::name(cSettings::CopyDir), copies);
    if (!m_places.thumbnailFolder().isEmpty()) {
        // Rows that fill the width take their thumbnails at the row's height, a panorama up to
        // three times as wide.
        const int row = m_settings.rowHeight();
        const QSize box = row > 0
                              ? QSize(3 * row, row)
                              : QSize(std::max<int>(1, options.getIntVal(QStringLiteral("IMGW"))),
                                      std::max<int>(1, options.getIntVal(QStringLiteral("IMGH"))));
        m_sizes.append({m_places.thumbnailFolder(), box});
        m_kinds.append(Thumbnail);
        if (m_settings.forPhones()) {
            m_sizes.append({m_places.thumbnailFolder(), box * 2});
            m_kinds.append(Twice);
        }
    }
    if (!m_copyFolder.isEmpty()) {
        const int edge = m_settings.copySize();
        m_sizes.append({m_copyFolder, QSize(edge, edge), true, m_settings.copiesKeepFacts()});
        m_kinds.append(Copy);
    }
    if (m_settings.writesStyleSheet())
        m_styleSheet =
            m_places.absolutePageFolder() + QLatin1Char('/') + cCatalogPage::styleSheetName();
}

QStringList cCatalogPlan::ownFolders() const
{
    QStringList folders;
    for (const cThumbnailer::Size &size : m_sizes) {
        if (!folders.contains(size.folder))
            folders.append(size.folder);
    }
    return folders;
}

void cCatalogPlan::makeOwnFolders() const
{
    // Where a link stands, the files would go wherever it leads.
    for (qsizetype i = 0; i < m_sizes.size(); ++i)
        m_places.makeFolder(
            cSettings::name(m_kinds.at(i) == Copy ? cSettings::CopyDir : cSettings::ThumbDir),
            m_sizes.at(i).folder);
}

const cCatalogPlan::Outputs cCatalogPlan::s_nothingMade;

void cCatalogPlan::place(const QList<cPicture> &pictures, const QString &inPath,
                         QList<QList<cThumbnailer::Thumbnail>> made)
{
    const bool anyMade = !made.isEmpty() || m_settings.picturePages();
    m_outputs.assign(anyMade ? size_t(pictures.size()) : 0, Outputs());
    for (qsizetype kind = 0; kind < made.size(); ++kind) {
        QList<cThumbnailer::Thumbnail> &ofKind = made[kind];
        for (qsizetype i = 0; i < ofKind.size(); ++i) {
            Outputs &outputs = m_outputs[size_t(i)];
            switch (m_kinds.at(kind)) {
            case Thumbnail:
                outputs.thumbnail = std::move(ofKind[i]);
                break;
            case Twice:
                outputs.twice = std::move(ofKind[i]);
                break;
            case Copy:
                outputs.copy = std::move(ofKind[i]);
                break;
            }
        }
    }
    const cAlbums::Grouping grouping = m_settings.makesMonthAlbums() ? cAlbums::ByMonth
                                       : m_settings.makesAlbums() && !inPath.isEmpty()
                                           ? cAlbums::ByFolder
                                           : cAlbums::None;
    m_albums.emplace(pictures, grouping, inPath);
    m_albumPages.clear();
    for (const cAlbums::Album &album : m_albums->all()) {
        const QString toTop = QStringLiteral("../").repeated(
            album.path.isEmpty() ? 0 : album.path.count(QLatin1Char('/')) + 1);
        m_albumPages.push_back({m_places.albumPath(album.path),
                                m_places.absoluteAlbumFolder(album.path), toTop,
                                cCatalogPages(m_places.pageName(), qsizetype(album.pictures.size()),
                                              m_settings.pageSize())});
    }
    if (m_settings.picturePages())
        namePicturePages(pictures);
}

void cCatalogPlan::namePicturePages(const QList<cPicture> &pictures)
{
    const auto stemOf = [&](qsizetype place) {
        const Outputs &made = m_outputs[size_t(place)];
        for (const cThumbnailer::Thumbnail *kind : {&made.thumbnail, &made.twice, &made.copy}) {
            if (!kind->stem.isEmpty())
                return kind->stem;
        }
        return cThumbnailer::stem(pictures.at(place));
    };
    for (const cAlbums::Album &album : m_albums->all()) {
        QSet<QString> taken;
        for (const quint32 place : album.pictures) {
            // The very same picture twice in one album (from two folders) gets a page each.
            const QString stem = stemOf(place);
            QString name = cPicturePage::fileName(stem);
            for (int second = 2; taken.contains(name); ++second)
                name = cPicturePage::fileName(stem + QLatin1Char('-') + QString::number(second));
            taken.insert(name);
            m_outputs[place].page = name;
        }
    }
}

void cCatalogPlan::makeAlbumFolders() const
{
    for (const cAlbums::Album &album : m_albums->all())
        m_places.albumFolder(album.path);
}

QStringList cCatalogPlan::files() const
{
    QStringList files;
    for (const Outputs &made : m_outputs) {
        for (const auto &[folder, kind] : {std::pair{&m_places.thumbnailFolder(), &made.thumbnail},
                                           std::pair{&m_places.thumbnailFolder(), &made.twice},
                                           std::pair{&m_copyFolder, &made.copy}}) {
            if (!kind->file.isEmpty())
                files.append(*folder + QLatin1Char('/') + kind->file);
        }
    }
    if (!m_styleSheet.isEmpty() && m_styleSheetOurs)
        files.append(m_styleSheet);
    for (size_t i = 0; m_albums && i < m_albums->all().size(); ++i) {
        const Album &pages = m_albumPages[i];
        for (const quint32 place : m_albums->all()[i].pictures) {
            if (const QString &page = outputs(place).page; !page.isEmpty())
                files.append(pages.absolute + QLatin1Char('/') + page);
        }
        for (int number = 1; number <= pages.pages.count(); ++number)
            files.append(pages.absolute + QLatin1Char('/') + pages.pages.fileName(number));
    }
    return files;
}

cCatalogPlan::Own cCatalogPlan::ownKindOf(const QString &path) const
{
    if (path == m_styleSheet)
        return Own::StyleSheet;
    const QFileInfo file(path);
    const QString folder = file.path();
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("jpg") && ownFolders().contains(folder))
        return Own::Picture;
    const QString &pages = m_places.absolutePageFolder();
    const bool inPages = folder == pages || folder.startsWith(pages + QLatin1Char('/'));
    const bool page = suffix == QLatin1String("htm") || suffix == QLatin1String("html") ||
                      suffix == QFileInfo(m_places.pageName()).suffix().toLower();
    return inPages && page ? Own::Page : Own::Not;
}
