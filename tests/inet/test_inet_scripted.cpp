// The FTP client against a scripted peer: replies and faults real servers
// rarely produce.
#include "ScriptedServer.h"

#include "platform/inet/Inet.h"

#include <gtest/gtest.h>

using namespace inet;

namespace {

const char *kListing = "-rw-r--r-- 1 u g 1 Jan 1 2020 one\r\n"
                       "-rw-r--r-- 1 u g 2 Jan 1 2020 two\r\n"
                       "-rw-r--r-- 1 u g 3 Jan 1 2020 three\r\n";

class Scripted : public testing::Test {
protected:
    Scripted() : session(QStringLiteral("TarvoFtp"))
    {
        Timeouts t;
        t.connectMs = 5000;
        t.replyMs = 5000;
        t.dataMs = 5000;
        session.setTimeouts(t);
    }

    FtpConnection *connect(ScriptedServer &server)
    {
        return session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("u"),
                                  QStringLiteral("p"), INTERNET_FLAG_PASSIVE);
    }

    void shortReplies()
    {
        Timeouts t = session.timeouts();
        t.replyMs = 300;
        t.dataMs = 300;
        session.setTimeouts(t);
    }

    InternetSession session;
};

// Reads a whole download; false when a read failed.
bool readAll(FtpFile &file, QByteArray &out)
{
    char block[255];
    quint32 got = 0;
    for (;;) {
        if (!file.read(block, sizeof block, got))
            return false;
        if (got == 0)
            return true;
        out.append(block, got);
    }
}

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
        p.expect("QUIT");
        p.reply("221 bye");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr) << lastError();
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("220-Welcome\r\n220-second line\r\n220 ready\r\n"
                                                 "230-Hello\r\n  indented\r\n230 Logged in.\r\n"));
    EXPECT_TRUE(c->features().mlsd);
    EXPECT_TRUE(c->features().epsv);
    EXPECT_FALSE(c->features().utf8);
    session.closeConnection(c);
    server.finish();
    EXPECT_EQ(server.failure(), QString());
}

TEST_F(Scripted, LongMultiLineReplyIsKeptExactly)
{
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += "214-line " + QByteArray::number(i) + " 214 not the end\r\n";
    text += "214 end";
    ScriptedServer server([text](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("HELP");
        p.reply(text);
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->command(QStringLiteral("HELP")));
    EXPECT_EQ(lastResponseInfo(), QString::fromLatin1(text + "\r\n"));
}

TEST_F(Scripted, LoginRefusals)
{
    ScriptedServer afterUser([](ScriptPeer &p) {
        if (!p.acceptControl())
            return;
        p.reply("220 hi");
        p.expect("USER");
        p.reply("530 Not allowed.");
    });
    EXPECT_EQ(connect(afterUser), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorIncorrectUserName));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("530 Not allowed.\r\n"));

    ScriptedServer other([](ScriptPeer &p) {
        if (!p.acceptControl())
            return;
        p.reply("220 hi");
        p.expect("USER");
        p.reply("331 pass");
        p.expect("PASS");
        p.reply("421 Too many users.");
    });
    EXPECT_EQ(connect(other), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorLoginFailure));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("421 Too many users.\r\n"));
}

TEST_F(Scripted, PasvHostIsIgnoredAndRefusedEpsvIsRemembered)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        for (int round = 0; round < 2; ++round) {
            // 192.0.2.1 is a documentation address: connecting there would fail.
            if (!p.passive(false, "192,0,2,1"))
                return;
            p.expect("LIST");
            if (!p.acceptData())
                return;
            p.reply("150 here it comes");
            p.sendData(kListing);
            p.closeData();
            p.reply("226 done");
        }
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    for (int round = 0; round < 2; ++round) {
        FindRecord rec;
        auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
        ASSERT_NE(find, nullptr) << lastError();
        EXPECT_EQ(rec.name, QStringLiteral("one"));
        ASSERT_TRUE(find->next(rec));
        ASSERT_TRUE(find->next(rec));
        EXPECT_EQ(rec.name, QStringLiteral("three"));
        EXPECT_FALSE(find->next(rec));
        EXPECT_EQ(lastError(), quint32(ErrorNoMoreFiles));
    }
    server.finish();
    EXPECT_EQ(server.failure(), QString());
    EXPECT_EQ(server.commands().count(QStringLiteral("EPSV")), 1);
}

