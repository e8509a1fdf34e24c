// The site manager's commands that change the address book: new folders and
// sites, deletion, saving the boxes, the local folder, and the wizard.
#include "sites/frmManager_p.h"

#include "dialogs/frmnewdir.h"
#include "platform/Prompt.h"
#include "platform/gui/Choosers.h"
#include "platform/inet/Inet.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "sites/SiteInput.h"
#include "sites/frmWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using platform::PromptIcon;

bool frmManager::report(const FileResult &result)
{
    if (!result.ok())
        platform::inform(result.error(), PromptIcon::Warning);
    return result.ok();
}

void frmManager::reloadData()
{
    report(d->data.SetFirstData());
}

void frmManager::fieldEdited()
{
    if (!d->filling)
        cmdSavechange->setEnabled(true);
}

void frmManager::optClicked(int index)
{
    fieldEdited();
    // The choice applies to the session at once, connected or not.
    switch (index) {
    case 0: if (d->ftp) d->ftp->SetTransferBinary(); break;
    case 1: if (d->ftp) d->ftp->SetTransferASCII(); break;
    case 2: if (d->ftp) d->ftp->SetModeActive(); else lConnectMode = 0; break;
    case 3: if (d->ftp) d->ftp->SetModePassive(); else lConnectMode = qint32(inet::INTERNET_FLAG_PASSIVE); break;
    }
}

sitetls::Mode frmManager::chosenTlsMode() const
{
    return sitetls::Mode(cboTls->currentData().toInt());
}

// Shows a mode without it counting as an edit, and applies it to the session.
void frmManager::showTlsMode(sitetls::Mode mode)
{
    const bool filling = d->filling;
    d->filling = true;
    cboTls->setCurrentIndex(qMax(0, cboTls->findData(int(mode))));
    d->filling = filling;
    if (d->ftp)
        d->ftp->security().setMode(mode);
}

void frmManager::tlsChosen(int index)
{
    fieldEdited();
    const sitetls::Mode mode = sitetls::Mode(cboTls->itemData(index).toInt());
    // Implicit TLS has a port of its own: the usual one follows the choice,
    // a port typed by hand stays.
    const QString port = TxtPort->text().trimmed();
    if (mode == sitetls::Mode::Implicit && (port.isEmpty() || port == QLatin1String("21")))
        TxtPort->setText(QString::number(inet::kImplicitTlsPort));
    else if (mode != sitetls::Mode::Implicit && port == QString::number(inet::kImplicitTlsPort))
        TxtPort->setText(QStringLiteral("21"));
    if (d->ftp)
        d->ftp->security().setMode(mode);
}

void frmManager::anonymousClicked(bool checked)
{
    TxtUser->setText(checked ? QLatin1String(siteinput::AnonymousUser) : QString());
    txtPass->setText(checked ? QLatin1String(siteinput::AnonymousPassword) : QString());
}

// A site saved under the name of another one replaces it: ask first.
bool frmManager::confirmReplace(const QString &name, const QString &currentName)
{
    if (name == currentName || !d->data.ChkIfDataExist(QStringLiteral("ser"), name))
        return true;
    return platform::ask(name + QLatin1String("\n\n") + LangStr(741), platform::PromptButtons::YesNo,
                         PromptIcon::Question) == platform::PromptAnswer::Yes;
}

void frmManager::addFolder()
{
    const QString name = frmnewdir::askName(this);
    if (name.isEmpty())
        return;
    if (report(d->data.addFolder(name)))
        LoadDatabaseList();
}

void frmManager::addSite()
{
    if (d->currentFolder.isEmpty()) {
        platform::inform(LangStr(606), PromptIcon::Information);
        return;
    }
    const QString name = frmnewdir::askName(this);
    if (name.isEmpty())
        return;
    clsGestionData::SiteFields fields;
    fields.name = name;
    fields.folder = d->currentFolder;
    QString line;
    if (!report(clsGestionData::composeSiteLine(fields, &line)) || !confirmReplace(name, QString()))
        return;
    if (!report(d->data.SaveDataChange(line, false, false, QString())))
        return;
    reloadData();
    LoadDatabaseList();
}

