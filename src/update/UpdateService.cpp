#include "update/UpdateService.h"

#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "platform/inet/Inet.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/OptionStore.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "update/UpdateConfig.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>

namespace {
// "Updates come from the distribution or the project's site".
constexpr int NoUpdateServerId = 890;

QString programFile(const QString &name)
{
    return platform::joinPath(platform::programDirectory(), name);
}

QString readSmallFile(const QString &file, const QString &section, const QString &key)
{
    return OptionStore().ReadValue(key, section, programFile(file)).toText();
}

QString sha256Of(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return QString::fromLatin1(hash.result().toHex());
}

// A file name from the update list must stay inside the "Update" folder.
bool isSafeUpdateName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1String("..")) && !name.contains(QChar(0));
}

bool sameSum(const QString &expected, const QString &path)
{
    const QString wanted = expected.trimmed().toLower();
    return wanted.size() == 64 && wanted == sha256Of(path);
}
} // namespace

ProgramVersion ProgramVersion::parse(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    ProgramVersion v;
    v.major = parts.value(0).toInt();
    v.minor = parts.value(1).toInt();
    v.revision = parts.value(2).toInt();
    return v;
}

ProgramVersion ProgramVersion::running()
{
    return {TARVO_VERSION_MAJOR, TARVO_VERSION_MINOR, TARVO_VERSION_PATCH};
}

QString ProgramVersion::text() const
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

bool ProgramVersion::isNewerThan(const ProgramVersion &o) const
{
    if (major != o.major)
        return major > o.major;
    if (minor != o.minor)
        return minor > o.minor;
    return revision > o.revision;
}

UpdateService::UpdateService(clsFTPClient &ftp, UpdateView &view)
    : m_ftp(ftp), m_view(view), m_own(ProgramVersion::running())
{
}

bool UpdateService::download(const QString &remotePath, const QString &localPath)
{
    return m_ftp.DownloadHTTPFile(localPath, update::updateServerUrl() + remotePath);
}

bool UpdateService::VerifSiUpdateDispo(bool bSilent)
{
    if (!update::hasUpdateServer()) {
        m_answer = Answer::NoUpdateServer;
        m_view.setInfo(update::vendorWebSiteUrl());
        m_view.setNoUpdate(LangStr(NoUpdateServerId));
        m_view.setCloseEnabled(true);
        return false;
    }
    m_view.setCheckButtonVisible(false);
    m_view.setNoUpdate(LangStr(609));
    m_view.setInfo(LangStr(614));
    m_view.setCloseEnabled(false);
    platform::yieldNow();

    if (!download(QStringLiteral("/ver.tf"), programFile(QStringLiteral("ver.tf")))) {
        m_view.setInfo(QString());
        if (!bSilent)
            platform::inform(LangStr(611) + QStringLiteral("\r\n") + LangStr(612));
        m_view.setNoUpdate(LangStr(612));
        m_view.setCloseEnabled(true);
        m_answer = Answer::Unreachable;
        return false;
    }
    m_serverVersion = readSmallFile(QStringLiteral("ver.tf"), QStringLiteral("Version"),
                                    QStringLiteral("Tarvo Ftp.exe"));
    const ProgramVersion server = ProgramVersion::parse(m_serverVersion);
    m_view.setInfo(LangStr(616) + m_own.text() + QStringLiteral(" - ") + LangStr(615) + m_serverVersion);
    m_view.setCloseEnabled(true);

    const bool newer = server.isNewerThan(m_own);
    m_answer = newer ? Answer::Newer : Answer::Current;
    // The same version, or only an older revision: only our own version is shown.
    if (!newer && server.major == m_own.major && server.minor == m_own.minor)
        m_view.setInfo(LangStr(616) + m_own.text());
    return newer;
}

bool UpdateService::fail()
{
    m_view.setInfo(LangStr(618));
    m_view.setCloseEnabled(true);
    m_view.setAnimationRunning(false);
    return false;
}

