#include "cCatalogCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    return cCatalogCommand::run(
        arguments, QDir(QCoreApplication::applicationDirPath()).filePath("QDX.ini"), out, err);
}
