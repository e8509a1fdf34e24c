#include "dialogs/frmCommand.h"

#include "platform/Prompt.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QTextEdit>

class frmCommand::Private {
public:
    clsFTPClient *ftp = nullptr;
    QLabel *lblTitre = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QTextEdit *RichTextBox1 = nullptr;
};

namespace {

// The session keeps a NUL after every reply it stores; it is not for the eye.
QString replyForDisplay(QString reply)
{
    while (reply.endsWith(QChar(0)))
        reply.chop(1);
    reply.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return reply;
}

} // namespace

frmCommand::frmCommand(clsFTPClient *ftp, QWidget *parent) : QDialog(parent), d(new Private)
{
    d->ftp = ftp;
    setWindowTitle(LangStr(571));
    d->lblTitre = new QLabel(LangStr(571), this);
    d->lblTitre->setObjectName(QStringLiteral("lblTitre"));
    QFont bold = d->lblTitre->font();
    bold.setBold(true);
    d->lblTitre->setFont(bold);
    d->Label1 = new QLabel(LangStr(230), this);
    d->Label1->setObjectName(QStringLiteral("Label1"));
    d->Text1 = new QLineEdit(this);
    d->Text1->setObjectName(QStringLiteral("Text1"));
    d->Label1->setBuddy(d->Text1);
    d->Command1 = new QPushButton(LangStr(565), this);
    d->Command1->setObjectName(QStringLiteral("Command1"));
    // Enter in the command line sends it.
    d->Command1->setDefault(true);
    d->RichTextBox1 = new QTextEdit(this);
    d->RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    d->RichTextBox1->setReadOnly(true);
    d->RichTextBox1->setAcceptRichText(false);
    d->RichTextBox1->setLineWrapMode(QTextEdit::NoWrap);
    d->RichTextBox1->clear();

    auto *layout = new QGridLayout(this);
    layout->addWidget(d->lblTitre, 0, 0, 1, 3);
    layout->addWidget(d->Label1, 1, 0);
    layout->addWidget(d->Text1, 1, 1);
    layout->addWidget(d->Command1, 1, 2);
    layout->addWidget(d->RichTextBox1, 2, 0, 1, 3);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(1, 1);
    resize(520, 320);
    d->Text1->setFocus();

    connect(d->Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

frmCommand::~frmCommand()
{
    delete d;
}

void frmCommand::Command1_Click()
{
    const QString line = d->Text1->text();
    // A line break would let one typed line become several commands on the
    // control connection; the session refuses it, and the user is told why here.
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) {
        platform::inform(LangStr(708), platform::PromptIcon::Warning);
        return;
    }
    bActivity = true;
    if (!d->ftp)
        return;
    // The reply shows when it comes, if the window is still there.
    QPointer<QTextEdit> box(d->RichTextBox1);
    d->ftp->SetCHMOD(line, QString(), false, [box](const ftp::Result &) {
        if (box)
            box->setPlainText(replyForDisplay(sCommandResponse));
    });
}
