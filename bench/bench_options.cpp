// Opening the options dialog and pressing "OK" offscreen, for settings files of 250, 500 and
// 1,000 keys (20 sections with 50 keys each is the 1,000 case).
#include "common/cConsoleDesktop.h"
#include "common/cOption.h"
#include "options/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QByteArray settings(int sections, int keysPerSection)
{
    QByteArray bytes;
    for (int s = 0; s < sections; ++s) {
        bytes += "[Section " + QByteArray::number(s) + "]\r\nHEAD_" + QByteArray::number(s) +
                 "=Heading of the section\r\n";
        for (int k = 1; k < keysPerSection; ++k) {
            const QByteArray key = "KEY_" + QByteArray::number(s) + "_" + QByteArray::number(k);
            bytes += k % 5 == 0 ? key + "=A yes/no key|-1|1\r\n"
                                : key + "=A text key|20|value " + QByteArray::number(k) + "\r\n";
        }
    }
    return bytes;
}
// The same rows laid out by hand on one plain page, for comparison.
void handBuilt(int keys)
{
    QDialog dialog;
    auto *page = new QWidget(&dialog);
    for (int k = 0; k < keys; ++k) {
        auto *label = new QLabel(QStringLiteral("A text key"), page);
        label->setGeometry(7, 25 * k, 190, 24);
        QWidget *control = k % 5 == 0 ? static_cast<QWidget *>(new QCheckBox(page))
                                      : new QLineEdit(QStringLiteral("value"), page);
        control->setGeometry(267, 25 * k, 200, 19);
    }
    dialog.show();
    QCoreApplication::processEvents();
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cConsoleDesktop desktop;
    cDesktop::install(&desktop);
    QTemporaryDir dir;
    const QString path = dir.filePath("QDX.ini");
    for (const int sections : {5, 10, 20}) {
        const int keys = sections * 50;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(settings(sections, 50));
        file.close();
        gOption.iniread(path);
        const int rounds = 5;
        qint64 openNs = 0;
        qint64 okNs = 0;
        qint64 handNs = 0;
        qint64 writeNs = 0;
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer timer;
            timer.start();
            frmOptions dialog;
            dialog.Form_Load();
            dialog.show();
            QCoreApplication::processEvents();
            openNs += timer.nsecsElapsed();
            timer.restart();
            dialog.cmdOK_Click();
            okNs += timer.nsecsElapsed();
            timer.restart();
            handBuilt(keys);
            handNs += timer.nsecsElapsed();
            timer.restart();
            gOption.iniwrite();
            writeNs += timer.nsecsElapsed();
        }
        std::printf("| options dialog opening | %d keys | %.1f | the same rows laid out by hand | "
                    "%.1f | %.2f |\n",
                    keys, openNs / 1e6 / rounds, handNs / 1e6 / rounds, double(openNs) / handNs);
        std::printf("| options \"OK\" | %d keys | %.1f | iniwrite alone | %.1f | %.2f |\n", keys,
                    okNs / 1e6 / rounds, writeNs / 1e6 / rounds, double(okNs) / writeNs);
    }
    return 0;
}
