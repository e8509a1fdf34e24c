#include "sites/frmWizard.h"

#include "platform/Prompt.h"
#include "platform/gui/Choosers.h"
#include "platform/gui/Icons.h"
#include "settings/StringTable.h"
#include "sites/SiteInput.h"
#include "sites/clsGestionData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using platform::PromptIcon;

namespace {
constexpr int LastStep = 5;
}

frmWizard::frmWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWizard"));
    lblUpdate = new QLabel(this);
    QFont title = lblUpdate->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    lblUpdate->setFont(title);
    m_captions.append({lblUpdate, 625});

    img = new QLabel(this);
    img->setFixedSize(64, 64);
    img->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    pic = new QStackedWidget(this);
    for (int step = 0; step <= LastStep; ++step)
        pic->addWidget(buildStep(step));

    auto newButton = [this](const char *name, int id) {
        auto *button = new QPushButton(this);
        button->setObjectName(QLatin1String(name));
        button->setProperty("captionId", id);
        return button;
    };
    cmdBack = newButton("cmdBack", 627);
    cmdNext = newButton("cmdNext", 628);
    cmdTerminer = newButton("cmdTerminer", 638);
    cmdCancel = newButton("cmdCancel", 577);

    auto *body = new QHBoxLayout;
    body->addWidget(img);
    body->addWidget(pic, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {cmdBack, cmdNext, cmdTerminer, cmdCancel})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblUpdate);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(cmdNext, &QPushButton::clicked, this, &frmWizard::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmWizard::cmdBack_Click);
    connect(cmdTerminer, &QPushButton::clicked, this, &frmWizard::cmdTerminer_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkAnonyme, &QCheckBox::clicked, this, &frmWizard::chkAnonyme_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmWizard::cmdBrowse_Click);

    applyCaptions();
    showStep(0);
    resize(560, 320);
}

QLabel *frmWizard::newLabel(QWidget *page, int id, bool wrap)
{
    auto *label = new QLabel(page);
    label->setWordWrap(wrap);
    m_captions.append({label, id});
    return label;
}

QWidget *frmWizard::buildStep(int step)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("pic%1").arg(step));
    auto *layout = new QVBoxLayout(page);
    auto addBox = [&](int index, QLabel *buddy = nullptr) {
        TXT[index] = new QLineEdit(page);
        TXT[index]->setObjectName(QStringLiteral("TXT%1").arg(index));
        if (buddy)
            buddy->setBuddy(TXT[index]);
        return TXT[index];
    };
    switch (step) {
    case 0:
        layout->addWidget(newLabel(page, 629));
        layout->addWidget(newLabel(page, 630));
        break;
    case 1:
        layout->addWidget(newLabel(page, 631));
        layout->addWidget(addBox(1));
        layout->addWidget(newLabel(page, 640));
        break;
    case 2: {
        layout->addWidget(newLabel(page, 632));
        layout->addWidget(addBox(2));
        layout->addWidget(newLabel(page, 641));
        QLabel *lblTls = newLabel(page, 842);
        cboTls = new QComboBox(page);
        cboTls->setObjectName(QStringLiteral("cboTls"));
        for (const sitetls::Choice &choice : sitetls::Choices)
            cboTls->addItem(QString(), int(choice.mode));
        lblTls->setBuddy(cboTls);
        layout->addSpacing(8);
        layout->addWidget(lblTls);
        layout->addWidget(cboTls);
        break;
    }
    case 3: {
        layout->addWidget(newLabel(page, 633));
        auto *form = new QFormLayout;
        QLabel *lblUsername = newLabel(page, 108, false);
        form->addRow(lblUsername, addBox(3, lblUsername));
        QLabel *lblPass = newLabel(page, 110, false);
        txtPass = new QLineEdit(page);
        txtPass->setObjectName(QStringLiteral("txtPass"));
        txtPass->setEchoMode(QLineEdit::Password);
        lblPass->setBuddy(txtPass);
        form->addRow(lblPass, txtPass);
        chkAnonyme = new QCheckBox(page);
        chkAnonyme->setObjectName(QStringLiteral("chkAnonyme"));
        form->addRow(chkAnonyme);
        layout->addLayout(form);
        break;
    }
    case 4: {
        layout->addWidget(newLabel(page, 636));
        auto *row = new QHBoxLayout;
        row->addWidget(addBox(4), 1);
        cmdBrowse = new QPushButton(page);
        cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
        cmdBrowse->setAutoDefault(false);
        row->addWidget(cmdBrowse);
        layout->addLayout(row);
        break;
    }
    default:
        layout->addWidget(newLabel(page, 637));
        break;
    }
    layout->addStretch(1);
    return page;
}

