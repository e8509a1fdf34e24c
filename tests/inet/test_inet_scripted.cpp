// The FTP client against a scripted peer: replies and faults real servers
// rarely produce.
#include "FtpReading.h"
#include "ScriptedServer.h"

#include "platform/inet/Inet.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <memory>

#include <tuple>

using namespace inet;

namespace {

const QByteArray kListing = "-rw-r--r-- 1 u g 1 Jan 1 2020 one\r\n"
                            "-rw-r--r-- 1 u g 2 Jan 1 2020 two\r\n"
                            "-rw-r--r-- 1 u g 3 Jan 1 2020 three\r\n";
const QStringList kNames = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};

class Scripted : public testing::Test {
protected:
    Scripted() { setTimeouts(5000); }

    void setTimeouts(int replyMs)
    {
        Timeouts t;
        t.connectMs = 5000;
        t.replyMs = replyMs;
        t.dataMs = replyMs;
        session.setTimeouts(t);
    }

    FtpConnection *connect(ScriptedServer &server, bool passive = true, const char *host = "127.0.0.1")
    {
        return session.connectFtp(QString::fromLatin1(host), server.port(), QStringLiteral("u"), QStringLiteral("p"),
                                  passive ? INTERNET_FLAG_PASSIVE : 0);
    }

    InternetSession session{QStringLiteral("TarvoFtp")};
};

} // namespace

TEST_F(Scripted, RepliesSplitIntoSingleBytesAreReadWhole)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.acceptControl())
            return;
        p.replyBytewise("220-Welcome\r\n220-second line\r\n220 ready");
        p.expect("USER u");
        p.replyBytewise("331 password");
        p.expect("PASS p");
        p.replyBytewise("230-Hello\r\n  indented\r\n230 Logged in.");
        p.expect("FEAT");
        p.replyBytewise("211-Features:\r\n MLST type*;size*;\r\n EPSV\r\n211 End");
        p.answer("QUIT", "221 bye");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr) << lastError();
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("220-Welcome\r\n220-second line\r\n220 ready\r\n"
                                                 "230-Hello\r\n  indented\r\n230 Logged in.\r\n"));
    EXPECT_TRUE(c->features().mlsd);
    EXPECT_TRUE(c->features().epsv);
    EXPECT_FALSE(c->features().utf8);
    session.closeConnection(c);
    EXPECT_EQ(server.finish(), QString());
}

TEST_F(Scripted, LongMultiLineRepliesAreKeptAndOverLongLinesCut)
{
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "214-line " + QByteArray::number(i) + " 214 not the end\r\n";
    text += "214 end";
    ScriptedServer server([text](ScriptPeer &p) {
        if (p.login() && p.answer("HELP", text))
            p.answer("HELP", "214-" + QByteArray(20000, 'a') + "\r\n214 end") && p.answer("NOOP", "200 ok");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->command(QStringLiteral("HELP")));
    EXPECT_EQ(lastResponseInfo(), QString::fromLatin1(text + "\r\n"));
    ASSERT_TRUE(c->command(QStringLiteral("HELP")));
    const QStringList lines = lastResponseInfo().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 8192);
    EXPECT_EQ(lines[1], QStringLiteral("214 end"));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("200 ok\r\n"));
}

TEST_F(Scripted, LoginRefusals)
{
    const struct { bool afterPass; const char *reply; quint32 error; } cases[] = {
        {false, "530 Not allowed.", ErrorIncorrectUserName},
        {true, "421 Too many users.", ErrorLoginFailure},
    };
    for (const auto &c : cases) {
        ScriptedServer server([&c](ScriptPeer &p) {
            if (!p.acceptControl())
                return;
            p.reply("220 hi");
            if (c.afterPass && !p.answer("USER", "331 pass"))
                return;
            p.answer(c.afterPass ? "PASS" : "USER", c.reply);
        });
        EXPECT_EQ(connect(server), nullptr);
        EXPECT_EQ(lastError(), c.error);
        EXPECT_EQ(lastResponseInfo(), QString::fromLatin1(c.reply) + QStringLiteral("\r\n"));
    }
}

