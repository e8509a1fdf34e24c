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

ExistsAnswer resumeAnswer(const Request &request)
{
    if (request.canResume())
        return ExistsAnswer::Resume;
    const bool sameTime = request.existingTime.isValid() && request.incomingTime.isValid()
                          && qAbs(request.existingTime.secsTo(request.incomingTime)) < 60;
    if (request.existingSize >= 0 && request.existingSize == request.incomingSize && sameTime)
        return ExistsAnswer::Skip;
    return ExistsAnswer::Overwrite;
}

} // namespace ftp
