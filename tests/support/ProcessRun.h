#pragma once
// Runs a program to its end and keeps what it said, for the suites that check
// files through the tools a desktop or a distribution uses on them.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

// Readable texts and file lists in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

struct ProcessRun {
    int status = -1; // -1: did not start, -2: crashed or timed out
    QString out;
    QString err;
};

inline std::ostream &operator<<(std::ostream &os, const ProcessRun &r)
{
    return os << "status " << r.status << "\n--- out\n" << r.out.toStdString() << "--- err\n" << r.err.toStdString();
}

inline ProcessRun runProgram(const QString &program, const QStringList &args,
                             const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForStarted(10000))
        return r;
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(120000);
    r.status = finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