TEST_F(Scripted, PasvHostIsIgnoredAndRefusedEpsvIsRemembered)
{
    ScriptedServer server([](ScriptPeer &p) {
        // 192.0.2.1 is a documentation address: connecting there would fail.
        if (p.login() && p.passive(false, "192,0,2,1") && p.serveList(true, kListing))
            p.passive(false, "192,0,2,1") && p.serveList(true, kListing);
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    for (int round = 0; round < 2; ++round) {
        quint32 endError = 0;
        EXPECT_EQ(listNames(c, &endError), kNames) << lastError();
        EXPECT_EQ(endError, quint32(ErrorNoMoreFiles));
    }
    EXPECT_EQ(server.finish(), QString());
    EXPECT_EQ(server.commands().count(QStringLiteral("EPSV")), 1);
}

TEST_F(Scripted, ControlDroppedMidListingKeepsTheEntriesRead)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login() || !p.passive() || !p.expect("LIST") || !p.acceptData())
            return;
        p.reply("150 here it comes");
        p.sendData(kListing + "-rw-r--r-- 1 u g 3 Jan 1 2020 cut-sh");
        p.closeControl();
        p.closeData();
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    quint32 endError = 0;
    EXPECT_EQ(listNames(c, &endError), kNames) << "the unfinished line is not an entry";
    EXPECT_EQ(endError, quint32(ErrorFtpDropped));
    EXPECT_FALSE(c->isAlive());
    QString dir;
    EXPECT_FALSE(c->getCurrentDirectory(dir));
    EXPECT_EQ(lastError(), quint32(ErrorFtpDropped));
}

// A dropped control connection or a 426 in the middle of a download is a
// failure, never the end of the file; after a 426 the connection still works.
TEST_F(Scripted, TransfersCutByTheServerFail)
{
    for (bool dropped : {true, false}) {
        SCOPED_TRACE(dropped ? "control dropped" : "426");
        ScriptedServer server([dropped](ScriptPeer &p) {
            if (!p.login() || !p.startRetr())
                return;
            p.sendData(QByteArray(dropped ? 100000 : 5000, 'x'));
            if (dropped)
                p.closeControl();
            p.closeData();
            p.reply("426 Connection closed; transfer aborted.");
            p.answer("NOOP", "200 still here");
        });
        FtpConnection *c = connect(server);
        ASSERT_NE(c, nullptr);
        auto file = c->openFile(QStringLiteral("f.bin"), GENERIC_READ, FTP_TRANSFER_TYPE_BINARY);
        ASSERT_NE(file, nullptr) << lastError();
        QByteArray data;
        EXPECT_FALSE(readAll(*file, data));
        if (dropped) {
            EXPECT_TRUE(lastError() == ErrorFtpDropped || lastError() == ErrorConnectionAborted
                        || lastError() == ErrorConnectionReset)
                << lastError();
        } else {
            EXPECT_EQ(lastError(), quint32(ErrorExtended));
            EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("426")));
        }
        EXPECT_FALSE(file->close());
        file.reset();
        EXPECT_EQ(c->command(QStringLiteral("NOOP")), !dropped) << lastError();
    }
}

TEST_F(Scripted, TransfersWithoutOrWithLatePreliminaryReply)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login() || !p.answer("TYPE I", "200 binary"))
            return;
        for (bool late : {false, true}) {
            if (!p.passive() || !p.expect(late ? "RETR b" : "RETR a") || !p.acceptData())
                return;
            p.sendData(late ? "second file" : "first file");
            p.closeData();
            if (late) // the 1xx after the data; the first file has none at all
                p.reply("150 opening");
            p.reply("226 done");
        }
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    for (const char *name : {"a", "b"}) {
        auto file = c->openFile(QString::fromLatin1(name), GENERIC_READ, 0);
        ASSERT_NE(file, nullptr) << name << " " << lastError();
        QByteArray data;
        EXPECT_TRUE(readAll(*file, data)) << lastError();
        EXPECT_EQ(data, QByteArray(*name == 'a' ? "first file" : "second file"));
        EXPECT_TRUE(file->close());
        EXPECT_EQ(lastResponseInfo(), QStringLiteral("226 done\r\n"));
    }
    EXPECT_EQ(server.finish(), QString());
}

TEST_F(Scripted, SilenceAndEndlessRepliesTimeOutInsteadOfHanging)
{
    setTimeouts(300);
    for (bool endless : {false, true}) {
        SCOPED_TRACE(endless ? "endless reply" : "no reply");
        ScriptedServer server([endless](ScriptPeer &p) {
            if (!p.login() || !p.expect("STAT"))
                return;
            if (endless) {
                p.reply("211-status follows");
                for (int i = 0; i < 20; ++i)
                    p.reply(QByteArray(20000, 'z')); // over-long lines, and no end line
            }
            p.command(); // waits until the client gives up
        });
        FtpConnection *c = connect(server);
        ASSERT_NE(c, nullptr);
        EXPECT_FALSE(c->command(QStringLiteral("STAT")));
        EXPECT_EQ(lastError(), quint32(ErrorTimeout));
        EXPECT_FALSE(c->isAlive());
        EXPECT_FALSE(c->command(QStringLiteral("NOOP")));
        EXPECT_TRUE(lastError() == ErrorIncorrectHandleState || lastError() == ErrorFtpDropped);
    }
}

