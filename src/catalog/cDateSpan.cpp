#include "catalog/cDateSpan.h"

#include <QLocale>

void cDateSpan::add(const cPicture &picture)
{
    if (!picture.facts || !picture.facts->dated)
        return;
    const QDate date = picture.facts->taken.date();
    if (!m_first.isValid() || date < m_first)
        m_first = date;
    if (!m_last.isValid() || date > m_last)
        m_last = date;
}

void cDateSpan::add(const cDateSpan &other)
{
    if (other.isEmpty())
        return;
    if (isEmpty() || other.m_first < m_first)
        m_first = other.m_first;
    if (isEmpty() || other.m_last > m_last)
        m_last = other.m_last;
}

QString cDateSpan::day(const QDate &date)
{
    return QLocale::c().toString(date, QStringLiteral("d MMMM yyyy"));
}

QString cDateSpan::text() const
{
    if (isEmpty())
        return {};
    const QLocale c = QLocale::c();
    if (m_first == m_last)
        return day(m_first);
    if (m_first.year() != m_last.year())
        return day(m_first) + QStringLiteral(" - ") + day(m_last);
    if (m_first.month() != m_last.month())
        return c.toString(m_first, QStringLiteral("d MMMM")) + QStringLiteral(" - ") + day(m_last);
    return QString::number(m_first.day()) + QLatin1Char('-') + day(m_last);
}

QString cDateSpan::summary(qsizetype count) const
{
    const QString pictures =
        count == 1 ? QStringLiteral("1 picture") : QStringLiteral("%1 pictures").arg(count);
    return isEmpty() ? pictures : pictures + QStringLiteral(", ") + text();
}
