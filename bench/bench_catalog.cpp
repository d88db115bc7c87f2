// The main window on a folder of many empty image files, shown offscreen, each step beside a
// baseline doing the same job: gathering, the four list buttons, a column sort, page generation
// and peak memory; then qdx-catalog against a shell line and tree writing a page of the folder.
#include "app/frmZentra.h"
#include "cPairTimer.h"
#include "common/cConsoleDesktop.h"
#include "common/cOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {
// Writes the same bytes as QDX does for these settings: four columns' worth of cells.
const char *awkPage = R"AWK(BEGIN { ORS = "\r\n"
  print "<html>"; print "<head>"
  print "  <!-- Quadrix v.1.00        -->"; print "  <!-- QDX Project           -->"
  print "  <!-- www.qdx.example.org   -->"; print "  <title>Bench</title>"
  print "<!-- no css selected -->"; print "</head>"; print "<body bgcolor=\"white\">"
  print "<div align=\"center\">"; print "<table border=1>"; print "<tr>"; col = 1 }
{ print "<td bgcolor=\"#EEE\">"; print " <a href=\"" $0 "\">"
  print "  <img src=\"" $0 "\" border=1 height=120 width=120>"; print "<br>" $0
  print " </a>"; print "</td>"
  if (col < 4) col++; else { col = 1; print "</tr><tr>" } }
END { print "</tr>"; print "</table>"; print "</div>"; print "</body></html>" })AWK";

