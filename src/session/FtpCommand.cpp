#include "session/FtpCommand.h"

namespace ftp {

QString Result::errorText(bool french) const
{
    if (error == inet::ErrorLocalFile && systemError != 0) {
        const QString text = inet::formatMessage(quint32(systemError), QStringLiteral("kernel32"), french);
        return text.size() < 3 ? QString() : text.left(text.size() - 2);
    }
    const QString text = inet::formatMessage(error, QString(), french);
    QString out = text.size() < 3 ? QString() : text.left(text.size() - 2);
    // Internet codes carry the server's own words when it said something.
    if (error > 12000 && !response.isEmpty())
        out = response;
    return out;
}

} // namespace ftp
