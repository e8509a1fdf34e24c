// HTTP download and open-URL on QNetworkAccessManager, waited on synchronously,
// and the on-line test.
#include "platform/inet/Inet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace inet {

namespace {

quint32 networkError(QNetworkReply::NetworkError e)
{
    switch (e) {
    case QNetworkReply::NoError:
        return NoError;
    case QNetworkReply::HostNotFoundError:
        return ErrorNameNotResolved;
    case QNetworkReply::ConnectionRefusedError:
        return ErrorCannotConnect;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return ErrorTimeout;
    case QNetworkReply::RemoteHostClosedError:
        return ErrorConnectionAborted;
    case QNetworkReply::ProtocolUnknownError:
        return ErrorInvalidUrl;
    default:
        return e >= QNetworkReply::ContentAccessDenied && e < QNetworkReply::ProtocolUnknownError
                   ? ErrorHttpStatus
                   : ErrorCannotConnect;
    }
}

bool validHttpUrl(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty()
           && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QNetworkRequest freshRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    return request;
}

// Runs a local event loop until the reply finished or the time ran out.
// True when it finished in time.
bool waitFor(QNetworkReply *reply, int timeoutMs, const std::function<bool()> &onData = {})
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool dataFailed = false;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (onData) {
        QObject::connect(reply, &QIODevice::readyRead, &loop, [&] {
            if (!dataFailed && !onData()) {
                dataFailed = true;
                loop.quit();
            }
        });
    }
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (dataFailed)
        return false;
    return reply->isFinished();
}

int statusOf(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

void recordStatus(QNetworkReply *reply)
{
    const int status = statusOf(reply);
    if (status > 0) {
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        setLastResponseInfo(QStringLiteral("HTTP %1 %2\r\n").arg(status).arg(reason));
    }
}

} // namespace

bool isOnline()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &i : interfaces) {
        if (i.flags().testFlag(QNetworkInterface::IsUp))
            return true;
    }
    return false;
}

bool downloadUrlToFile(const QString &urlText, const QString &localPath, int timeoutMs)
{
    setLastResponseInfo(QString());
    const QUrl url(urlText);
    if (!validHttpUrl(url)) {
        setLastError(ErrorInvalidUrl);
        return false;
    }
    // Written beside the target and renamed into place only when complete.
    QSaveFile out(localPath);
    if (!out.open(QIODevice::WriteOnly)) {
        setLastError(ErrorLocalFile);
        return false;
    }
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(freshRequest(url)));
    bool writeFailed = false;
    auto drain = [&] {
        const int status = statusOf(reply.get());
        if (status != 0 && (status < 200 || status > 299))
            return true; // an error page is not the file
        const QByteArray chunk = reply->readAll();
        writeFailed = out.write(chunk) != chunk.size();
        return !writeFailed;
    };
    const bool finished = waitFor(reply.get(), timeoutMs, drain);
    if (!finished) {
        reply->abort();
        out.cancelWriting();
        setLastError(writeFailed ? ErrorLocalFile : ErrorTimeout);
        return false;
    }
    recordStatus(reply.get());
    const int status = statusOf(reply.get());
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        out.cancelWriting();
        const quint32 code = networkError(reply->error());
        setLastError(status > 0 && (status < 200 || status > 299) ? ErrorHttpStatus
                                                                     : (code ? code : ErrorHttpStatus));
        return false;
    }
    if (!drain() || !out.commit()) {
        out.cancelWriting();
        setLastError(ErrorLocalFile);
        return false;
    }
    setLastError(NoError);
    return true;
}

bool openUrl(const QString &urlText, int timeoutMs)
{
    const QUrl url(urlText);
    if (!validHttpUrl(url)) {
        setLastError(ErrorInvalidUrl);
        return false;
    }
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(freshRequest(url)));
    if (!waitFor(reply.get(), timeoutMs)) {
        reply->abort();
        setLastError(ErrorTimeout);
        return false;
    }
    recordStatus(reply.get());
    // Any answer from the server counts: the request was delivered.
    if (statusOf(reply.get()) > 0) {
        setLastError(NoError);
        return true;
    }
    setLastError(networkError(reply->error()));
    return false;
}

} // namespace inet
