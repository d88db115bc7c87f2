// SPDX-License-Identifier: MIT
#include "app/frmZentra.h"
#include "common/cProgramPlace.h"
#include "desktop/cRealDesktop.h"
#include "common/modUtil1.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <csignal>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A file size limit must fail the write and be reported, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName(QStringLiteral("qdx"));
    cRealDesktop desktop;
    cDesktop::install(&desktop);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qdx.QDX"));
    const cProgramPlace place = cProgramPlace::forProgram(QCoreApplication::applicationDirPath());
    modUtil1::setLogFolder(place.logFolder());
    frmZentra window(place);
    window.Form_Load();
    window.adjustSize();
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           app.primaryScreen()->availableGeometry()));
    window.show();
    return app.exec();
}
