#include "session/clsFTPClient.h"

#include "platform/Prompt.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QEventLoop>
#include <QPointer>

namespace {
// A port typed by the user: empty means the default (0: 21, or 990 for
// implicit TLS); anything that is not a whole number 1-65535 is refused
// before a connection is tried.
bool parsePort(const QString &text, quint16 &port)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        port = 0;
        return true;
    }
    bool ok = false;
    const uint value = t.toUInt(&ok, 10);
    if (!ok || value < 1 || value > 65535 || t.startsWith(QLatin1Char('+')))
        return false;
    port = quint16(value);
    return true;
}

ftp::Result failure(quint32 error)
{
    ftp::Result r;
    r.outcome = ftp::Outcome::Failed;
    r.error = error;
    return r;
}
} // namespace

clsFTPClient::clsFTPClient(QObject *parent) : QObject(parent)
{
    hOpen = this;
    lConnectMode = 0;
}

clsFTPClient::~clsFTPClient()
{
    m_link.reset(); // stops what runs; the goodbye goes on without us
    hConnection = nullptr;
    if (hOpen == this)
        hOpen = nullptr;
}

void clsFTPClient::setHost(SessionHost *host)
{
    m_host = host ? host : &m_nullHost;
}

void clsFTPClient::setTimeouts(const inet::Timeouts &timeouts)
{
    m_timeouts = timeouts;
}

const cdEnum &clsFTPClient::Directory()
{
    if (!mDirCol)
        mDirCol = std::make_unique<cdEnum>();
    return *mDirCol;
}

void clsFTPClient::ErrorOut(quint32 dwError, const QString &, const QString &sModule)
{
    const QString module = sModule.isEmpty() ? QStringLiteral("wininet.dll") : sModule;
    const QString text = inet::formatMessage(dwError, module, LanguageOffset == 0);
    // The message tables end each text with CR LF; a text of fewer than three
    // characters means the table has none for this code.
    sLastError = text.size() < 3 ? QString() : text.left(text.size() - 2);
    if (dwError > 12000 && !m_lastReply.isEmpty())
        sLastError = m_lastReply;
}

void clsFTPClient::ActionOut(const QString &)
{
    sLastResponse = m_lastReply;
}

QString clsFTPClient::GetLastErrorMessage() const
{
    return sLastError;
}

std::optional<ftp::LoginParams> clsFTPClient::loginParams() const
{
    if (!m_link)
        return std::nullopt;
    ftp::LoginParams login = m_link->login();
    // The transfer connections trust what the user accepted for this one.
    if (!m_accepted.isEmpty())
        login.trustedSha256 = m_accepted;
    return login;
}

void clsFTPClient::answerCertificate(ftp::FtpLink *link, const ftp::Request &request)
{
    // The question may open a window with an event loop of its own: it is
    // asked outside the connection's signal, and the connection may be gone
    // by the time it is answered.
    QPointer<ftp::FtpLink> guard(link);
    QMetaObject::invokeMethod(this, [this, guard, request] {
        if (!guard)
            return;
        const bool ok = m_security.decide(request.certificate, *m_host);
        if (!guard)
            return;
        if (ok && guard.data() == m_link.get())
            m_accepted = request.certificate.sha256;
        guard->answer(request.id, ok ? 1 : 0);
    }, Qt::QueuedConnection);
}

void clsFTPClient::takeResult(const ftp::Result &result, const char *szFunc)
{
    m_lastReply = result.response;
    if (!result.folder.isEmpty())
        m_folder = result.folder;
    if (result.ok()) {
        ActionOut(QString());
        bActivity = true;
        return;
    }
    if (!szFunc)
        return;
    if (result.error == inet::ErrorLocalFile && result.systemError != 0)
        ErrorOut(quint32(result.systemError), QString::fromLatin1(szFunc), QStringLiteral("kernel32"));
    else if (result.error != inet::NoError)
        ErrorOut(result.error, QString::fromLatin1(szFunc), QString());
}

