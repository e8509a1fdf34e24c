// One verified transfer through a connection's worker, as the queue runs it:
// the bytes hashed as they pass and compared with the server's HASH (or its
// SIZE) at the end. Run by bench/verify beside curl; never by ctest.
//
//   verify_bench --port N (--get NAME --to FOLDER | --put FILE) [--host H] [--user U --password P]
//
// Prints "seconds=S bytes=B verified=SHA-256|size|none data=D", timed from
// connecting to the end of the check (D: to the data's end).
#include "session/FtpLink.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    for (const char *name : {"host", "port", "user", "password", "get", "to", "put"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    parser.process(app);

    ftp::LoginParams login;
    login.host = parser.isSet("host") ? parser.value("host") : QStringLiteral("127.0.0.1");
    login.port = quint16(parser.value("port").toUInt());
    login.user = parser.value("user");
    login.password = parser.value("password");
    login.passive = true;
    ftp::FtpLink link(login);
    QString verified = QStringLiteral("none");
    QObject::connect(&link, &ftp::FtpLink::noted, [&](quint64, const ftp::TransferNote &note) {
        if (note.kind == ftp::TransferNote::Kind::Verified)
            verified = note.algorithm.isEmpty() ? QStringLiteral("size") : note.algorithm;
    });

    QElapsedTimer clock;
    clock.start();
    // Where the time goes: the data's end, then the check.
    double dataEnd = 0;
    QObject::connect(&link, &ftp::FtpLink::progress, [&](quint64, qint64 current, qint64 total) {
        if (current >= total)
            dataEnd = double(clock.nsecsElapsed()) / 1e9;
    });
    const ftp::Result connected = link.run(ftp::Connect{});
    if (!connected.ok()) {
        std::fprintf(stderr, "connect: %s\n", qPrintable(connected.errorText(false)));
        return 1;
    }
    ftp::Result r;
    if (parser.isSet("get")) {
        ftp::Retrieve c;
        c.name = parser.value("get");
        c.localFolder = parser.value("to");
        c.askIfExists = false;
        c.transferType = inet::FTP_TRANSFER_TYPE_BINARY;
        r = link.run(c);
    } else {
        ftp::Store c;
        c.localPath = parser.value("put");
        c.name = QFileInfo(c.localPath).fileName();
        c.askIfExists = false;
        c.transferType = inet::FTP_TRANSFER_TYPE_BINARY;
        r = link.run(c);
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!r.ok()) {
        std::fprintf(stderr, "transfer: %s\n", qPrintable(r.errorText(false)));
        return 1;
    }
    std::printf("seconds=%.3f bytes=%lld verified=%s data=%.3f\n", seconds, static_cast<long long>(r.size),
                qPrintable(verified), dataEnd);
    return 0;
}
