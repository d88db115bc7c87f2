// Renders the README's pictures offscreen: the main window with a gathered folder and a preview,
// the options dialog and the help topics, and writes the sample page they lead to.
// Usage: qdx_pictures --draw SAMPLES_FOLDER      draws the sample pictures
//        qdx_pictures SAMPLES_FOLDER OUTPUT_FOLDER HELP_SOURCE
#include "app/frmZentra.h"
#include "common/cConsoleDesktop.h"
#include "common/cOption.h"
#include "info/frmHelp.h"
#include "options/frmOptions.h"
#include "pictures/cPreviewLoader.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Sample pictures drawn here, so the repository holds nothing it did not make itself.
void drawSamples(const QString &folder)
{
    const QList<QPair<QString, QColor>> samples{
        {"sunrise", QColor(255, 140, 60)}, {"lagoon", QColor(40, 160, 200)},
        {"meadow", QColor(90, 180, 80)},   {"dusk", QColor(120, 70, 160)},
        {"harbour", QColor(30, 90, 150)},  {"desert", QColor(220, 180, 100)},
        {"forest", QColor(40, 110, 60)},   {"glacier", QColor(170, 220, 240)}};
    for (int i = 0; i < samples.size(); ++i) {
        QImage picture(240, 180, QImage::Format_RGB32);
        QPainter painter(&picture);
        QLinearGradient sky(0, 0, 0, 180);
        sky.setColorAt(0, samples.at(i).second.lighter(150));
        sky.setColorAt(1, samples.at(i).second.darker(160));
        painter.fillRect(picture.rect(), sky);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(255, 250, 220));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(60 + 15 * i, 55), 22, 22);
        painter.setBrush(samples.at(i).second.darker(220));
        painter.drawPolygon(
            QPolygonF{{0, 180}, {70.0 + 10 * i, 95}, {150, 150}, {200, 110}, {240, 180}});
        painter.end();
        picture.save(QDir(folder).filePath(samples.at(i).first + ".jpg"), "JPG", 80);
    }
}

bool save(QWidget *window, const QString &path)
{
    window->show();
    QCoreApplication::processEvents();
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QString(argv[1]) == QLatin1String("--draw")) {
        QDir().mkpath(argv[2]);
        drawSamples(argv[2]);
        return 0;
    }
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: qdx_pictures [--draw] SAMPLES_FOLDER [OUTPUT_FOLDER HELP_SOURCE]\n");
        return 2;
    }
    cConsoleDesktop desktop;
    cDesktop::install(&desktop);
    const QString samples = QDir(argv[1]).absolutePath();
    const QString out = QDir(argv[2]).absolutePath();
    QDir().mkpath(out);

    QTemporaryDir program;
    QFile::copy(QStringLiteral(QDX_SOURCE_DIR "/QDX.ini"), program.filePath("QDX.ini"));
    QFile::setPermissions(program.filePath("QDX.ini"), QFile::ReadOwner | QFile::WriteOwner);
    frmZentra window(program.path());
    window.Form_Load();
    window.setWindowTitle(QStringLiteral("QDX - Pictorix for the Web"));
    // The page goes beside the pictures, where its links work. The folder is given from its
    // parent, so the picture shows no path of the machine it was made on.
    QDir::setCurrent(QFileInfo(samples).path());
    const QString shown = QFileInfo(samples).fileName() + QDir::separator();
    window.findChild<QLineEdit *>("txtInPath")->setText(shown);
    window.findChild<QLineEdit *>("txtOutPath")->setText(shown);
    window.findChild<QCheckBox *>("chkJpg")->setChecked(true);
    window.cmdGetFiles_Click();
    window.cmdAddAll_Click();
    auto *found = window.findChild<QTableView *>("ListView1");
    found->setCurrentIndex(found->model()->index(2, 0));
    // The preview is decoded away from the window.
    const auto *preview = window.findChild<cPreviewLoader *>();
    while (!preview->isIdle())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.CmdGenFiles_Click();
    bool ok = save(&window, QDir(out).filePath("main-window.png"));

    frmOptions options(&window);
    options.Form_Load();
    options.tabs()->setCurrentIndex(1);
    ok = save(&options, QDir(out).filePath("options-dialog.png")) && ok;
    options.cmdCancel_Click();

    frmHelp help(&window);
    help.Form_Load(QString::fromLocal8Bit(argv[3]));
    ok = save(&help, QDir(out).filePath("help-topics.png")) && ok;
    return ok ? 0 : 1;
}