quint64 clsFTPClient::send(ftp::Command command, const char *szFunc, Done done,
                           const std::function<void(const ftp::Result &)> &handle)
{
    auto deliver = [this, szFunc, done = std::move(done), handle](const ftp::Result &r) {
        takeResult(r, szFunc);
        if (handle)
            handle(r);
        if (done)
            done(r);
    };
    if (m_link)
        return m_link->submit(std::move(command), std::move(deliver));
    // Not connected: refused, and as every result it comes later, never
    // inside the call.
    const ftp::Result refused = failure(inet::ErrorIncorrectHandleState);
    QMetaObject::invokeMethod(this, [deliver, refused] { deliver(refused); }, Qt::QueuedConnection);
    return 0;
}

void clsFTPClient::OpenConnection(const QString &sServer, const QString &sPort, const QString &sUser,
                                  const QString &sPassword, qint64 plServiceConnectionType, Done done)
{
    m_link.reset();
    hConnection = nullptr;
    m_folder.clear();

    auto failNow = [&](quint32 error) {
        const ftp::Result r = failure(error);
        m_lastReply.clear();
        ErrorOut(error, QStringLiteral("InternetConnect"), QString());
        if (done)
            QMetaObject::invokeMethod(this, [done, r] { done(r); }, Qt::QueuedConnection);
    };
    quint16 port = 0;
    if (!parsePort(sPort, port)) {
        failNow(inet::ErrorInvalidPort);
        return;
    }
    if (!inet::isOnline()) {
        platform::inform(LangStr(665) + QStringLiteral("\r\n") + LangStr(666));
        failNow(inet::ErrorCannotConnect);
        return;
    }

    ftp::LoginParams login;
    login.host = sServer.trimmed();
    login.port = port;
    login.user = sUser;
    login.password = sPassword;
    login.passive = (quint64(plServiceConnectionType) & inet::INTERNET_FLAG_PASSIVE) != 0;
    login.timeouts = m_timeouts;
    m_security.fill(login);
    m_accepted.clear();
    m_link = std::make_unique<ftp::FtpLink>(login);
    connect(m_link.get(), &ftp::FtpLink::reconnecting, this, &clsFTPClient::reconnected);
    ftp::FtpLink *opened = m_link.get();
    connect(opened, &ftp::FtpLink::certificateRequested, this,
            [this, opened](const ftp::Request &request) { answerCertificate(opened, request); });

    send(ftp::Connect{}, "InternetConnect", std::move(done), [this, opened](const ftp::Result &r) {
        if (r.ok()) {
            hConnection = opened;
            m_security.connected(r, *m_host);
            m_host->setKeepAliveEnabled(true);
            return;
        }
        // We are inside the connection's own delivery: it goes once that is over.
        if (m_link.get() == opened)
            m_link.release()->deleteLater();
    });
}

void clsFTPClient::CloseConnection()
{
    if (m_link) {
        m_link.reset();
        bConnected = false;
        m_host->setKeepAliveEnabled(false);
        m_security.disconnected(*m_host);
    }
    hConnection = nullptr;
    m_folder.clear();
}

void clsFTPClient::cancelOperations()
{
    if (m_link)
        m_link->cancelAll();
}

void clsFTPClient::waitIdle()
{
    if (!m_link || m_link->isIdle())
        return;
    QEventLoop loop;
    ftp::FtpLink *link = m_link.get();
    const QMetaObject::Connection c = connect(link, &ftp::FtpLink::finished, &loop, [&] {
        if (m_link.get() != link || link->isIdle())
            loop.quit();
    });
    const QMetaObject::Connection gone = connect(link, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    disconnect(c);
    disconnect(gone);
}

void clsFTPClient::SetTransferASCII()
{
    lTransferType = inet::FTP_TRANSFER_TYPE_ASCII;
}

void clsFTPClient::SetTransferBinary()
{
    lTransferType = inet::FTP_TRANSFER_TYPE_BINARY;
}

void clsFTPClient::SetModeActive()
{
    lConnectMode = 0;
}

void clsFTPClient::SetModePassive()
{
    lConnectMode = qint32(inet::INTERNET_FLAG_PASSIVE);
}
