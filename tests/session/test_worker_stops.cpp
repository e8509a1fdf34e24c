// A command of a connection's worker stopped between two replies, against a
// scripted peer: the connection is made again in the folder it was in.
#include "ScriptedServer.h"
#include "SessionWait.h"
#include "session/FtpLink.h"

#include <gtest/gtest.h>

namespace {

// The server took the folder change but never said where it is now; the
// user stopped. Where the connection stood is unknown, so the next command's
// new connection goes back to the folder known before, not to the one asked for.
TEST(WorkerStops, AFolderChangeStoppedBeforeItsPwdLeavesTheKnownFolder)
{
    ScriptedServer server([](ScriptPeer &peer) {
        if (!peer.login() || !peer.answer("PWD", "257 \"/\" is the current directory"))
            return;
        if (!peer.answer("CWD /tree", "250 ok") || !peer.expect("PWD"))
            return;
        peer.signal(); // no answer: the client stops and hangs up
        if (!peer.login())
            return;
        const QByteArray cwd = peer.command();
        if (cwd != "CWD /")
            peer.fail(QStringLiteral("came back to '%1'").arg(QString::fromUtf8(cwd)));
        peer.reply("250 ok");
        peer.answer("NOOP", "200 fine");
    });
    ftp::LoginParams login;
    login.host = QStringLiteral("127.0.0.1");
    login.port = server.port();
    login.user = QStringLiteral("u");
    login.password = QStringLiteral("p");
    login.timeouts = {5000, 5000, 5000};
    ftp::FtpLink link(login);
    ASSERT_TRUE(link.run(ftp::Connect{}).ok());

    ftp::Result changed;
    bool answered = false;
    const quint64 id = link.submit(ftp::ChangeDir{QStringLiteral("/tree")}, [&](const ftp::Result &r) {
        changed = r;
        answered = true;
    });
    ASSERT_TRUE(server.waitForSignal());
    link.cancel(id);
    ASSERT_TRUE(testwait::until([&] { return answered; }, 5000));
    EXPECT_EQ(changed.outcome, ftp::Outcome::Stopped);
    EXPECT_TRUE(changed.folder.isEmpty());

    EXPECT_TRUE(link.run(ftp::Raw{QStringLiteral("NOOP")}).ok());
    EXPECT_EQ(server.finish().toStdString(), "");
}

} // namespace