bool UpdateService::fetchUpdateList(int &count)
{
    m_view.setInfo(LangStr(617));
    QFile::remove(programFile(QStringLiteral("UP.tf")));
    if (!download(QLatin1Char('/') + LangStr(653), programFile(QStringLiteral("upt.tf"))))
        return false;
    count = readSmallFile(QStringLiteral("upt.tf"), QStringLiteral("Update"), QStringLiteral("NbrDl")).toInt();
    return count >= 0;
}

// The updater is fetched again only when its version changed; its checksum
// comes with its version and is checked before it is ever started.
bool UpdateService::fetchUpdater(QString &expectedUpdaterSum)
{
    if (!download(QStringLiteral("/verupt.tf"), programFile(QStringLiteral("verupt.tf"))))
        return false;
    const QString version = readSmallFile(QStringLiteral("verupt.tf"), QStringLiteral("ver"), QStringLiteral("ver"));
    expectedUpdaterSum = readSmallFile(QStringLiteral("verupt.tf"), QStringLiteral("ver"), QStringLiteral("sha256"));
    if (version != options::verupd() || !QFileInfo::exists(programFile(QStringLiteral("TUpdate.exe")))) {
        options::setVerupd(version);
        if (!download(QStringLiteral("/TUpdate.exe"), programFile(QStringLiteral("TUpdate.exe"))))
            return false;
    }
    return true;
}

bool UpdateService::fetchProgramFiles(int count)
{
    m_view.setInfo(LangStr(619));
    const QString folder = programFile(QStringLiteral("Update"));
    QDir().mkpath(folder);
    for (int i = 1; i <= count; ++i) {
        const QString entry = readSmallFile(QStringLiteral("upt.tf"), QStringLiteral("Update"),
                                            QStringLiteral("Upd") + QString::number(i));
        const QStringList fields = entry.split(QLatin1Char('|'));
        const QString name = fields.value(0);
        if (!isSafeUpdateName(name))
            return false;
        m_view.setInfo(LangStr(200) + QStringLiteral(" %1/%2 - ").arg(i).arg(count) + name);
        platform::yieldNow();
        const QString target = platform::joinPath(folder, name);
        if (!download(QLatin1Char('/') + name, target))
            return false;
        // Every file must be the one the list names, byte for byte.
        if (!sameSum(fields.value(1), target)) {
            QFile::remove(target);
            return false;
        }
    }
    return true;
}

bool UpdateService::launchUpdater(const QString &expectedUpdaterSum)
{
    const QString updater = programFile(QStringLiteral("TUpdate.exe"));
    if (!QFileInfo::exists(updater) || !sameSum(expectedUpdaterSum, updater))
        return false;
    platform::yieldNow();
    bUpdateLaunched = true;
    platform::yieldNow();
    QFile::setPermissions(updater, QFile::permissions(updater) | QFile::ExeOwner | QFile::ExeUser);
    if (!QProcess::startDetached(updater, {}, platform::programDirectory())) {
        bUpdateLaunched = false;
        return false;
    }
    return true;
}

bool UpdateService::startUpdate()
{
    m_view.setNoUpdate(LangStr(608));
    m_view.setAnimationRunning(true);
    CallWebScript(QStringLiteral("upd.cgi"), m_own.text() + QLatin1Char('|') + GetMachineName());

    int count = 0;
    if (!fetchUpdateList(count))
        return fail();
    QString updaterSum;
    if (!fetchUpdater(updaterSum))
        return fail();
    if (!fetchProgramFiles(count))
        return fail();
    platform::yieldNow();
    if (!launchUpdater(updaterSum))
        return fail();
    return true;
}

void CallWebScript(const QString &script, const QString &query)
{
    QUrl url(update::vendorWebSiteUrl() + QStringLiteral("/cgi-bin/") + script);
    url.setQuery(QUrl::toPercentEncoding(query, "|"));
    inet::openUrl(url.toString());
    platform::yieldNow();
}

QString GetMachineName()
{
    return QHostInfo::localHostName();
}