TEST_F(Scripted, LineBreaksAreNeverSent)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (p.login())
            p.answer("NOOP", "200 ok");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    FindRecord rec;
    const std::function<bool()> refused[] = {
        [&] { return c->command(QStringLiteral("NOOP\r\nDELE x")); },
        [&] { return c->deleteFile(QStringLiteral("a\nb")); },
        [&] { return c->renameFile(QStringLiteral("a"), QStringLiteral("b\r")); },
        [&] { return c->deleteFile(QString::fromLatin1("a\0b", 3)); },
        [&] { return c->openFile(QStringLiteral("x\ny"), GENERIC_READ, 0) != nullptr; },
        [&] { return c->findFirstFile(QStringLiteral("x\ny"), rec) != nullptr; },
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(refused[i]()) << i;
        EXPECT_EQ(lastError(), quint32(ErrorLineBreak)) << i;
    }
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(server.finish(), QString());
    EXPECT_EQ(server.commands().size(), 4); // USER, PASS, FEAT, NOOP
}

TEST_F(Scripted, PartingWordsOfAServerThatHungUpAreShown)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.reply("421 Control connection timed out.");
        p.closeControl();
        p.signal();
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(server.waitForSignal());
    EXPECT_FALSE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastError(), quint32(ErrorFtpDropped));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("421 Control connection timed out.\r\n"));
    EXPECT_FALSE(c->isAlive());
    FindRecord rec;
    EXPECT_EQ(c->findFirstFile(QStringLiteral("*.*"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorFtpDropped));
}

TEST_F(Scripted, AbortDrainsEveryReplyOfTheServer)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login() || !p.startRetr())
            return;
        p.sendData(QByteArray(1000, 'x'));
        p.expect("ABOR");
        p.closeData();
        p.reply("426 Transfer aborted.");
        p.reply("226 ABOR successful.");
        p.answer("PWD", "257 \"/\" is current.") && p.answer("NOOP", "200 fine");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    auto file = c->openFile(QStringLiteral("f"), GENERIC_READ, 0);
    ASSERT_NE(file, nullptr);
    char block[10];
    quint32 got = 0;
    ASSERT_TRUE(file->read(block, sizeof block, got));
    EXPECT_TRUE(file->close()) << lastError();
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("226 ABOR successful.\r\n"));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("200 fine\r\n"));
    EXPECT_EQ(server.finish(), QString());
}

TEST_F(Scripted, ActiveListingAnsweredWithoutAConnectionIsEmpty)
{
    setTimeouts(300);
    ScriptedServer server([](ScriptPeer &p) {
        if (p.login() && p.answer("PORT 127,0,0,1,", "200 PORT ok"))
            p.answer("LIST", "226 No files found.") && p.answer("NOOP", "200 ok"); // and never connects
    });
    FtpConnection *c = connect(server, false);
    ASSERT_NE(c, nullptr);
    quint32 endError = 0;
    EXPECT_EQ(listNames(c, &endError), QStringList());
    EXPECT_EQ(endError, quint32(ErrorNoMoreFiles));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(server.finish(), QString());
}

TEST_F(Scripted, OverIpv6ActiveModeUsesEprtAndPassiveModeEpsv)
{
    for (bool passive : {false, true}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        ScriptedServer server(
            [passive](ScriptPeer &p) {
                if (p.login() && (passive ? p.passive() : p.active("EPRT")))
                    p.serveList(passive, kListing);
            },
            QHostAddress(QHostAddress::LocalHostIPv6));
        FtpConnection *c = connect(server, passive, "::1");
        ASSERT_NE(c, nullptr) << lastError();
        EXPECT_EQ(listNames(c), kNames) << lastError();
        EXPECT_EQ(server.finish(), QString());
    }
}

TEST_F(Scripted, RefusedPortFallsBackToEprtAndIsRemembered)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (p.login() && p.answer("PORT", "500 PORT not allowed") && p.active("EPRT") && p.serveList(false, kListing))
            p.active("EPRT") && p.serveList(false, kListing);
    });
    FtpConnection *c = connect(server, false);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(listNames(c), kNames);
    EXPECT_EQ(listNames(c), kNames);
    EXPECT_EQ(server.finish(), QString());
    EXPECT_EQ(server.commands().filter(QStringLiteral("PORT")).size(), 1);
}

