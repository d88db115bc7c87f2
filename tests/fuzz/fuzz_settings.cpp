// Any bytes as a settings file: what the store loads it writes back so that loading the written
// file gives the same sections, keys and values, and writing that again changes nothing.
#include "cTestFiles.h"
#include "common/cError.h"
#include "common/cOption.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
void check(bool holds, const char *what, const QByteArray &bytes)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz_settings: %s for the file (hex) %s\n", what,
                 bytes.toHex().constData());
    std::abort();
}

void load(cOption &store, const QString &path)
{
    try {
        store.iniread(path);
    } catch (const cError &) {
        // A stopped load keeps what it read; that is what gets written.
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("QDX.ini"));
    const QByteArray original(reinterpret_cast<const char *>(data), qsizetype(size));
    cTestFiles::write(path, original);
    const QStringList loaded = cTestFiles::loaded(path);

    cOption first;
    load(first, path);
    check(first.iniwrite(), "the write failed", original);
    const QByteArray written = cTestFiles::read(path);
    check(cTestFiles::loaded(path) == loaded, "the written file loads otherwise", original);

    cOption second;
    load(second, path);
    check(second.iniwrite(), "the second write failed", original);
    check(cTestFiles::read(path) == written, "a second write changed the file", original);
    return 0;
}
