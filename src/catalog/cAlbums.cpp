#include "catalog/cAlbums.h"

#include <QDir>
#include <QHash>
#include <QLocale>
#include <algorithm>

cAlbums::cAlbums(const QList<cPicture> &pictures, Grouping grouping, const QString &root)
{
    m_albums.emplace_back();
    const QString top = QDir::fromNativeSeparators(root);
    int last = 0;
    QString lastFolder;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const QString &folder = pictures.at(i).folder;
        if (grouping == ByMonth) {
            const cPicture &picture = pictures.at(i);
            const QDate taken =
                picture.facts && picture.facts->dated ? picture.facts->taken.date() : QDate();
            last = albumOf(taken.isValid() ? QStringLiteral("%1/%2")
                                                 .arg(taken.year())
                                                 .arg(taken.month(), 2, 10, QLatin1Char('0'))
                                           : QString());
            if (m_albums[size_t(last)].parent > 0)
                m_albums[size_t(last)].title = QLocale::c().monthName(taken.month()) +
                                               QLatin1Char(' ') + QString::number(taken.year());
        }
        // Pictures come in runs of one folder: its album is looked up once for its run.
        if (grouping == ByFolder && (i == 0 || folder != lastFolder)) {
            lastFolder = folder;
            const QString path = QDir::fromNativeSeparators(folder);
            const QString below = path.startsWith(top) && path.size() > top.size()
                                      ? QDir::cleanPath(path.mid(top.size()))
                                      : QString();
            last = albumOf(below);
        }
        m_albums[size_t(last)].pictures.push_back(quint32(i));
    }
    // An album comes after the one it is in: from the last, each adds itself to its parent.
    for (size_t album = m_albums.size(); album-- > 0;) {
        Album &here = m_albums[album];
        here.total += qsizetype(here.pictures.size());
        if (!here.pictures.empty() &&
            (here.cover < 0 || qsizetype(here.pictures.front()) < here.cover))
            here.cover = here.pictures.front();
        if (here.parent < 0)
            continue;
        Album &parent = m_albums[size_t(here.parent)];
        parent.total += here.total;
        if (parent.cover < 0 || here.cover < parent.cover)
            parent.cover = here.cover;
    }
    for (Album &album : m_albums) {
        std::sort(album.children.begin(), album.children.end(), [this](int a, int b) {
            return QString::compare(m_albums[size_t(a)].name, m_albums[size_t(b)].name,
                                    Qt::CaseInsensitive) < 0;
        });
    }
}

int cAlbums::albumOf(const QString &path)
{
    if (path.isEmpty() || path == QLatin1String("."))
        return 0;
    const auto found = m_places.constFind(path);
    if (found != m_places.cend())
        return *found;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const int parent = albumOf(slash < 0 ? QString() : path.left(slash));
    Album album;
    album.path = path;
    album.name = path.mid(slash + 1);
    album.title = album.name;
    album.parent = parent;
    m_albums.push_back(album);
    const int made = int(m_albums.size() - 1);
    m_albums[size_t(parent)].children.push_back(made);
    m_places.insert(path, made);
    return made;
}