TEST_F(Scripted, AStopRequestEndsEveryWaitAndAStoppedDownloadStillAborts)
{
    // The script raises the flag where the client waits; the time-outs are long
    // enough that a stop left unseen would end in ErrorTimeout instead.
    setTimeouts(60000);
    std::atomic<bool> stop{false};
    setStopFlag(&stop);
    // A failed ASSERT leaves early: the flag must not stay for the next tests.
    const std::shared_ptr<void> unset(nullptr, [](void *) { setStopFlag(nullptr); });
    auto raise = [&stop] { stop = true; };

    {
        SCOPED_TRACE("no greeting");
        ScriptedServer server([&](ScriptPeer &p) {
            if (p.acceptControl()) {
                raise();
                p.command(); // until the client hangs up
            }
        });
        EXPECT_EQ(connect(server), nullptr);
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
    }
    stop = false;
    {
        SCOPED_TRACE("no reply");
        ScriptedServer server([&](ScriptPeer &p) {
            if (p.login() && p.expect("STAT")) {
                raise();
                p.command();
            }
        });
        FtpConnection *c = connect(server);
        ASSERT_NE(c, nullptr);
        EXPECT_FALSE(c->command(QStringLiteral("STAT")));
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
        EXPECT_FALSE(c->isAlive()); // out of step with the server
    }
    stop = false;
    {
        SCOPED_TRACE("download stalls");
        ScriptedServer server([&](ScriptPeer &p) {
            if (!p.login() || !p.startRetr())
                return;
            p.sendData(QByteArray(1000, 'x'));
            raise();
            p.expect("ABOR");
            p.closeData();
            p.reply("426 Transfer aborted.");
            p.reply("226 ABOR successful.");
            p.answer("PWD", "257 \"/\" is current.") && p.answer("NOOP", "200 fine");
        });
        FtpConnection *c = connect(server);
        ASSERT_NE(c, nullptr);
        auto file = c->openFile(QStringLiteral("f"), GENERIC_READ, 0);
        ASSERT_NE(file, nullptr);
        QByteArray block(4000, '\0');
        quint32 got = 0;
        EXPECT_FALSE(file->read(block.data(), quint32(block.size()), got));
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
        stop = false; // the stop is handled: the transfer is aborted politely
        EXPECT_FALSE(file->close()); // still the stopped transfer's result
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
        EXPECT_TRUE(c->command(QStringLiteral("NOOP"))) << lastError();
        EXPECT_EQ(server.finish(), QString());
    }
    {
        SCOPED_TRACE("upload not read");
        ScriptedServer server([&](ScriptPeer &p) {
            if (!p.login() || !p.answer("TYPE I", "200 binary") || !p.passive() || !p.expect("STOR")
                || !p.acceptData())
                return;
            p.reply("150 go ahead");
            // Once the client sends (it has the 150), never read: its
            // sending stalls, and the stop must end it.
            p.dataArrives();
            raise();
            p.command();
        });
        FtpConnection *c = connect(server);
        ASSERT_NE(c, nullptr);
        auto file = c->openFile(QStringLiteral("f"), GENERIC_WRITE, 0);
        ASSERT_NE(file, nullptr);
        const QByteArray chunk(1024 * 1024, 'y');
        quint32 written = 0;
        bool ok = true;
        for (int i = 0; i < 256 && ok; ++i)
            ok = file->write(chunk.constData(), quint32(chunk.size()), written);
        EXPECT_FALSE(ok);
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
    }
    setStopFlag(nullptr);
}

