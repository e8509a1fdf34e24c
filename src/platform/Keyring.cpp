#include "platform/Keyring.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <memory>

namespace keyring {
namespace {

const QString Service = QStringLiteral("Tarvo FTP");
// A keyring answers in milliseconds; this leaves time to type an unlock
// password when the keyring asks for one.
constexpr int AnswerTimeoutMs = 120 * 1000;

struct State {
    bool failed = false;
    bool noticeDue = false;
    bool noticeGiven = false;
    std::function<void()> sink;
};

State &state()
{
    static State s;
    return s;
}

struct Outcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QString text;
};

// Runs the job and waits for it. The job deletes itself when it finishes,
// even after we stopped waiting for it: a job given up on may still be
// answered later, and must not answer into freed memory.
Outcome run(QKeychain::Job *job, bool readsText)
{
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [outcome, readsText, &loop](QKeychain::Job *done) {
        outcome->finished = true;
        outcome->error = done->error();
        if (readsText && done->error() == QKeychain::NoError)
            outcome->text = static_cast<QKeychain::ReadPasswordJob *>(done)->textData();
        loop.quit();
    });
    QTimer::singleShot(AnswerTimeoutMs, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->start();
    if (!outcome->finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return *outcome;
}

// Whether an answer shows that the keyring itself cannot be used.
bool keyringFailed(const Outcome &o)
{
    if (!o.finished)
        return true;
    switch (o.error) {
    case QKeychain::NoError:
    case QKeychain::EntryNotFound:
        return false;
    default:
        return true;
    }
}

bool settle(const Outcome &o)
{
    if (keyringFailed(o))
        state().failed = true;
    return !keyringFailed(o);
}

} // namespace

bool usable()
{
    return !state().failed;
}

bool storePassword(const QString &key, const QString &password)
{
    if (!usable())
        return false;
    auto *job = new QKeychain::WritePasswordJob(Service);
    job->setInsecureFallback(false); // never a plain-text file of QtKeychain's own
    job->setKey(key);
    job->setTextData(password);
    const Outcome o = run(job, false);
    return settle(o) && o.error == QKeychain::NoError;
}

std::optional<QString> readPassword(const QString &key)
{
    if (!usable())
        return std::nullopt;
    auto *job = new QKeychain::ReadPasswordJob(Service);
    job->setInsecureFallback(false);
    job->setKey(key);
    const Outcome o = run(job, true);
    if (!settle(o) || o.error != QKeychain::NoError)
        return std::nullopt;
    return o.text;
}

bool removePassword(const QString &key)
{
    if (!usable())
        return false;
    auto *job = new QKeychain::DeletePasswordJob(Service);
    job->setInsecureFallback(false);
    job->setKey(key);
    return settle(run(job, false));
}

void setNoticeSink(std::function<void()> sink)
{
    State &s = state();
    s.sink = std::move(sink);
    if (s.sink && s.noticeDue && !s.noticeGiven) {
        s.noticeGiven = true;
        s.sink();
    }
}

void noteFileFallback()
{
    State &s = state();
    if (s.noticeGiven)
        return;
    s.noticeDue = true;
    if (s.sink) {
        s.noticeGiven = true;
        s.sink();
    }
}

void resetForTests()
{
    State &s = state();
    s.failed = false;
    s.noticeDue = false;
    s.noticeGiven = false;
}

} // namespace keyring
