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
        // Every key goes through the writer, and the file is really replaced.
        gOption.chgStrVal("KEY_5_5", QString::number(i));
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

    std::printf("| iniread, 2,000 keys in 20 sections | | %.2f | | | |\n", loadMs);
    std::printf("| iniwrite, one value changed | | %.2f | copy of the file | %.2f | %.2f |\n",
                writeMs, copyMs, writeMs / copyMs);
    std::printf(
        "| iniwrite, first after loading (every key) | | %.2f | copy of the file | %.2f | %.2f |\n",
        fullMs, copyMs, fullMs / copyMs);
    return 0;
}