void frmManager::deleteNode()
{
    QTreeWidgetItem *node = tvManager->currentItem();
    if (!node)
        return;
    const QString key = nodeKey(node);
    const QString name = node->text(0); // the stored name, whatever the box holds now
    const QString question = LangStr(503) + name + QLatin1Char(' ') + LangStr(504);
    if (platform::ask(question, platform::PromptButtons::YesNo, PromptIcon::Question)
        != platform::PromptAnswer::Yes)
        return;

    if (key.startsWith(QLatin1String("TV"))) {
        report(d->data.DeleteData(QStringLiteral("ser"), name));
    } else if (clsGestionData::folderCollection().contains(key.mid(2))) {
        report(d->data.DeleteData(QStringLiteral("type"), name));
    } else {
        // A "?" folder is not on file: its sites go one by one.
        for (int i = 0; i < node->childCount(); ++i) {
            if (!report(d->data.DeleteData(QStringLiteral("ser"), node->child(i)->text(0))))
                break;
        }
    }
    reloadData();
    LoadDatabaseList();
    clearFields();
    picGeneralMain->hide();
}

void frmManager::saveChanges()
{
    const QString name = TxtSiteName->text();
    if (name.isEmpty()) {
        platform::inform(LangStr(639), PromptIcon::Information);
        return;
    }
    if (TxtPort->text().isEmpty())
        TxtPort->setText(QStringLiteral("21"));
    if (!siteinput::portIsValid(TxtPort->text())) {
        platform::inform(LangStr(740) + TxtPort->text(), PromptIcon::Warning);
        return;
    }
    clsGestionData::SiteFields fields;
    fields.name = name;
    fields.host = TxtServer->text();
    fields.port = TxtPort->text();
    fields.user = TxtUser->text();
    fields.password = txtPass->text();
    fields.transfer = Opt[0]->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    fields.mode = Opt[2]->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    fields.remotePath = txtExt->text();
    fields.folder = d->siteFolder.isEmpty() ? d->currentFolder : d->siteFolder;
    fields.localPath = txtLocal->text();
    QString line;
    if (!report(clsGestionData::composeSiteLine(fields, &line)))
        return;
    const QString former = d->rememberedName != name ? d->rememberedName : QString();
    if (!confirmReplace(name, d->rememberedName))
        return;
    if (!report(d->data.SaveDataChange(line, false, true, former)))
        return;
    report(d->data.setTlsMode(d->data.lServerNo, chosenTlsMode()));

    reloadData();
    d->rememberedName.clear();
    QString number = d->siteNumber;
    const KeyedCollection &sites = clsGestionData::siteCollection();
    if (sites.itemByKey(number) != name) { // saved under a fresh number
        for (int i = sites.count(); i >= 1; --i) {
            if (sites.item(i) == name) {
                number = sites.key(i);
                break;
            }
        }
    }
    LoadDatabaseList(QStringLiteral("TV") + number);
}

void frmManager::chooseLocalPath()
{
    if (TxtSiteName->text().isEmpty()) {
        platform::inform(LangStr(501), PromptIcon::Information);
        return;
    }
    const QString chosen = platform::chooseFolder(this, LangStr(574), txtLocal->text());
    if (chosen.isEmpty())
        return;
    const QString path = siteinput::withTrailingSeparator(chosen);
    txtLocal->setText(path);
    // The folder is stored at once, in the record as it is on file; other
    // edits in the boxes wait for Save.
    const QString stored = d->rememberedName.isEmpty() ? TxtSiteName->text() : d->rememberedName;
    const QString record = d->data.GetServerName(QStringLiteral("Server"), stored);
    if (record.isEmpty())
        return;
    if (report(d->data.SaveDataChange(record + QLatin1Char('|') + path, true, false, QString())))
        reloadData();
}

void frmManager::startWizard()
{
    if (tvManager->topLevelItemCount() == 0) {
        platform::inform(LangStr(606), PromptIcon::Information);
        return;
    }
    const QTreeWidgetItem *node = tvManager->currentItem();
    if (node && node->parent())
        node = node->parent();
    const QString folder = node ? nodeKey(node).mid(2) : d->currentFolder;
    frmWizard wizard(this);
    wizard.iSelGroupe = folder.toInt();
    if (wizard.exec() == QDialog::Accepted)
        LoadDatabaseList();
}
