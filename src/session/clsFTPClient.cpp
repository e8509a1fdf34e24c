#include "session/clsFTPClient.h"

#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

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
} // namespace

clsFTPClient::clsFTPClient(QObject *parent) : QObject(parent)
{
    m_session = std::make_unique<inet::InternetSession>(QStringLiteral("TarvoFtp"));
    hOpen = m_session.get();
    lConnectMode = 0;
}

clsFTPClient::~clsFTPClient()
{
    hFile.reset();
    m_session.reset(); // closes the connection and any handle under it
    hConnection = nullptr;
    hOpen = nullptr;
}

void clsFTPClient::setHost(SessionHost *host)
{
    m_host = host ? host : &m_nullHost;
}

void clsFTPClient::setTimeouts(const inet::Timeouts &timeouts)
{
    m_session->setTimeouts(timeouts);
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
    if (dwError > 12000) {
        const QString reply = inet::lastResponseInfo();
        if (!reply.isEmpty())
            sLastError = reply;
    }
}

void clsFTPClient::ActionOut(const QString &)
{
    sLastResponse = inet::lastResponseInfo();
}

QString clsFTPClient::GetLastErrorMessage() const
{
    return sLastError;
}

bool clsFTPClient::OpenConnection(const QString &sServer, const QString &sPort, const QString &sUser,
                                  const QString &sPassword, qint64 plServiceConnectionType)
{
    if (hConnection) {
        hFile.reset();
        m_session->closeConnection(hConnection);
        hConnection = nullptr;
    }
    platform::yieldNow();

    quint16 port = 0;
    if (!parsePort(sPort, port)) {
        ErrorOut(inet::ErrorInvalidPort, QStringLiteral("InternetConnect"), QString());
        return false;
    }
    if (!inet::isOnline()) {
        platform::inform(LangStr(665) + QStringLiteral("\r\n") + LangStr(666));
        ErrorOut(inet::lastError(), QStringLiteral("InternetConnect"), QString());
        return false;
    }

    hConnection = m_session->connectFtp(sServer.trimmed(), port, sUser, sPassword,
                                        quint32(plServiceConnectionType),
                                        m_security.options(sServer.trimmed(), port, *m_host));
    const quint32 error = inet::lastError();
    platform::yieldNow();
    if (hConnection) {
        m_security.connected(*hConnection, *m_host);
        m_host->setKeepAliveEnabled(true);
        return true;
    }
    ErrorOut(error, QStringLiteral("InternetConnect"), QString());
    return false;
}

void clsFTPClient::CloseConnection()
{
    if (hConnection) {
        hFile.reset();
        m_session->closeConnection(hConnection);
        bConnected = false;
        m_host->setKeepAliveEnabled(false);
        m_security.disconnected(*m_host);
    }
    hConnection = nullptr;
}

void clsFTPClient::SetTransferASCII()
{
    lTransferType = inet::FTP_TRANSFER_TYPE_ASCII;
    platform::yieldNow();
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

bool clsFTPClient::requireConnection(const char *szFunc)
{
    if (hConnection)
        return true;
    inet::setLastError(inet::ErrorIncorrectHandleState);
    ErrorOut(inet::ErrorIncorrectHandleState, QString::fromLatin1(szFunc), QString());
    return false;
}