TEST_F(Scripted, ControlDroppedMidListingKeepsTheEntriesRead)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login() || !p.passive())
            return;
        p.expect("LIST");
        if (!p.acceptData())
            return;
        p.reply("150 here it comes");
        p.sendData(QByteArray(kListing) + "-rw-r--r-- 1 u g 3 Jan 1 2020 cut-sh");
        p.closeControl();
        p.closeData();
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    FindRecord rec;
    auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
    ASSERT_NE(find, nullptr) << lastError();
    EXPECT_EQ(rec.name, QStringLiteral("one"));
    EXPECT_TRUE(find->next(rec));
    EXPECT_TRUE(find->next(rec));
    EXPECT_EQ(rec.name, QStringLiteral("three"));
    EXPECT_FALSE(find->next(rec)) << "the unfinished line is not an entry";
    EXPECT_EQ(lastError(), quint32(ErrorFtpDropped));
    find.reset();
    EXPECT_FALSE(c->isAlive());
    QString dir;
    EXPECT_FALSE(c->getCurrentDirectory(dir));
    EXPECT_EQ(lastError(), quint32(ErrorFtpDropped));
}

TEST_F(Scripted, DroppedMidTransferIsAnErrorNeverTheEnd)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("TYPE I");
        p.reply("200 binary");
        if (!p.passive())
            return;
        p.expect("RETR");
        if (!p.acceptData())
            return;
        p.reply("150 sending");
        p.sendData(QByteArray(100000, 'x'));
        p.closeControl();
        p.closeData();
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    auto file = c->openFile(QStringLiteral("f.bin"), GENERIC_READ, FTP_TRANSFER_TYPE_BINARY);
    ASSERT_NE(file, nullptr) << lastError();
    QByteArray data;
    EXPECT_FALSE(readAll(*file, data));
    EXPECT_TRUE(lastError() == ErrorFtpDropped || lastError() == ErrorConnectionAborted
                || lastError() == ErrorConnectionReset)
        << lastError();
    EXPECT_FALSE(file->close());
}

TEST_F(Scripted, TransferEndingWith426Fails)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("TYPE I");
        p.reply("200 binary");
        if (!p.passive())
            return;
        p.expect("RETR");
        if (!p.acceptData())
            return;
        p.reply("150 sending");
        p.sendData(QByteArray(5000, 'x'));
        p.closeData();
        p.reply("426 Connection closed; transfer aborted.");
        p.expect("NOOP");
        p.reply("200 still here");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    auto file = c->openFile(QStringLiteral("f.bin"), GENERIC_READ, 0);
    ASSERT_NE(file, nullptr);
    QByteArray data;
    EXPECT_FALSE(readAll(*file, data));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("426")));
    EXPECT_FALSE(file->close());
    file.reset();
    EXPECT_TRUE(c->command(QStringLiteral("NOOP"))) << lastError();
}

TEST_F(Scripted, TransfersWithoutOrWithLatePreliminaryReply)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("TYPE I");
        p.reply("200 binary");
        // No 1xx at all.
        if (!p.passive())
            return;
        p.expect("RETR a");
        if (!p.acceptData())
            return;
        p.sendData("first file");
        p.closeData();
        p.reply("226 done");
        // The 1xx after the data.
        if (!p.passive())
            return;
        p.expect("RETR b");
        if (!p.acceptData())
            return;
        p.sendData("second file");
        p.closeData();
        p.reply("150 opening");
        p.reply("226 done");
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
    server.finish();
    EXPECT_EQ(server.failure(), QString());
}

TEST_F(Scripted, SilentServerTimesOutAndTheConnectionIsThenRefused)
{
    shortReplies();
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("NOOP");
        p.expect("QUIT"); // never answered
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
    EXPECT_FALSE(c->isAlive());
    EXPECT_FALSE(c->command(QStringLiteral("NOOP")));
    EXPECT_TRUE(lastError() == ErrorIncorrectHandleState || lastError() == ErrorFtpDropped);
}

TEST_F(Scripted, ReplyThatNeverEndsTimesOut)
{
    shortReplies();
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("STAT");
        p.reply("211-status follows");
        for (int i = 0; i < 20; ++i)
            p.reply(QByteArray(20000, 'z')); // over-long lines, and no end line
        p.command(); // waits until the client gives up
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->command(QStringLiteral("STAT")));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
}