// What FEAT offers for resuming and verifying, REST answered or refused,
// and the hashes in the replies of HASH (after OPTS HASH) and of XSHA1.
TEST_F(Scripted, RestartOffsetsHashesSizesAndFileTimes)
{
    const QByteArray sha256 = QCryptographicHash::hash("0123456789", QCryptographicHash::Sha256).toHex();
    const QByteArray sha1 = QCryptographicHash::hash("0123456789", QCryptographicHash::Sha1).toHex();
    ScriptedServer server([&](ScriptPeer &p) {
        if (!p.acceptControl())
            return;
        p.reply("220 scripted");
        if (!p.answer("USER", "331 password please") || !p.answer("PASS", "230 in")
            || !p.answer("FEAT", "211-Features:\r\n REST STREAM\r\n MFMT\r\n HASH SHA-256*;MD5\r\n XSHA1\r\n"
                                 " SIZE\r\n211 End"))
            return;
        // Taken: the data starts at byte 4.
        if (!p.answer("TYPE I", "200 binary") || !p.answer("REST 4", "350 Restarting at 4") || !p.passive()
            || !p.expect("RETR f.bin") || !p.acceptData())
            return;
        p.reply("150 sending");
        p.sendData("456789");
        p.closeData();
        p.reply("226 done");
        // Refused: from the start.
        if (!p.answer("REST 8", "502 Command not implemented") || !p.passive() || !p.expect("RETR f.bin")
            || !p.acceptData())
            return;
        p.reply("150 sending");
        p.sendData("0123456789");
        p.closeData();
        p.reply("226 done");
        p.answer("HASH f.bin", "213 SHA-256 0-9 " + sha256 + " f.bin") && p.answer("OPTS HASH MD5", "200 MD5")
            && p.answer("HASH f.bin", "213 MD5 0-9 nothex f.bin") && p.answer("XSHA1 f.bin", "250 " + sha1)
            && p.answer("SIZE f.bin", "213 10") && p.answer("SIZE gone.bin", "550 No such file")
            && p.answer("TYPE A", "200 ascii") && p.answer("TYPE I", "200 binary") && p.answer("SIZE f.bin", "213 10")
            && p.answer("MFMT 20240102030405 f.bin", "213 Modify=20240102030405; f.bin") && p.answer("QUIT", "221 bye");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr) << lastError();
    const FtpFeatures f = c->features();
    EXPECT_TRUE(f.restStream && f.mfmt && f.xsha1 && !f.xsha256 && !f.xmd5);
    EXPECT_EQ(f.hash, (QList<HashAlgorithm>{HashAlgorithm::Sha256, HashAlgorithm::Md5}));
    EXPECT_EQ(f.hashSelected, HashAlgorithm::Sha256);
    EXPECT_EQ(c->bestHash(), HashAlgorithm::Sha256);

    for (const auto &[offset, start, data] : {std::tuple{4, 4, QByteArray("456789")}, {8, 0, QByteArray("0123456789")}}) {
        auto file = c->openFile(QStringLiteral("f.bin"), GENERIC_READ, FTP_TRANSFER_TYPE_BINARY, offset);
        ASSERT_NE(file, nullptr) << lastError();
        EXPECT_EQ(file->startOffset(), start);
        QByteArray got;
        EXPECT_TRUE(readAll(*file, got));
        EXPECT_EQ(got, data);
        EXPECT_TRUE(file->close());
    }
    QByteArray digest;
    EXPECT_TRUE(c->fileHash(QStringLiteral("f.bin"), HashAlgorithm::Sha256, digest));
    EXPECT_EQ(digest.toHex(), sha256);
    EXPECT_FALSE(c->fileHash(QStringLiteral("f.bin"), HashAlgorithm::Md5, digest)); // no digest in the reply
    EXPECT_TRUE(c->fileHash(QStringLiteral("f.bin"), HashAlgorithm::Sha1, digest));
    EXPECT_EQ(digest.toHex(), sha1);
    qint64 size = 0;
    EXPECT_TRUE(c->fileSize(QStringLiteral("f.bin"), size));
    EXPECT_EQ(size, 10);
    EXPECT_FALSE(c->fileSize(QStringLiteral("gone.bin"), size));
    EXPECT_EQ(size, -1);
    ASSERT_TRUE(c->command(QStringLiteral("TYPE A")));
    EXPECT_TRUE(c->fileSize(QStringLiteral("f.bin"), size)); // asked in binary form again
    EXPECT_EQ(size, 10);
    EXPECT_TRUE(c->setFileTime(QStringLiteral("f.bin"), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC)));
    session.closeConnection(c);
    EXPECT_EQ(server.finish(), QString());
}

// Our own hash: blocks of any size give the digest of the whole.
TEST(Digest, SmallBlocksGiveTheWholesDigest)
{
    const QByteArray data = QByteArray(700 * 1024 + 13, 'a') + "tail";
    for (const auto &[algorithm, qt] : {std::pair{HashAlgorithm::Sha256, QCryptographicHash::Sha256},
                                        {HashAlgorithm::Sha1, QCryptographicHash::Sha1},
                                        {HashAlgorithm::Md5, QCryptographicHash::Md5}}) {
        Digest digest(algorithm);
        for (qsizetype i = 0; i < data.size(); i += 255)
            digest.addData(data.constData() + i, qMin<qsizetype>(255, data.size() - i));
        EXPECT_EQ(digest.result(), QCryptographicHash::hash(data, qt));
        digest.addData(data.constData(), data.size()); // one block, larger than the pieces
        EXPECT_EQ(digest.result(), QCryptographicHash::hash(data, qt));
    }
    EXPECT_EQ(Digest().result(), QByteArray());
}
