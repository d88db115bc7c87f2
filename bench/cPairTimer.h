#pragma once

#include <QString>
#include <functional>

// Times a step of QDX against its baseline, A B A B, so that a slow moment of the machine falls
// on both; prints one table row with the median and the minimum of each.
class cPairTimer
{
public:
    using Work = std::function<void()>;

    explicit cPairTimer(int rounds = 5) : m_rounds(rounds) {}

    // prepare runs untimed before each run of the step; baseline may be empty (no counterpart).
    void row(const QString &step, const QString &size, const Work &work,
             const QString &baselineName = QString(), const Work &baseline = Work(),
             const Work &prepare = Work()) const;
    // A row of one figure, such as memory.
    static void note(const QString &step, const QString &size, const QString &figure);
    // Runs a program and waits for it; input and output are files, or empty for none.
    static void runProgram(const QString &program, const QStringList &arguments,
                           const QString &input = QString(), const QString &output = QString());

private:
    static double milliseconds(const Work &work);

    int m_rounds;
};
