#pragma once

#include "catalog/cCatalogPage.h"
#include "catalog/cDateSpan.h"
#include "pictures/cPicture.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class cCatalogPlan;
class cOption;
class cPageSet;
class cPictureLinks;
class cProgress;

// Writes the pages of one album after another as the plan of a catalog names them: its pages of
// cells and, with "PICTUREPAGES", a page for each of its pictures, into the pages put in place
// together. Settings errors reach the caller as cError, with marker at the step reached.
class cAlbumWriter
{
public:
    cAlbumWriter(const cOption &options, const cCatalogPlan &plan, const QList<cPicture> &pictures,
                 cPageSet &written, cProgress *progress, int &marker);
    // False when the progress asked to stop; path is the page being written.
    bool write(size_t album, QString &path);

private:
    bool writePage(size_t album, int number, cPictureLinks &links);
    void writePicturePages(size_t album, cPictureLinks &links);
    // The address of what a picture's cell links, or its page shows: its copy for the web where
    // there is one.
    QString pictureLink(cPictureLinks &links, qsizetype place) const;
    // The place of the picture an album's cell shows: its first that has a thumbnail, where
    // thumbnails are made, so a picture that could not be read is never a cover.
    qsizetype coverOf(int album) const;
    bool hasThumbnail(qsizetype place) const;
    // With "HEADINGS": an album's title ("DOCTITLE" for the top), when its pictures and those of
    // the albums inside were taken, and the lines above its table: the trail of the albums
    // above it, its heading and its count and dates.
    QString titleOf(int album) const;
    const cDateSpan &spanOf(int album);
    QString heading(size_t album, const QString &firstPage, const cCatalogPage::Head &head) const;

    const cOption &m_options;
    const cCatalogPlan &m_plan;
    const QList<cPicture> &m_pictures;
    cPageSet &m_written;
    cProgress *m_progress;
    int &m_marker;
    qsizetype m_done = 0;                          // pictures written, for the progress
    std::vector<std::optional<cDateSpan>> m_spans; // of each album, once worked out
};
