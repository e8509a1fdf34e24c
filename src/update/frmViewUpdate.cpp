#include "update/frmViewUpdate.h"

#include "dialogs/WindowText.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "platform/gui/Icons.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "settings/StringTable.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The start-up check shows nothing at all.
class SilentView : public UpdateView {
public:
    void setInfo(const QString &) override {}
    void setNoUpdate(const QString &) override {}
    void setCheckButtonVisible(bool) override {}
    void setCloseEnabled(bool) override {}
    void setAnimationRunning(bool) override {}
};

} // namespace

frmViewUpdate::frmViewUpdate(clsFTPClient &ftp, UpdateHost &host, QWidget *parent)
    : QDialog(parent), m_host(host), m_service(ftp, *this)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildWindow();
    Form_Load();
}

frmViewUpdate::~frmViewUpdate() = default;

bool frmViewUpdate::silentCheck(clsFTPClient &ftp)
{
    SilentView view;
    UpdateService service(ftp, view);
    return service.VerifSiUpdateDispo(true);
}

bool frmViewUpdate::showModal(clsFTPClient &ftp, UpdateHost &host, QWidget *parent, bool askedByUser)
{
    frmViewUpdate window(ftp, host, parent);
    window.m_reportUnreachable = askedByUser;
    // Modal from its first showing, so that nothing else is clicked while the
    // check runs; the modal loop itself starts once the answer is shown.
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.cmdUpdate_Click();
    window.exec();
    if (!window.m_launched)
        QFile::remove(platform::joinPath(platform::programDirectory(), QStringLiteral("ver.tf")));
    return window.m_launched;
}

void frmViewUpdate::buildWindow()
{
    auto *picture = new QLabel(this);
    picture->setPixmap(icons::named(QStringLiteral("maj")).pixmap(48, 48));
    lblTitre = windowtext::boldLabel(this);
    lblInfo = new QLabel(this);
    lblInfo->setWordWrap(true);
    lblNoUpdate = windowtext::boldLabel(this);
    lblNoUpdate->setWordWrap(true);
    lblNbrUpdate = new QLabel(this);
    pbProg = new QProgressBar(this);
    Animation1 = new QProgressBar(this);
    Animation1->setRange(0, 0); // busy
    Animation1->setTextVisible(false);
    chkStartWithUpdate = new QCheckBox(this);
    cmdUpdate = new QPushButton(this);
    cmdStartUpdate = new QPushButton(this);
    Command1 = new QPushButton(this);
    windowtext::tag(lblTitre, 605);
    windowtext::tag(cmdUpdate, 601);
    windowtext::tag(cmdStartUpdate, 603);
    windowtext::tag(chkStartWithUpdate, 620);
    windowtext::tag(Command1, 205);

    auto *head = new QHBoxLayout;
    head->addWidget(picture, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitre);
    texts->addWidget(lblInfo);
    texts->addWidget(lblNoUpdate);
    texts->addWidget(lblNbrUpdate);
    texts->addWidget(pbProg);
    texts->addWidget(Animation1);
    head->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdStartUpdate);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(head);
    main->addStretch(1);
    main->addWidget(chkStartWithUpdate);
    main->addLayout(buttons);
    setMinimumWidth(460);

    connect(cmdUpdate, &QPushButton::clicked, this, &frmViewUpdate::cmdUpdate_Click);
    connect(cmdStartUpdate, &QPushButton::clicked, this, &frmViewUpdate::cmdStartUpdate_Click);
    connect(Command1, &QPushButton::clicked, this, &frmViewUpdate::Command1_Click);
    // Only the user's click writes the option, not the load showing it.
    connect(chkStartWithUpdate, &QCheckBox::clicked, this, &frmViewUpdate::chkStartWithUpdate_Click);
}

void frmViewUpdate::Form_Load()
{
    applyCaptions();
    lblNoUpdate->hide();
    cmdStartUpdate->hide();
    lblNbrUpdate->clear();
    pbProg->hide();
    Animation1->hide();
    chkStartWithUpdate->setChecked(options::checkUpdateAtStart());
    Command1->setDefault(true);
}

void frmViewUpdate::applyCaptions()
{
    setWindowTitle(LangStr(605));
    windowtext::applyTaggedCaptions(this);
    if (!lblNoUpdate->isHidden())
        lblNoUpdate->setText(LangStr(m_resultId));
}

void frmViewUpdate::showResult(int resultId)
{
    m_resultId = resultId;
    lblNoUpdate->setText(LangStr(resultId));
    lblNoUpdate->show();
}

void frmViewUpdate::cmdUpdate_Click()
{
    if (busy())
        return;
    m_checking = true;
    setAnimationRunning(true);
    m_service.VerifSiUpdateDispo(!m_reportUnreachable);
    // A check that could not reach the server says so in the result line: it
    // must not read "up-to-date".
    switch (m_service.lastAnswer()) {
    case UpdateService::Answer::Newer:
        cmdStartUpdate->show();
        cmdStartUpdate->setDefault(true);
        showResult(610);
        break;
    case UpdateService::Answer::Current: showResult(602); break;
    case UpdateService::Answer::Unreachable: showResult(612); break;
    case UpdateService::Answer::NoUpdateServer: showResult(890); break;
    }
    setAnimationRunning(false);
    m_checking = false;
}

void frmViewUpdate::cmdStartUpdate_Click()
{
    if (busy())
        return;
    if (bConnected) {
        if (platform::ask(LangStr(604), platform::PromptButtons::OkCancel, platform::PromptIcon::Question)
            != platform::PromptAnswer::Ok)
            return;
        m_host.disconnectFromServer();
        cmdUpdate_Click();
    }
    m_updating = true;
    for (QPushButton *b : {cmdUpdate, cmdStartUpdate, Command1})
        b->setEnabled(false);
    const bool started = m_service.startUpdate();
    m_updating = false;
    for (QPushButton *b : {cmdUpdate, cmdStartUpdate, Command1})
        b->setEnabled(true);
    if (!started)
        return;
    m_launched = true;
    platform::yieldNow();
    hide();
    done(QDialog::Accepted);
    m_host.closeMainWindow();
}

void frmViewUpdate::Command1_Click()
{
    if (!busy())
        done(QDialog::Rejected);
}

void frmViewUpdate::chkStartWithUpdate_Click(bool checked)
{
    const FileResult written = options::setCheckUpdateAtStart(checked);
    if (!written.ok())
        platform::inform(written.error(), platform::PromptIcon::Warning);
}

bool frmViewUpdate::busy() const
{
    return m_checking || m_updating;
}

// While the server is being asked or files come down, the window stays: the
// close button is off then, and the title bar and Escape wait with it.
void frmViewUpdate::closeEvent(QCloseEvent *event)
{
    if (busy() || !Command1->isEnabled()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmViewUpdate::reject()
{
    if (busy() || !Command1->isEnabled())
        return;
    QDialog::reject();
}

// ---- UpdateView

void frmViewUpdate::setInfo(const QString &text)
{
    lblInfo->setText(text);
}

void frmViewUpdate::setNoUpdate(const QString &text)
{
    lblNoUpdate->setText(text);
}

void frmViewUpdate::setCheckButtonVisible(bool visible)
{
    cmdUpdate->setVisible(visible);
}

void frmViewUpdate::setCloseEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
}

void frmViewUpdate::setAnimationRunning(bool running)
{
    Animation1->setVisible(running);
}