TEST_F(Scripted, LineBreaksAreNeverSent)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("NOOP");
        p.reply("200 ok");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->command(QStringLiteral("NOOP\r\nDELE x")));
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_FALSE(c->deleteFile(QStringLiteral("a\nb")));
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_FALSE(c->renameFile(QStringLiteral("a"), QStringLiteral("b\r")));
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_FALSE(c->deleteFile(QString::fromLatin1("a\0b", 3)));
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_EQ(c->openFile(QStringLiteral("x\ny"), GENERIC_READ, 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    FindRecord rec;
    EXPECT_EQ(c->findFirstFile(QStringLiteral("x\ny"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    server.finish();
    EXPECT_EQ(server.failure(), QString());
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
        if (!p.login())
            return;
        p.expect("TYPE I");
        p.reply("200 binary");
        if (!p.passive())
            return;
        p.expect("RETR");
        if (!p.acceptData())
            return;
        p.reply("150 sending");
        p.sendData(QByteArray(1000, 'x'));
        p.expect("ABOR");
        p.closeData();
        p.reply("426 Transfer aborted.");
        p.reply("226 ABOR successful.");
        p.expect("PWD");
        p.reply("257 \"/\" is current.");
        p.expect("NOOP");
        p.reply("200 fine");
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
    server.finish();
    EXPECT_EQ(server.failure(), QString());
}

TEST_F(Scripted, ActiveListingAnsweredWithoutAConnectionIsEmpty)
{
    shortReplies();
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("PORT 127,0,0,1,");
        p.reply("200 PORT ok");
        p.expect("LIST");
        p.reply("226 No files found."); // and never connects
        p.expect("NOOP");
        p.reply("200 ok");
    });
    FtpConnection *c = session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("u"),
                                          QStringLiteral("p"), 0);
    ASSERT_NE(c, nullptr);
    FindRecord rec;
    EXPECT_EQ(c->findFirstFile(QStringLiteral("*.*"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorNoMoreFiles));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    server.finish();
    EXPECT_EQ(server.failure(), QString());
}

TEST_F(Scripted, OverLongReplyLinesAreCutNotFatal)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("HELP");
        p.reply("214-" + QByteArray(20000, 'a') + "\r\n214 end");
        p.expect("NOOP");
        p.reply("200 ok");
    });
    FtpConnection *c = connect(server);
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->command(QStringLiteral("HELP")));
    const QStringList lines = lastResponseInfo().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 8192);
    EXPECT_EQ(lines[1], QStringLiteral("214 end"));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastResponseInfo(), QStringLiteral("200 ok\r\n"));
}

TEST_F(Scripted, OverIpv6ActiveModeUsesEprtAndPassiveModeEpsv)
{
    for (bool passive : {false, true}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        ScriptedServer server(
            [passive](ScriptPeer &p) {
                if (!p.login())
                    return;
                if (passive ? !p.passive() : !p.active("EPRT"))
                    return;
                p.expect("LIST");
                if (passive ? !p.acceptData() : false)
                    return;
                p.reply("150 here");
                if (!passive && !p.connectData())
                    return;
                p.sendData(kListing);
                p.closeData();
                p.reply("226 done");
            },
            QHostAddress(QHostAddress::LocalHostIPv6));
        FtpConnection *c = session.connectFtp(QStringLiteral("::1"), server.port(), QStringLiteral("u"),
                                              QStringLiteral("p"), passive ? INTERNET_FLAG_PASSIVE : 0);
        ASSERT_NE(c, nullptr) << lastError();
        FindRecord rec;
        auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
        ASSERT_NE(find, nullptr) << lastError() << " " << server.failure().toStdString();
        EXPECT_EQ(rec.name, QStringLiteral("one"));
        find.reset();
        server.finish();
        EXPECT_EQ(server.failure(), QString());
    }
}

TEST_F(Scripted, RefusedPortFallsBackToEprtAndIsRemembered)
{
    ScriptedServer server([](ScriptPeer &p) {
        if (!p.login())
            return;
        p.expect("PORT");
        p.reply("500 PORT not allowed");
        for (int round = 0; round < 2; ++round) {
            if (!p.active("EPRT"))
                return;
            p.expect("LIST");
            p.reply("150 here");
            if (!p.connectData())
                return;
            p.sendData(kListing);
            p.closeData();
            p.reply("226 done");
        }
    });
    FtpConnection *c = session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("u"),
                                          QStringLiteral("p"), 0);
    ASSERT_NE(c, nullptr);
    for (int round = 0; round < 2; ++round) {
        FindRecord rec;
        auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
        ASSERT_NE(find, nullptr) << lastError();
        EXPECT_EQ(rec.name, QStringLiteral("one"));
    }
    server.finish();
    EXPECT_EQ(server.failure(), QString());
    EXPECT_EQ(server.commands().filter(QStringLiteral("PORT")).size(), 1);
}
