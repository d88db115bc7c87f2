#include "catalog/cOwnMark.h"

#include "catalog/cCatalogPage.h"
#include "pictures/cThumbnailer.h"

#include <QByteArray>
#include <unistd.h>

namespace {
// A page's mark is among its first lines, a JPEG's comment before its pixels.
constexpr qsizetype pageHead = 1024;
constexpr qsizetype pictureHead = 64 * 1024;

QByteArray headOf(int file, qsizetype size)
{
    QByteArray head(size, '\0');
    const ssize_t read = ::pread(file, head.data(), size_t(size), 0);
    head.resize(read > 0 ? qsizetype(read) : 0);
    return head;
}
} // namespace

bool cOwnMark::carries(cCatalogPlan::Own kind, int file)
{
    switch (kind) {
    case cCatalogPlan::Own::Page:
        return headOf(file, pageHead).contains(cCatalogPage::markLine().toUtf8());
    case cCatalogPlan::Own::Picture: {
        const QByteArray head = headOf(file, pictureHead);
        return head.startsWith("\xFF\xD8") &&
               head.contains((cThumbnailer::stampKey() + QStringLiteral(": ")).toUtf8());
    }
    case cCatalogPlan::Own::StyleSheet: {
        const QByteArray sheet = cCatalogPage::styleSheet();
        return headOf(file, sheet.size() + 1) == sheet;
    }
    case cCatalogPlan::Own::Not:
        break;
    }
    return false;
}
