#include "cli/CliHost.h"

#include "cli/CliText.h"
#include "cli/Console.h"
#include "session/LogLines.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"
#include "transfer/QueueModel.h"

#include <QDir>
#include <QLocale>

namespace cli {
namespace {

// Answers of the file-exists question, as the dialog records them.
constexpr int ChoiceCancel = 1;
constexpr int ChoiceSkip = 2;
constexpr int ChoiceOverwrite = 3;
constexpr int ChoiceOverwriteAll = 4;
constexpr int ChoiceResume = 6;
constexpr int ChoiceResumeAll = 7; // the runner answers this file and the next ones

} // namespace

CliHost::CliHost(Console &console, QueueModel &model, ExistsPolicy policy)
    : m_console(console), m_model(model), m_policy(policy), m_localFolder(QDir::currentPath())
{
}

void CliHost::setConnectionNames(const QString &server, const QString &user)
{
    m_server = server;
    m_user = user;
}

void CliHost::startWatch()
{
    m_watching = true;
    m_failed = false;
    m_failure.clear();
}

void CliHost::noteFailure(const QString &text)
{
    if (!m_failed)
        m_failure = text;
    m_failed = true;
}

void CliHost::logState(int state, const QString &message)
{
    const QList<LogLine> lines = logline::linesFor(state, message, m_server, m_user);
    for (const LogLine &line : lines)
        m_console.log(line);
}

void CliHost::setProgressValue(qint64) {}

void CliHost::setProgressVisible(bool visible)
{
    if (!visible)
        m_console.clearProgress();
}

int CliHost::askExists(const QString &fileName, bool canResume)
{
    switch (m_policy) {
    case ExistsPolicy::Overwrite: return ChoiceOverwrite;
    case ExistsPolicy::Skip: return ChoiceSkip;
    case ExistsPolicy::Cancel: return ChoiceCancel;
    case ExistsPolicy::Resume: return ChoiceResumeAll;
    case ExistsPolicy::Ask: break;
    }
    if (!m_console.canAsk())
        return ChoiceCancel;
    for (;;) {
        QString answer;
        const Text question = canResume ? Text::ExistsQuestionResume : Text::ExistsQuestion;
        if (!m_console.readLine(answer, text(question, fileName)))
            return ChoiceCancel;
        const QString a = answer.trimmed().toLower();
        if (canResume && a == QLatin1String("r"))
            return ChoiceResume;
        if (canResume && a == QLatin1String("l"))
            return ChoiceResumeAll;
        if (a == QLatin1String("o"))
            return ChoiceOverwrite;
        if (a == QLatin1String("a"))
            return ChoiceOverwriteAll;
        if (a == QLatin1String("s"))
            return ChoiceSkip;
        if (a == QLatin1String("c"))
            return ChoiceCancel;
    }
}

bool CliHost::overWriteExist(const QString &fileName, bool isUp, bool canResume, const ftp::Request *)
{
    const int choice = askExists(fileName, canResume);
    lExistChoice = choice;
    bOverwriteAll = choice == ChoiceOverwriteAll;
    bResumeAll = choice == ChoiceResumeAll;
    Q_UNUSED(isUp);
    return choice >= ChoiceOverwrite;
}

void CliHost::progressShown(qint64 current, qint64 total)
{
    int first = -1;
    for (int i = 0; i < m_model.count() && first < 0; ++i)
        if (m_model.row(i).isRunning())
            first = i;
    if (first < 0)
        return;
    const qint64 percent = total > 0 ? current * 100 / total : 100;
    QStringList parts{m_model.row(first).name, QStringLiteral("%1%").arg(percent, 3),
                      m_model.text(first, QueueRow::Detail), m_model.text(first, QueueRow::Speed),
                      m_model.text(first, QueueRow::TimeLeft)};
    parts.removeAll(QString());
    m_console.progress(parts.join(QStringLiteral("  ")));
}

void CliHost::describeCertificate(const inet::CertificateInfo &info)
{
    if (!info.previousSha256.isEmpty())
        m_console.error(LangStr(831));
    m_console.error(LangStr(821));
    const auto row = [this](int id, const QString &value) { m_console.error(QStringLiteral("  %1 %2").arg(LangStr(id), value)); };
    row(822, QStringLiteral("%1:%2").arg(info.host).arg(info.port));
    row(823, info.subject);
    row(824, info.issuer);
    row(825, LangStr(826).arg(QLocale().toString(info.notBefore.toLocalTime(), QLocale::ShortFormat),
                              QLocale().toString(info.notAfter.toLocalTime(), QLocale::ShortFormat)));
    row(827, inet::fingerprintText(info.sha256));
    if (!info.previousSha256.isEmpty())
        row(832, inet::fingerprintText(info.previousSha256));
    for (const QString &problem : info.problems)
        row(828, problem);
}

CertificateAnswer CliHost::askCertificate(const inet::CertificateInfo &info)
{
    m_console.clearProgress();
    describeCertificate(info);
    if (!m_console.canAsk()) {
        // A script cannot answer: the fingerprint lets its author pin it
        // with --fingerprint once they have checked it.
        m_console.error(LangStr(844) + inet::fingerprintText(info.sha256));
        return CertificateAnswer::Cancel;
    }
    for (;;) {
        QString answer;
        if (!m_console.readLine(answer, LangStr(843)))
            return CertificateAnswer::Cancel;
        // The letters of both languages: o/u once, a/t always, n no.
        const QString a = answer.trimmed().toLower();
        if (a == QLatin1String("o") || a == QLatin1String("u"))
            return CertificateAnswer::TrustOnce;
        if (a == QLatin1String("a") || a == QLatin1String("t"))
            return CertificateAnswer::TrustAlways;
        if (a == QLatin1String("n"))
            return CertificateAnswer::Cancel;
    }
}

platform::PromptAnswer CliHost::ask(const platform::PromptRequest &request)
{
    using platform::PromptAnswer;
    using platform::PromptButtons;
    if (request.buttons == PromptButtons::Ok) {
        m_console.error(request.text);
        return PromptAnswer::Ok;
    }
    const bool yesNo = request.buttons == PromptButtons::YesNo;
    const PromptAnswer no = yesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    if (!m_console.canAsk()) {
        m_console.error(request.text);
        return no;
    }
    QString answer;
    if (!m_console.readLine(answer, request.text + QStringLiteral(" [y/n] ")))
        return no;
    const QString a = answer.trimmed().toLower();
    const bool accepted = a.startsWith(QLatin1Char('y')) || a.startsWith(QLatin1Char('o'));
    if (!accepted)
        return no;
    return yesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

} // namespace cli
