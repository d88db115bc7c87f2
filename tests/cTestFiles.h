#pragma once

#include <QByteArray>
#include <QString>

// Whole files as bytes, for tests that write inputs and compare outputs exactly.
struct cTestFiles
{
    static QByteArray read(const QString &path);
    static void write(const QString &path, const QByteArray &bytes);
    // A [Page] section holding every key the catalog page reads.
    static QByteArray pageSettings(int imageNames, int columns);
};
