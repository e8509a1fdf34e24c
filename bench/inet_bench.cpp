// Throughput of the FTP client as the program uses it: 255-byte reads and
// writes, and a listing walked with find first/next. Run by bench/run.
//
//   inet_bench --host H --port P --user U --pass W --mode passive|active
//              --case download|upload|list --remote NAME [--local FILE] [--repeat N]
//              [--tls off|explicit|implicit --ca-file PEM]
//
// Prints one line per run: "case seconds=S bytes=B" (or "entries=E"); the
// time covers connecting and logging in, the work, and quitting.

#include "platform/inet/Inet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace inet;

namespace {

constexpr quint32 kBlock = 255; // the block size of the program's transfers

struct Options {
    QString host, user, pass, remote, local, testCase;
    quint16 port = 21;
    bool passive = true;
    ConnectOptions connect;
};

bool fail(const char *what)
{
    std::fprintf(stderr, "%s failed: error %u\n%s", what, lastError(), qPrintable(lastResponseInfo()));
    return false;
}

// The local file goes through a 1 MiB staging buffer, as curl's does, so
// that the figures measure the client and not QFile's per-call cost; every
// call into the client is one 255-byte block.
constexpr qint64 kStage = 1024 * 1024;

bool runDownload(FtpConnection *c, const Options &o, qint64 &bytes)
{
    QFile out(o.local);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail("open local file");
    auto file = c->openFile(o.remote, GENERIC_READ, FTP_TRANSFER_TYPE_BINARY);
    if (!file)
        return fail("openFile");
    QByteArray stage(kStage + kBlock, Qt::Uninitialized);
    qint64 staged = 0;
    quint32 got = 0;
    for (;;) {
        if (!file->read(stage.data() + staged, kBlock, got))
            return fail("read");
        staged += got;
        bytes += got;
        if (staged >= kStage || got == 0) {
            if (out.write(stage.constData(), staged) != staged)
                return fail("local write");
            staged = 0;
        }
        if (got == 0)
            break;
    }
    return file->close() || fail("close");
}

bool runUpload(FtpConnection *c, const Options &o, qint64 &bytes)
{
    QFile in(o.local);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail("open local file");
    auto file = c->openFile(o.remote, GENERIC_WRITE, FTP_TRANSFER_TYPE_BINARY);
    if (!file)
        return fail("openFile");
    QByteArray stage(kStage, Qt::Uninitialized);
    quint32 written = 0;
    for (;;) {
        const qint64 n = in.read(stage.data(), kStage);
        if (n < 0)
            return fail("local read");
        if (n == 0)
            break;
        for (qint64 pos = 0; pos < n; pos += kBlock) {
            const quint32 block = quint32(qMin<qint64>(kBlock, n - pos));
            if (!file->write(stage.constData() + pos, block, written))
                return fail("write");
        }
        bytes += n;
    }
    return file->close() || fail("close");
}

bool runList(FtpConnection *c, const Options &o, qint64 &entries)
{
    if (!o.remote.isEmpty() && !c->setCurrentDirectory(o.remote))
        return fail("cwd");
    std::vector<FindRecord> records;
    FindRecord rec;
    auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
    if (!find)
        return fail("findFirstFile");
    do {
        records.push_back(rec);
    } while (find->next(rec));
    if (lastError() != ErrorNoMoreFiles)
        return fail("next");
    entries = qint64(records.size());
    return true;
}

Options parse(const QCoreApplication &app, int &repeat)
{
    QCommandLineParser p;
    const QList<QCommandLineOption> opts = {
        {"host", "server", "host", "127.0.0.1"}, {"port", "port", "port", "21"},
        {"user", "user", "user", "anonymous"},   {"pass", "password", "pass", "bench@"},
        {"mode", "passive|active", "mode", "passive"}, {"case", "download|upload|list", "case"},
        {"remote", "remote name", "remote"},     {"local", "local file", "local"},
        {"repeat", "runs", "repeat", "1"},
        {"tls", "off|explicit|implicit", "tls", "off"}, {"ca-file", "CA certificates (PEM)", "ca-file"},
    };
    p.addOptions(opts);
    p.addHelpOption();
    p.process(app);
    Options o;
    o.host = p.value("host");
    o.port = quint16(p.value("port").toUInt());
    o.user = p.value("user");
    o.pass = p.value("pass");
    o.passive = p.value("mode") != QLatin1String("active");
    o.testCase = p.value("case");
    o.remote = p.value("remote");
    o.local = p.value("local");
    repeat = qMax(1, p.value("repeat").toInt());
    const QString tls = p.value("tls");
    o.connect.tls = tls == QLatin1String("explicit")   ? TlsMode::Required
                    : tls == QLatin1String("implicit") ? TlsMode::Implicit
                                                       : TlsMode::Off;
    if (p.isSet("ca-file"))
        o.connect.extraCaCertificates = QSslCertificate::fromPath(p.value("ca-file"));
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int repeat = 1;
    const Options o = parse(app, repeat);
    InternetSession session(QStringLiteral("TarvoFtp"));
    for (int i = 0; i < repeat; ++i) {
        // Timed like a curl run: connect and log in, work, quit.
        QElapsedTimer timer;
        timer.start();
        FtpConnection *c = session.connectFtp(o.host, o.port, o.user, o.pass, o.passive ? INTERNET_FLAG_PASSIVE : 0,
                                               o.connect);
        if (!c)
            return fail("connect") ? 0 : 1;
        qint64 count = 0;
        bool ok = false;
        if (o.testCase == QLatin1String("download"))
            ok = runDownload(c, o, count);
        else if (o.testCase == QLatin1String("upload"))
            ok = runUpload(c, o, count);
        else if (o.testCase == QLatin1String("list"))
            ok = runList(c, o, count);
        session.closeConnection(c);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (!ok)
            return 1;
        const char *unit = o.testCase == QLatin1String("list") ? "entries" : "bytes";
        std::printf("%s seconds=%.4f %s=%lld\n", qPrintable(o.testCase), seconds, unit, static_cast<long long>(count));
        std::fflush(stdout);
    }
    return 0;
}
