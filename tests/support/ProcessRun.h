#pragma once
// Runs a program to its end and keeps what it said: tarvoftp-cli as a user
// runs it, and the tools a desktop or a distribution uses on our files.

#include "QtPrinting.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

struct ProcessRun {
    int status = -1; // -1: did not start, -2: crashed or timed out
    QString out;
    QString err;
};

inline std::ostream &operator<<(std::ostream &os, const ProcessRun &r)
{
    return os << "status " << r.status << "\n--- out\n" << r.out.toStdString() << "--- err\n" << r.err.toStdString();
}

// `input` is the program's whole standard input; it runs in `folder` when
// one is given, and is given up on after `waitMs`.
inline ProcessRun runProgram(const QString &program, const QStringList &args,
                             const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                             const QByteArray &input = QByteArray(), const QString &folder = QString(),
                             int waitMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForStarted(10000))
        return r;
    p.write(input);
    p.closeWriteChannel();
    const bool finished = p.waitForFinished(waitMs);
    r.status = finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
