#include "info/cHelpSource.h"

#include "common/modUtil1.h"

#include <QDir>
#include <QFileInfo>

cHelpSource::Topic cHelpSource::topic(const QString &line)
{
    Topic topic;
    while (topic.level < line.size() && line.at(topic.level) == QLatin1Char('\t'))
        ++topic.level;
    QString text = line;
    modUtil1::replaceAll(text, QStringLiteral("\t"), QStringLiteral(" "));
    text = modUtil1::withoutBlanks(QStringView(text)).toString();
    topic.title = modUtil1::withoutBlanks(modUtil1::tokenOf(text, QLatin1Char('|'), 1)).toString();
    topic.target = modUtil1::getToken(text, QLatin1Char('|'), 2);
    return topic;
}

QString cHelpSource::localPage(const QString &folder, const QString &target)
{
    if (!target.endsWith(QLatin1String(".htm")) || QDir::isAbsolutePath(target) ||
        target.contains(QLatin1String("..")))
        return QString();
    const QFileInfo page(QDir(folder).filePath(target));
    return page.isFile() ? page.absoluteFilePath() : QString();
}

bool cHelpSource::opens(const QString &target)
{
    return target.startsWith(QLatin1String("http")) || target.startsWith(QLatin1String("mailto"));
}
