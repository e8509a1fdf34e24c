#include "platform/TimeZone.h"

#include <QFileInfo>
#include <QtGlobal>

namespace platform {

void pinLocalTimeZone()
{
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists(QStringLiteral("/etc/localtime")))
        qputenv("TZ", ":/etc/localtime");
}

} // namespace platform
