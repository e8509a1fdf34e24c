#pragma once
// The update check: asks the update server for the newest version, and on
// request downloads the new program files into the "Update" folder beside the
// program and hands over to the external updater. The window that shows it
// (the update window, or a test) implements UpdateView.

#include <QString>

class clsFTPClient;

// What the update window shows while the service works.
class UpdateView {
public:
    virtual ~UpdateView() = default;
    virtual void setInfo(const QString &text) = 0;      // lblInfo, the status line
    virtual void setNoUpdate(const QString &text) = 0;  // lblNoUpdate, the result line
    virtual void setCheckButtonVisible(bool visible) = 0; // cmdUpdate
    virtual void setCloseEnabled(bool enabled) = 0;     // Command1
    virtual void setAnimationRunning(bool running) = 0;
};

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
    // "major.minor.revision"; missing or non-numeric parts read as 0.
    static ProgramVersion parse(const QString &text);
    static ProgramVersion running();
    QString text() const;
    bool isNewerThan(const ProgramVersion &other) const;
};

class UpdateService {
public:
    UpdateService(clsFTPClient &ftp, UpdateView &view);

    // The check itself. bSilent suppresses the message box when the server
    // cannot be reached. True when the server offers a newer version. A
    // program built without an update server asks no one: the status line
    // then names the project's site, and no box is shown.
    bool VerifSiUpdateDispo(bool bSilent);

    // What the last check found.
    enum class Answer { Newer, Current, Unreachable, NoUpdateServer };
    Answer lastAnswer() const { return m_answer; }

    // Downloads the update and starts the updater (the steps after the
    // question about an open connection). True when the updater was started:
    // the program must then end.
    bool startUpdate();

    // The running program's version, and the newest the server named last.
    ProgramVersion ownVersion() const { return m_own; }
    QString serverVersionText() const { return m_serverVersion; }

    // For tests: the version this program believes it runs.
    void setOwnVersion(const ProgramVersion &v) { m_own = v; }

private:
    bool download(const QString &remotePath, const QString &localPath);
    bool fail();
    bool fetchUpdateList(int &count);
    bool fetchUpdater(QString &expectedUpdaterSum);
    bool fetchProgramFiles(int count);
    bool launchUpdater(const QString &expectedUpdaterSum);

    clsFTPClient &m_ftp;
    UpdateView &m_view;
    ProgramVersion m_own;
    QString m_serverVersion;
    Answer m_answer = Answer::Current;
};

// Tells the vendor's web site something (a request whose answer is not read).
void CallWebScript(const QString &script, const QString &query);
// The computer's name.
QString GetMachineName();