void frmWizard::applyCaptions()
{
    setWindowTitle(LangStr(625));
    for (const Caption &caption : std::as_const(m_captions))
        caption.label->setText(LangStr(caption.id));
    for (QPushButton *button : {cmdBack, cmdNext, cmdTerminer, cmdCancel})
        button->setText(LangStr(button->property("captionId").toInt()));
    chkAnonyme->setText(LangStr(634));
    cmdBrowse->setText(LangStr(635));
    for (int i = 0; i < cboTls->count(); ++i)
        cboTls->setItemText(i, LangStr(sitetls::Choices[i].captionId));
}

void frmWizard::showStep(int step)
{
    m_step = qBound(0, step, LastStep);
    pic->setCurrentIndex(m_step);
    img->setPixmap(icons::named(QStringLiteral("wizard-%1").arg(m_step)).pixmap(64, 64));
    cmdBack->setVisible(m_step > 0);
    cmdNext->setVisible(m_step < LastStep);
    cmdTerminer->setVisible(m_step == LastStep);
    // Enter goes on to the next step, and finishes on the last one.
    cmdNext->setDefault(m_step < LastStep);
    cmdTerminer->setDefault(m_step == LastStep);
    if (m_step >= 1 && m_step <= 4)
        TXT[m_step]->setFocus();
    else
        (m_step == LastStep ? cmdTerminer : cmdNext)->setFocus();
}

void frmWizard::cmdNext_Click()
{
    showStep(m_step + 1);
}

void frmWizard::cmdBack_Click()
{
    showStep(m_step - 1);
}

void frmWizard::chkAnonyme_Click(bool checked)
{
    TXT[3]->setText(checked ? QLatin1String(siteinput::AnonymousUser) : QString());
    txtPass->setText(checked ? QLatin1String(siteinput::AnonymousPassword) : QString());
}

void frmWizard::cmdBrowse_Click()
{
    const QString chosen = platform::chooseFolder(this, LangStr(636), TXT[4]->text());
    if (!chosen.isEmpty())
        TXT[4]->setText(siteinput::withTrailingSeparator(chosen));
}

void frmWizard::cmdTerminer_Click()
{
    if (TXT[1]->text().isEmpty()) {
        platform::inform(LangStr(639), PromptIcon::Information);
        showStep(1);
        return;
    }
    clsGestionData::SiteFields fields;
    fields.name = TXT[1]->text();
    fields.host = TXT[2]->text();
    fields.user = TXT[3]->text();
    fields.password = txtPass->text();
    fields.folder = QString::number(iSelGroupe);
    fields.localPath = TXT[4]->text();
    const auto tls = sitetls::Mode(cboTls->currentData().toInt());
    if (tls == sitetls::Mode::Implicit)
        fields.port = QString::number(inet::kImplicitTlsPort);
    clsGestionData data;
    QString line;
    FileResult result = clsGestionData::composeSiteLine(fields, &line);
    if (result.ok() && data.ChkIfDataExist(QStringLiteral("ser"), fields.name)
        && platform::ask(fields.name + QLatin1String("\n\n") + LangStr(741), platform::PromptButtons::YesNo,
                         PromptIcon::Question) != platform::PromptAnswer::Yes)
        return;
    if (result.ok())
        result = data.SaveDataChange(line, false, false, QString());
    if (result.ok())
        result = data.setTlsMode(data.lServerNo, tls);
    if (!result.ok()) {
        platform::inform(result.error(), PromptIcon::Warning);
        return;
    }
    if (const FileResult reloaded = data.SetFirstData(); !reloaded.ok())
        platform::inform(reloaded.error(), PromptIcon::Warning);
    accept();
}
