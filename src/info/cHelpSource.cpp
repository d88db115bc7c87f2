#include "info/cHelpSource.h"

#include "common/modUtil1.h"

namespace {
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

cHelpSource::Topic cHelpSource::topic(const QString &line)
{
    Topic topic;
    while (topic.level < line.size() && line.at(topic.level) == QLatin1Char('\t'))
        ++topic.level;
    QString text = line;
    modUtil1::replaceAll(text, QStringLiteral("\t"), QStringLiteral(" "));
    text = trimSpaces(text);
    topic.title = trimSpaces(modUtil1::getToken(text, QLatin1Char('|'), 1));
    topic.target = modUtil1::getToken(text, QLatin1Char('|'), 2);
    return topic;
}

bool cHelpSource::opens(const QString &target)
{
    return target.startsWith(QLatin1String("http")) || target.startsWith(QLatin1String("mailto"));
}
