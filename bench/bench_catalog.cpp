// The main job on a folder of many empty image files, offscreen: gathering against find, ">>",
// a column sort, page generation against awk writing the same bytes, and peak memory.
#include "cConsoleDesktop.h"
#include "cOption.h"
#include "frmZentra.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {
// The best of three runs, so a stray disk flush or scheduling hiccup does not decide a ratio.
double elapsedMs(const std::function<void()> &work)
{
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = timer.nsecsElapsed() / 1e6;
        best = run == 0 ? ms : std::min(best, ms);
    }
    return best;
}

double runMs(const QString &program, const QStringList &arguments, const QString &input = QString(),
             const QString &output = QString())
{
    return elapsedMs([&] {
        QProcess process;
        if (!input.isEmpty())
            process.setStandardInputFile(input);
        process.setStandardOutputFile(output.isEmpty() ? QProcess::nullDevice() : output);
        process.start(program, arguments);
        process.waitForFinished(-1);
    });
}

// Writes the same bytes as the window does for these settings: two columns' worth of cells.
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
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    cConsoleDesktop desktop;
    cDesktop::install(&desktop);

    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    const QString out = dir.filePath("out");
    QDir().mkpath(in);
    QDir().mkpath(out);
    for (int i = 0; i < count; ++i) {
        QFile file(in + QStringLiteral("/picture_%1.%2")
                            .arg(i, 6, 10, QLatin1Char('0'))
                            .arg(i % 2 ? "jpg" : "gif"));
        file.open(QIODevice::WriteOnly);
    }
    QFile ini(dir.filePath("QDX.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Folders]\r\nINPATH=In|50|" + in.toUtf8() + "\r\nOUTPATH=Out|50|" + out.toUtf8() +
              "\r\n[Page]\r\nDOCFILE=f|20|index.htm\r\nDOCTITLE=t|20|Bench\r\nUSECSS=u|-1|0\r\n"
              "CSSFILE=c|9|(none)\r\nFONTSIZE=s|3|10\r\nCOLORBK=b|9|white\r\n"
              "TABALIGN=a|9|center\r\nTABBORDER=b|2|1\r\nTABCOLORBK=c|9|#EEE\r\n"
              "IMGH=h|4|120\r\nIMGW=w|4|120\r\nIMGNAME=n|-1|1\r\nTABCOLUMN=c|3|4\r\n"
              "PAGESIZE=p|5|0\r\n");
    ini.close();

    frmZentra window(dir.path());
    window.Form_Load();
    window.findChild<QCheckBox *>("chkJpg")->setChecked(true);

    const double findMs = runMs("find", {in, "-maxdepth", "1", "-type", "f", "(", "-iname", "*.gif",
                                         "-o", "-iname", "*.jpg", ")"});
    const double gatherMs = elapsedMs([&] { window.cmdGetFiles_Click(); });
    const double addAllMs = elapsedMs([&] {
        window.cmdDelAll_Click();
        window.cmdAddAll_Click();
    });
    const double sortMs = elapsedMs([&] { window.ListView1_ColumnClick(0); });
    const double generateMs = elapsedMs([&] { window.CmdGenFiles_Click(); });

    // awk gets the names in the selected list's order: GIF then JPG, each in directory order.
    const QString names = dir.filePath("names.txt");
    {
        QProcess ls;
        ls.setStandardOutputFile(names);
        // ls -U keeps the directory's order; find may reorder large directories by inode.
        ls.start("sh",
                 {"-c", "cd '" + in + "' && ls -U | grep -i '[.]gif$'; ls -U | grep -i '[.]jpg$'"});
        ls.waitForFinished(-1);
    }
    const QString awkOut = dir.filePath("awk.htm");
    const double awkMs = runMs("awk", {awkPage}, names, awkOut);

    QFile ours(out + "/index.htm");
    QFile theirs(awkOut);
    ours.open(QIODevice::ReadOnly);
    theirs.open(QIODevice::ReadOnly);
    const QByteArray ourBytes = ours.readAll();
    const QByteArray theirBytes = theirs.readAll();
    const bool same = ourBytes == theirBytes;
    if (!same) {
        qsizetype at = 0;
        while (at < ourBytes.size() && at < theirBytes.size() && ourBytes[at] == theirBytes[at])
            ++at;
        std::fprintf(stderr, "pages differ at byte %lld: ours %s | awk %s\n", (long long)at,
                     ourBytes.mid(at, 60).constData(), theirBytes.mid(at, 60).constData());
    }

    gOption.chgStrVal(QStringLiteral("PAGESIZE"), QStringLiteral("200"));
    const double pagedMs = elapsedMs([&] { window.CmdGenFiles_Click(); });

    const double catMs = runMs("cat", {names});
    const double sortBaseMs = runMs("sort", {"-f", "-r", names});

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    if (window.findChild<QLineEdit *>("txtNsel")->text() != QString::number(count))
        std::fprintf(stderr, "not every image was selected\n");
    const auto row = [count](const char *step, double ms, const char *baseline, double baseMs) {
        std::printf("| %s | %d | %.1f | %s | %.1f | %.2f |\n", step, count, ms, baseline, baseMs,
                    ms / baseMs);
    };
    row("gathering (\"Get Images\")", gatherMs, "find, same folder", findMs);
    row("\">>\" of every image", addAllMs, "cat of the name list", catMs);
    row("column sort", sortMs, "sort -f -r of the name list", sortBaseMs);
    row(same ? "page generation (same bytes)" : "page generation (BYTES DIFFER)", generateMs,
        "awk writing the page", awkMs);
    row("generation in pages of 200", pagedMs, "one page of the same pictures", generateMs);
    std::printf("| peak memory, whole program | %d | %.1f MB | | | |\n", count,
                usage.ru_maxrss / 1024.0);
    return 0;
}
