// Gathering a tree of many folders, against find over the same tree.
//   bench_folders wide COUNT   COUNT empty folders side by side, and one picture
//   bench_folders deep COUNT   COUNT folders each inside the one before, and one picture
#include "cPairTimer.h"
#include "pictures/cImageFinder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool deep = QByteArray(argv[1]) == "deep";
    const int count = QString(argv[2]).toInt();
    QTemporaryDir dir;
    QString folder = dir.path();
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("d%1").arg(i, 6, 10, QLatin1Char('0'));
        if (deep) {
            // Made from the one before, as a path this deep is more than the system takes.
            QDir::setCurrent(folder);
            QDir().mkdir(name);
            folder = name;
        } else {
            QDir(folder).mkdir(name);
        }
    }
    QDir::setCurrent(dir.path());
    QFile picture(dir.filePath(QStringLiteral("a.jpg")));
    picture.open(QIODevice::WriteOnly);
    cImageFinder::Request request;
    request.subfolders = true;
    cPairTimer(1).row(
        deep ? QStringLiteral("Get Images, folders inside each other")
             : QStringLiteral("Get Images, empty folders side by side"),
        QString::number(count),
        [&] { cImageFinder::find(dir.path() + QDir::separator(), request); },
        QStringLiteral("find -type d"),
        [&] {
            cPairTimer::runProgram(QStringLiteral("find"),
                                   {dir.path(), QStringLiteral("-type"), QStringLiteral("d")});
        });
    // rm goes as deep as the tree does.
    dir.setAutoRemove(false);
    cPairTimer::runProgram(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path()});
    return 0;
}
