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
    bool refused = std::any_of(m_pages.cbegin(), m_pages.cend(),
                               [](const auto &page) { return page->writeFailed(); });
    cError error;
    std::map<QString, QStringList> names; // by folder
    std::vector<std::pair<QString, cAtomicFile::Kept>> placed;
    for (const auto &page : m_pages) {
        const QFileInfo file(page->path());
        names[file.path()].append(file.fileName());
        if (refused) {
            page->discard();
            continue;
        }
        cAtomicFile::Kept kept;
        if (const cError failed = page->commit(kept); failed.failed()) {
            failedPage = page->path();
            error = cError(cError::DeviceIO,
                           QStringLiteral("The page could not replace the one before it: ") +
                               failed.description());
            refused = true;
        } else if (kept.replaced) {
            placed.emplace_back(page->path(), kept);
        }
    }
    // One page that could not take its place takes the others back with it.
    for (auto it = placed.crbegin(); it != placed.crend(); ++it) {
        if (error.failed())
            cAtomicFile::putBack(it->first, it->second);
        else
            cAtomicFile::forget(it->second);
    }
    m_pages.clear();
    for (const auto &[folder, inFolder] : names)
        cAtomicFile::removeStale(folder, inFolder);
    return error;
}
