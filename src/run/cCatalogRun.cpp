#include "run/cCatalogRun.h"

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
    for (const QString &report : {written.result.thumbnailReport(), written.result.placeReport()}) {
        if (!report.isEmpty())
            written.warnings.append(report);
    }
    return written;
}
