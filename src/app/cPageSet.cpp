#include "app/cPageSet.h"

#include "common/cAtomicFile.h"
#include "common/cError.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

cPageFile &cPageSet::add()
{
    m_pages.push_back(std::make_unique<cPageFile>());
    return *m_pages.back();
}

cError cPageSet::place(const QString &folder, QString &failedPage)
{
    const bool refused = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                     [](const auto &page) { return page->writeFailed(); });
    cError error;
    QStringList names;
    for (const auto &page : m_pages) {
        names.append(QFileInfo(page->path()).fileName());
        if (refused) {
            page->discard();
            continue;
        }
        const cError placed = page->commit();
        if (placed.failed() && !error.failed()) {
            failedPage = page->path();
            error = cError(cError::DeviceIO,
                           QStringLiteral("The page could not replace the one before it: ") +
                               placed.description());
        }
    }
    m_pages.clear();
    cAtomicFile::removeStale(folder, names);
    return error;
}
