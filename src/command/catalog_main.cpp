// SPDX-License-Identifier: MIT
#include "command/cCatalogCommand.h"
#include "common/cProgramPlace.h"

#include <QCoreApplication>
#include <QTextStream>
#include <csignal>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A file size limit must fail the write and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // The image library's warnings about single pictures would fall between the program's own
    // lines; each such picture is in the log with its reason already.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << "qdx-catalog: " << message << "\n";
    });
    QCoreApplication::setApplicationName(QStringLiteral("qdx"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    return cCatalogCommand::run(arguments,
                                cProgramPlace::forProgram(QCoreApplication::applicationDirPath()),
                                out, err, ::isatty(STDERR_FILENO) == 1);
}
