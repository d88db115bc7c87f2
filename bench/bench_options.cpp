// Opening the options dialog and pressing "OK" offscreen, for settings files of 250, 500 and
// 1,000 keys (20 sections with 50 keys each is the 1,000 case).
#include "cDesktop.h"
#include "cOption.h"
#include "frmOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
class SilentDesktop : public cDesktop
{
public:
    void message(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString chooseFolder(QWidget *, const QString &) override { return QString(); }
    bool openUrl(const QUrl &) override { return false; }
    int showModal(QDialog *) override { return 0; }
    void beep() override {}
};

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
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentDesktop desktop;
    cDesktop::install(&desktop);
    QTemporaryDir dir;
    const QString path = dir.filePath("QDX.ini");
    std::printf("%6s %10s %10s   (goals for 1000 keys: open < 500 ms, OK < 100 ms)\n", "keys",
                "open ms", "OK ms");
    for (const int sections : {5, 10, 20}) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(settings(sections, 50));
        file.close();
        gOption.iniread(path);
        const int rounds = 5;
        qint64 openNs = 0;
        qint64 okNs = 0;
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
        }
        std::printf("%6d %10.1f %10.1f\n", sections * 50, openNs / 1e6 / rounds,
                    okNs / 1e6 / rounds);
    }
    return 0;
}
