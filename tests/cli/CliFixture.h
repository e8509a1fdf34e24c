#pragma once
// Runs the built tarvoftp-cli as a process against the suite's FTP server,
// in a temporary local folder with a temporary data folder, and checks on
// every run that the password never shows in its output.

#include "FtpServer.h"
#include "ProcessRun.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#ifndef TARVOFTP_CLI
#error "TARVOFTP_CLI must name the built tarvoftp-cli"
#endif

using CliRun = ProcessRun;

using testfiles::readFile;
using testfiles::treeOf;
using testfiles::writeFile;

class CliProgram : public ::testing::Test, public SuiteFtpServer {
protected:
    static constexpr const char *Password = "Pw-9f8e7d";

    static void SetUpTestSuite()
    {
        FtpServerOptions options;
        options.anonymous = true;
        options.password = QString::fromLatin1(Password);
        options.flaky = true; // only for files named flaky-*
        startServer(options);
    }
    static void TearDownTestSuite() { stopServer(); }
    void SetUp() override { readyServer(); }

    static QString openOn(const FtpServer &s)
    {
        return QStringLiteral("open 127.0.0.1 %1 %2 %3").arg(s.port()).arg(s.user(), s.password());
    }
    static QString openCommand() { return openOn(*server); }
    // The password as the address book stores it: hex-encoded twice.
    static QByteArray storedPassword() { return QByteArray(Password).toHex().toUpper().toHex().toUpper(); }

    // Runs the program with the test's folders and options before `args`;
    // `password` comes through the environment when given.
    CliRun run(const QStringList &args, const QByteArray &input = QByteArray(), const QString &password = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TARVOFTP_HOME"));
        env.remove(QStringLiteral("TARVOFTP_PASSWORD"));
        if (!password.isEmpty())
            env.insert(QStringLiteral("TARVOFTP_PASSWORD"), password);
        const CliRun r = runProgram(QStringLiteral(TARVOFTP_CLI),
                                    QStringList{"--data-dir", data.path(), "--lang", "en", "--timeout", "10"} + args,
                                    env, input, local.path(), 60000);
        // Whatever the command, the password is never shown.
        EXPECT_FALSE(r.out.contains(QString::fromLatin1(Password)) || r.err.contains(QString::fromLatin1(Password)))
            << "password shown:\n" << r.out.toStdString() << r.err.toStdString();
        return r;
    }

    // -c with the login first.
    CliRun session(const QString &commands, const QStringList &options = {})
    {
        return run(options + QStringList{"-c", openCommand() + QStringLiteral("; ") + commands});
    }

    QTemporaryDir local;
    QTemporaryDir data;
};
