#include "cPairTimer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QString figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return QStringLiteral("%1 (%2)")
        .arg(ms.at(ms.size() / 2), 0, 'f', 2)
        .arg(ms.front(), 0, 'f', 2);
}

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms.at(ms.size() / 2);
}
} // namespace

double cPairTimer::milliseconds(const Work &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void cPairTimer::row(const QString &step, const QString &size, const Work &work,
                     const QString &baselineName, const Work &baseline, const Work &prepare) const
{
    std::vector<double> ours;
    std::vector<double> theirs;
    // A first round, not counted, makes what is made once (a first layout, a warm cache) for both.
    for (int round = -1; round < m_rounds; ++round) {
        if (prepare)
            prepare();
        const double ourMs = milliseconds(work);
        const double theirMs = baseline ? milliseconds(baseline) : 0;
        if (round < 0)
            continue;
        ours.push_back(ourMs);
        theirs.push_back(theirMs);
    }
    const QString line =
        baseline ? QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |")
                       .arg(step, size, figures(ours), baselineName, figures(theirs))
                       .arg(median(ours) / median(theirs), 0, 'f', 2)
                 : QStringLiteral("| %1 | %2 | %3 | | | |").arg(step, size, figures(ours));
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void cPairTimer::note(const QString &step, const QString &size, const QString &figure)
{
    std::printf("%s\n",
                qPrintable(QStringLiteral("| %1 | %2 | %3 | | | |").arg(step, size, figure)));
    std::fflush(stdout);
}

void cPairTimer::runProgram(const QString &program, const QStringList &arguments,
                            const QString &input, const QString &output)
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    process.setStandardOutputFile(output.isEmpty() ? QProcess::nullDevice() : output);
    process.start(program, arguments);
    process.waitForFinished(-1);
}
