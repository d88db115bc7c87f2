#include "catalog/cCatalogPages.h"

#include "catalog/cPictureLinks.h"

#include <QStringList>
#include <algorithm>

cCatalogPages::cCatalogPages(const QString &firstName, qsizetype pictures, qsizetype pageSize)
    : m_firstName(firstName), m_pictures(pictures), m_pageSize(std::max<qsizetype>(0, pageSize)),
      m_count(m_pageSize > 0 ? int(std::max<qsizetype>(1, (pictures + m_pageSize - 1) / m_pageSize))
                             : 1)
{
}

qsizetype cCatalogPages::first(int number) const
{
    return m_pageSize > 0 ? (number - 1) * m_pageSize : 0;
}

qsizetype cCatalogPages::size(int number) const
{
    return m_pageSize > 0 ? std::min(m_pictures, first(number) + m_pageSize) - first(number)
                          : m_pictures;
}

QString cCatalogPages::fileName(int number) const
{
    if (number == 1)
        return m_firstName;
    // The number goes before the extension.
    const qsizetype dot = m_firstName.lastIndexOf(QLatin1Char('.'));
    const qsizetype at = dot > 0 ? dot : m_firstName.size();
    return m_firstName.left(at) + QString::number(number) + m_firstName.mid(at);
}

QString cCatalogPages::navigation(int number) const
{
    if (m_count == 1)
        return QString();
    const auto link = [this](int target, const QString &text) -> QString {
        return QStringLiteral("<a href=\"") + cPictureLinks::linkName(fileName(target)) +
               QStringLiteral("\">") + text + QStringLiteral("</a>");
    };
    QStringList parts;
    if (number > 1)
        parts.append(link(number - 1, QStringLiteral("&lt;")));
    // The first and the last page, and three on either side of this one: the line stays short
    // however many pages there are.
    int shown = 0;
    for (int target = 1; target <= m_count; ++target) {
        if (target != 1 && target != m_count && std::abs(target - number) > 3)
            continue;
        if (shown != 0 && target > shown + 1)
            parts.append(QStringLiteral("..."));
        parts.append(target == number ? QStringLiteral("<b>%1</b>").arg(target)
                                      : link(target, QString::number(target)));
        shown = target;
    }
    if (number < m_count)
        parts.append(link(number + 1, QStringLiteral("&gt;")));
    return QStringLiteral("<p>") + parts.join(QLatin1Char(' ')) + QStringLiteral("</p>");
}
