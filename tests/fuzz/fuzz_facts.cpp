// Any bytes as a picture, under each name the program gathers: its facts are read without a
// crash or a hang, the time taken always valid and the title without blanks at its ends.
#include "cTestFiles.h"
#include "pictures/cPictureFacts.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<cPicture> pictures;
    for (const char *name : {"a.jpg", "a.png", "a.heic", "a.tif", "a.webp", "a.gif"}) {
        cTestFiles::write(dir.filePath(QString::fromLatin1(name)), bytes);
        pictures.append({dir.path() + QLatin1Char('/'), QString::fromLatin1(name), {}});
    }
    cPictureFacts facts;
    facts.read(pictures);
    for (const cPicture &picture : pictures) {
        if (!picture.facts || !picture.taken().isValid() ||
            picture.title() != picture.title().trimmed())
            std::abort();
    }
    return 0;
}
