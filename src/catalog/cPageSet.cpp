#include "catalog/cPageSet.h"

#include "common/cAtomicFile.h"
#include "common/cError.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <map>

cPageFile &cPageSet::add()
{
    m_pages.push_back(std::make_unique<cPageFile>());
    return *m_pages.back();
}

cError cPageSet::place(QString &failedPage)
{
    const bool refused = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                     [](const auto &page) { return page->writeFailed(); });
    cError error;
    std::map<QString, QStringList> names; // by folder
    for (const auto &page : m_pages) {
        const QFileInfo file(page->path());
        names[file.path()].append(file.fileName());
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
    for (const auto &[folder, inFolder] : names)
        cAtomicFile::removeStale(folder, inFolder);
    return error;
}
