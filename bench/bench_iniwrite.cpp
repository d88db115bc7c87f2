// Settings files of 2,000 to 200,000 keys: a keystroke in a folder field of the shown window,
// which stores the folder and rewrites the file, against reading, writing, syncing and renaming
// the same file in C; the window's start-up; and iniread alone.
#include "app/frmZentra.h"
#include "cPairTimer.h"
#include "common/cConsoleDesktop.h"
#include "common/cOption.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {
QByteArray settings(int keys, const QString &folder)
{
    QByteArray bytes("; generated\r\n[Folders]\r\nINPATH=Input folder|255|" + folder.toUtf8() +
                     "\r\nOUTPATH=Output folder|255|" + folder.toUtf8() + "\r\n");
    for (int k = 0; k < keys - 2; ++k) {
        if (k % 100 == 0)
            bytes += "[Section " + QByteArray::number(k / 100) + "]\r\n";
        bytes += "KEY_" + QByteArray::number(k) + "=Description of the key|20|value " +
                 QByteArray::number(k) + "\r\n";
    }
    return bytes;
}

// What the keystroke costs at the least: the file read, written beside itself, synced, renamed.
void rewriteInC(const char *path, const char *temporary)
{
    const int in = ::open(path, O_RDONLY);
    std::vector<char> bytes(size_t(::lseek(in, 0, SEEK_END)));
    ::pread(in, bytes.data(), bytes.size(), 0);
    ::close(in);
    const int out = ::open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(out, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
        std::perror("write");
    ::fsync(out);
    ::close(out);
    ::rename(temporary, path);
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cConsoleDesktop desktop;
    cDesktop::install(&desktop);
    const cPairTimer timer;
    QTemporaryDir dir;
    const QString path = dir.filePath("QDX.ini");
    const QByteArray native = QFile::encodeName(path);
    const QByteArray temporary = QFile::encodeName(dir.filePath("copy.tmp"));
    for (const int keys : {2000, 20000, 100000, 200000}) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(settings(keys, dir.path() + "/"));
        file.close();
        const QString size = QString::number(keys);
        {
            std::unique_ptr<frmZentra> started;
            timer.row(
                "start-up (Form_Load)", size,
                [&] {
                    started = std::make_unique<frmZentra>(dir.path());
                    started->Form_Load();
                },
                QString(), {}, [&] { started.reset(); });
        }
        frmZentra window(dir.path());
        window.Form_Load();
        window.show();
        auto *field = window.findChild<QLineEdit *>("txtInPath");
        field->setFocus();
        int typed = 0;
        timer.row(
            "keystroke in a folder field", size,
            [&] { field->insert(QString::number(typed++ % 10)); }, "C read, write, fsync, rename",
            [&] { rewriteInC(native.constData(), temporary.constData()); });
        timer.row("iniread", size, [&] { gOption.iniread(path); });
    }
    return 0;
}
