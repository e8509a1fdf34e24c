// The local time zone is named once at start-up, never over a TZ of the user's.
#include "platform/TimeZone.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(TimeZone, PinnedToTheSystemsZoneFileOnlyWhenUnset)
{
    const QByteArray saved = qgetenv("TZ");
    qunsetenv("TZ");
    platform::pinLocalTimeZone();
    if (QFileInfo::exists(QStringLiteral("/etc/localtime")))
        EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    else
        EXPECT_TRUE(qgetenv("TZ").isEmpty());

    qputenv("TZ", "Europe/Paris");
    platform::pinLocalTimeZone();
    EXPECT_EQ(qgetenv("TZ"), QByteArray("Europe/Paris"));
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
}

} // namespace
