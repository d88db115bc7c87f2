// Any bytes as a help source: read into topics without a crash, each topic a title and a target
// without the bar that separates them.
#include "cTestFiles.h"
#include "common/cTextFile.h"
#include "info/cHelpSource.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QDX.hlp"));
    cTestFiles::write(path, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const QString &line : cTextFile::readLines(path)) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            std::abort();
        const cHelpSource::Topic topic = cHelpSource::topic(line);
        if (topic.level < 0 || topic.title.contains(QLatin1Char('|')))
            std::abort();
        cHelpSource::opens(topic.target);
    }
    return 0;
}
