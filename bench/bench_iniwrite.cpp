// Load and iniwrite of a settings file of 2,000 keys in 20 sections, against copying the file.
#include "cOption.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("QDX.ini");
    QByteArray bytes("; generated\r\n");
    for (int s = 0; s < 20; ++s) {
        bytes += "[Section " + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 100; ++k)
            bytes += "KEY_" + QByteArray::number(s) + "_" + QByteArray::number(k) +
                     "=Description of the key|20|value " + QByteArray::number(k) + "\r\n";
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();

    const int rounds = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        gOption.iniread(path);
    const double loadMs = timer.nsecsElapsed() / 1e6 / rounds;

    qint64 fullNs = 0;
    for (int i = 0; i < rounds; ++i) {
        gOption.iniread(path);
        timer.restart();
        gOption.iniwrite();
        fullNs += timer.nsecsElapsed();
    }
    const double fullMs = fullNs / 1e6 / rounds;

    timer.restart();
    for (int i = 0; i < rounds; ++i) {
        // A changed value each round, so every call really replaces the file.
        gOption.chgStrVal("KEY_10_50", QString::number(i));
        gOption.iniwrite();
    }
    const double writeMs = timer.nsecsElapsed() / 1e6 / rounds;

    timer.restart();
    for (int i = 0; i < rounds; ++i) {
        const QString copy = dir.filePath("copy.ini");
        QFile::remove(copy);
        QFile::copy(path, copy);
    }
    const double copyMs = timer.nsecsElapsed() / 1e6 / rounds;

    std::printf("settings file: %lld bytes, 2000 keys in 20 sections\n",
                static_cast<long long>(bytes.size()));
    std::printf("iniread   %8.3f ms\n", loadMs);
    std::printf("iniwrite, first after loading (every key) %8.3f ms\n", fullMs);
    std::printf("iniwrite, one value changed             %8.3f ms\n", writeMs);
    std::printf("file copy %8.3f ms\n", copyMs);
    std::printf("iniwrite / copy = %.2f, first after loading / copy = %.2f (goal: at most 3)\n",
                writeMs / copyMs, fullMs / copyMs);
    return 0;
}
