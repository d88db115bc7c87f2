#include "run/cCatalogRun.h"

#include "pictures/cImageFinder.h"
#include "settings/cSettings.h"

cCatalogRun::cCatalogRun(const cOption &options, int jobs)
    : m_options(options), m_jobs(jobs), m_gathering(options)
{
}

cCatalogRun::Gathered cCatalogRun::gather(const QString &folder, bool gif, bool jpg,
                                          const QString &outFolder,
                                          const cGathering::Progress &progress)
{
    cGathering::Result found = m_gathering.gather(folder, gif, jpg, outFolder, progress);
    Gathered gathered{std::move(found.pictures), cSettings::takeProblems(), found.problem};
    if (!found.unreadableTypes.isEmpty())
        gathered.warnings.append(QStringLiteral("this computer cannot read ") +
                                 found.unreadableTypes.join(QStringLiteral(", ")) +
                                 QStringLiteral(" pictures; they are not gathered"));
    if (found.unreadableNames > 0)
        gathered.warnings.append(
            QStringLiteral("pictures left out, as their names cannot be read: %1")
                .arg(found.unreadableNames));
    if (found.tooDeep > 0)
        gathered.warnings.append(
            QStringLiteral(
                "folders left out, with all they hold, as they lie more than %1 folders deep: %2")
                .arg(cImageFinder::maxDepth)
                .arg(found.tooDeep));
    return gathered;
}

cCatalogRun::Written cCatalogRun::write(const QString &outPath, QList<cPicture> pictures,
                                        cProgress *progress, const QString &inPath, bool prune)
{
    if (cPictureFacts::neededToWrite(cSettings(m_options)))
        m_gathering.readFacts(pictures);
    cCatalogWriter writer(m_options, m_jobs);
    if (prune)
        writer.setPruning(true);
    Written written{writer.write(outPath, pictures, progress, inPath), cSettings::takeProblems()};
    if (!written.result.ok)
        return written;
    for (const QString &report : {thumbnailReport(written.result), placeReport(written.result)}) {
        if (!report.isEmpty())
            written.warnings.append(report);
    }
    return written;
}

QString cCatalogRun::thumbnailReport(const cCatalogWriter::Result &result)
{
    QStringList parts;
    if (result.unreadable > 0)
        parts.append(
            QStringLiteral("%1 pictures could not be read for thumbnails").arg(result.unreadable));
    if (result.unwritable > 0)
        parts.append(QStringLiteral("%1 thumbnails could not be written").arg(result.unwritable));
    QStringList said;
    if (!parts.isEmpty())
        said.append(parts.join(QStringLiteral(", ")) +
                    QStringLiteral("; their cells show the pictures themselves"));
    if (result.uncopied > 0)
        said.append(QStringLiteral("%1 web copies could not be made; their cells link the "
                                   "pictures themselves")
                        .arg(result.uncopied));
    return said.join(QStringLiteral(". "));
}

QString cCatalogRun::placeReport(const cCatalogWriter::Result &result)
{
    return result.located > 0
               ? QStringLiteral("%1 linked pictures carry the place where they were taken")
                     .arg(result.located)
               : QString();
}
