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

bool cPageSet::place(const QString &folder, QString &failedPage, cError &error)
{
    const bool refused = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                     [](const auto &page) { return page->writeFailed(); });
    bool placedAll = true;
    QStringList names;
    for (const auto &page : m_pages) {
        names.append(QFileInfo(page->path()).fileName());
        if (refused) {
            page->discard();
            continue;
        }
        QString reason;
        if (!page->commit(reason) && placedAll) {
            placedAll = false;
            failedPage = page->path();
            error =
                cError(cError::DeviceIO,
                       QStringLiteral("The page could not replace the one before it: ") + reason);
        }
    }
    m_pages.clear();
    cAtomicFile::removeStale(folder, names);
    return placedAll;
}
