#include "dialogs/frmnewdir.h"

#include "dialogs/WindowText.h"
#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmnewdir::frmnewdir(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(windowtext::programTitle());
    Label1 = new QLabel(LangStr(528), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumWidth(320);
    Label1->setBuddy(Text1);

    auto *cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    auto *cmdCancel = new QPushButton(LangStr(184), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &frmnewdir::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmnewdir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Text1->setFocus();
}

void frmnewdir::cmdOk_Click()
{
    // Spaces alone are a name the user typed on purpose; only nothing at all is refused.
    if (Text1->text().isEmpty()) {
        platform::inform(LangStr(528), platform::PromptIcon::Information);
        Text1->setFocus();
        return;
    }
    sNewFolderName = sNewItemName = Text1->text();
    accept();
}

// Cancel, Escape and the title bar's close button all end up here.
void frmnewdir::reject()
{
    sNewFolderName.clear();
    sNewItemName.clear();
    QDialog::reject();
    platform::yieldNow();
}

QString frmnewdir::askName(QWidget *parent, const QString &initial)
{
    frmnewdir dialog(parent);
    dialog.Text1->setText(initial);
    dialog.Text1->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return sNewItemName;
}