void settle()
{
    // The views lay out and paint in posted events; the step is done when they are.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Chunk by chunk: pages of a million pictures read whole would count in the peak memory.
void compare(const char *what, const QString &ours, const QString &theirs)
{
    QFile a(ours);
    QFile b(theirs);
    bool same = a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.size() == b.size();
    while (same && !a.atEnd())
        same = a.read(1 << 20) == b.read(1 << 20);
    if (!same)
        std::fprintf(stderr, "%s: the pages differ\n", what);
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    const QString size = QString::number(count);
    cConsoleDesktop desktop;
    cDesktop::install(&desktop);
    const cPairTimer timer;

    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    const QString out = dir.filePath("out");
    QDir().mkpath(in);
    QDir().mkpath(out);
    for (int i = 0; i < count; ++i) {
        QFile file(in + QStringLiteral("/picture_%1.%2")
                            .arg(i, 7, 10, QLatin1Char('0'))
                            .arg(i % 2 ? "jpg" : "gif"));
        file.open(QIODevice::WriteOnly);
    }
    const QString ini = dir.filePath("QDX.ini");
    QFile settings(ini);
    settings.open(QIODevice::WriteOnly);
    settings.write("[Folders]\r\nINPATH=In|50|" + in.toUtf8() + "\r\nOUTPATH=Out|50|" +
                   out.toUtf8() +
                   "\r\n[Page]\r\nDOCFILE=f|20|index.htm\r\nDOCTITLE=t|20|Bench\r\n"
                   "USECSS=u|-1|0\r\nCSSFILE=c|9|(none)\r\nFONTSIZE=s|3|10\r\nCOLORBK=b|9|white\r\n"
                   "TABALIGN=a|9|center\r\nTABBORDER=b|2|1\r\nTABCOLORBK=c|9|#EEE\r\n"
                   "IMGH=h|4|120\r\nIMGW=w|4|120\r\nIMGNAME=n|-1|1\r\nTABCOLUMN=c|3|4\r\n"
                   "PAGESIZE=p|5|0\r\n");
    settings.close();

    // The names in the order QDX lists them: GIF then JPG, each in name order (for these names,
    // all lower case, the order of their bytes).
    const QString names = dir.filePath("names.txt");
    const QString listing = "cd '" + in +
                            "' && { LC_ALL=C ls | grep -i '[.]gif$'; LC_ALL=C ls | grep -i "
                            "'[.]jpg$'; }";
    cPairTimer::runProgram("sh", {"-c", listing}, QString(), names);
    const QStringList find = {in,       "-maxdepth", "1",  "-type",  "f",     "(",
                              "-iname", "*.gif",     "-o", "-iname", "*.jpg", ")"};
    const QString awkOut = dir.filePath("awk.htm");

    if (count >= 10000) {
        frmZentra window(dir.path());
        window.Form_Load();
        window.findChild<QCheckBox *>("chkJpg")->setChecked(true);
        window.show();
        settle();
        auto *selected = window.findChild<QTableView *>("ListView2");
        auto *found = window.findChild<QTableView *>("ListView1");
        const auto step = [&](void (frmZentra::*handler)()) {
            return [&window, handler] {
                (window.*handler)();
                settle();
            };
        };
        const auto fill = [&] {
            window.cmdDelAll_Click();
            window.cmdAddAll_Click();
            settle();
        };

        timer.row("Get Images", size, step(&frmZentra::cmdGetFiles_Click), "find, same folder",
                  [&] { cPairTimer::runProgram("find", find); });
        timer.row(
            "\">>\" of every picture", size, step(&frmZentra::cmdAddAll_Click),
            "awk keeping the first of each name",
            [&] { cPairTimer::runProgram("awk", {"!seen[$0]++"}, names); },
            [&] {
                window.cmdDelAll_Click();
                settle();
            });
        timer.row("\">>\" when all are selected", size, step(&frmZentra::cmdAddAll_Click),
                  "awk keeping the first of each name",
                  [&] { cPairTimer::runProgram("awk", {"!seen[$0]++"}, names); });
        timer.row("\"<<\"", size, step(&frmZentra::cmdDelAll_Click), QString(), {}, fill);
        fill();
        // The first row moves every row after it, the last none.
        const QList<std::pair<QString, std::function<int(int)>>> places{
            {QStringLiteral("first"), [](int) { return 0; }},
            {QStringLiteral("middle"), [](int rows) { return rows / 2; }},
            {QStringLiteral("last"), [](int rows) { return rows - 1; }}};
        for (const auto &[place, row] : places) {
            timer.row("\"<\" of the " + place + " picture", size, step(&frmZentra::cmdDel_Click),
                      QString(), {}, [&, row = row] {
                          const int rows = selected->model()->rowCount();
                          selected->setCurrentIndex(selected->model()->index(row(rows), 0));
                          settle();
                      });
        }
        timer.row("\">\" of one picture", size, step(&frmZentra::cmdAdd_Click), QString(), {}, [&] {
            // A picture not selected yet: the last "<" took some out of the middle.
            found->setCurrentIndex(found->model()->index(0, 0));
            window.cmdDelAll_Click();
            settle();
        });
        // The page is written in the gathered order, which awk reproduces.
        fill();
        timer.row(
            "Generate Catalog", size, [&] { window.CmdGenFiles_Click(); },
            "awk writing the same page",
            [&] { cPairTimer::runProgram("awk", {awkPage}, names, awkOut); });
        compare("Generate Catalog", out + "/index.htm", awkOut);
        timer.row(
            "column sort", size,
            [&] {
                window.ListView1_ColumnClick(0);
                settle();
            },
            "sort -f -r of the name list",
            [&] {
                cPairTimer::runProgram("sort", {"-f", "-r", names});
            });
        timer.row(
            "Get Images, list sorted", size, step(&frmZentra::cmdGetFiles_Click),
            "find \\| sort -f", [&] {
                cPairTimer::runProgram("sh", {"-c", "find '" + find.join("' '") + "' | sort -f"});
            });

        fill();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        cPairTimer::note("peak memory, whole program, all found and selected", size,
                         QStringLiteral("%1 MB").arg(usage.ru_maxrss / 1024.0, 0, 'f', 1));
        if (window.findChild<QLineEdit *>("txtNsel")->text() != size)
            std::fprintf(stderr, "not every picture was selected\n");
    }

    const QString command = QCoreApplication::applicationDirPath() + "/../bin/qdx-catalog";
    const QString shellOut = dir.filePath("shell.htm");
    const QString shell =
        listing + " | awk '" + QString(awkPage).replace("'", "'\\''") + "' > '" + shellOut + "'";
    timer.row(
        "qdx-catalog", size,
        [&] {
            cPairTimer::runProgram(command, {"--ini", ini, "--out", out, "-q", in});
        },
        "ls \\| grep \\| awk",
        [&] {
            cPairTimer::runProgram("sh", {"-c", shell});
        });
    compare("qdx-catalog", out + "/index.htm", shellOut);
    timer.row(
        "qdx-catalog", size,
        [&] {
            cPairTimer::runProgram(command, {"--ini", ini, "--out", out, "-q", in});
        },
        "tree -H",
        [&] {
            cPairTimer::runProgram("tree",
                                   {"-L", "1", "--noreport", "--ignore-case", "-P", "*.gif|*.jpg",
                                    "-H", ".", "-o", dir.filePath("tree.htm"), in});
        });
    return 0;
}
