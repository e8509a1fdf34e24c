// The site manager's tree: folders ("TP" + number) at the root, each site
// ("TV" + number) under its folder, and what selecting a node does.
#include "sites/frmManager_p.h"

#include "platform/gui/Icons.h"
#include "platform/inet/Inet.h"
#include "session/SessionState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

QTreeWidgetItem *newNode(const QString &text, const QString &key, const QString &picture)
{
    auto *node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, frmManager::KeyRole, key);
    node->setIcon(0, icons::named(picture));
    return node;
}

QTreeWidgetItem *findNode(QTreeWidget *tree, const QString &key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (frmManager::nodeKey(*it) == key)
            return *it;
    }
    return nullptr;
}

} // namespace

QString frmManager::nodeKey(const QTreeWidgetItem *node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

void frmManager::LoadDatabaseList(const QString &selectKey)
{
    {
        const QSignalBlocker quiet(tvManager);
        tvManager->clear();
        QHash<qint32, QTreeWidgetItem *> folders;
        clsGestionData row;
        const int folderCount = clsGestionData::folderCollection().count();
        for (int i = 1; i <= folderCount; ++i) {
            row.SetCollectionSec(QString::number(i));
            auto *node = newNode(row.sTypeFtp, QStringLiteral("TP%1").arg(row.lTypeNo),
                                 QStringLiteral("tree-folder"));
            tvManager->addTopLevelItem(node);
            folders.insert(row.lTypeNo, node);
        }
        const int siteCount = clsGestionData::siteCollection().count();
        for (int i = 1; i <= siteCount; ++i) {
            row.SetCollectionData(QString::number(i), false);
            QTreeWidgetItem *&folder = folders[row.lServerType];
            // A site whose folder is gone must not vanish from view: it goes
            // under a "?" folder that stands for the missing number.
            if (!folder) {
                folder = newNode(QStringLiteral("?"), QStringLiteral("TP%1").arg(row.lServerType),
                                 QStringLiteral("tree-folder"));
                tvManager->addTopLevelItem(folder);
            }
            folder->addChild(newNode(row.sServerName, QStringLiteral("TV%1").arg(row.lServerNo),
                                     QStringLiteral("tree-site")));
        }
    }

    if (QTreeWidgetItem *wanted = selectKey.isEmpty() ? nullptr : findNode(tvManager, selectKey)) {
        tvManager->setCurrentItem(wanted);
        tvManager->scrollToItem(wanted);
        return;
    }
    if (QTreeWidgetItem *first = tvManager->topLevelItem(0)) {
        tvManager->setCurrentItem(first);
        tvManager->expandItem(first);
        d->currentFolder = nodeKey(first).mid(2);
        return;
    }
    d->currentFolder.clear();
    d->siteNumber.clear();
    d->rememberedName.clear();
    picGeneralMain->hide();
    clearFields();
}

void frmManager::markSelectedSite(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (nodeKey(previous).startsWith(QLatin1String("TV")))
        previous->setIcon(0, icons::named(QStringLiteral("tree-site")));
    if (nodeKey(current).startsWith(QLatin1String("TV")))
        current->setIcon(0, icons::named(QStringLiteral("tree-site-selected")));
}

void frmManager::nodeSelected(QTreeWidgetItem *node)
{
    if (!node)
        return;
    chkAnonyme->setChecked(false);
    reloadData();
    const QString key = nodeKey(node);
    if (key.startsWith(QLatin1String("TV")) && node->parent()) {
        showSite(key.mid(2), nodeKey(node->parent()).mid(2));
        return;
    }
    picGeneralMain->hide();
    clearFields();
    d->currentFolder = key.mid(2);
    d->siteNumber.clear();
    d->siteFolder.clear();
    d->rememberedName.clear();
}

void frmManager::showSite(const QString &siteNumber, const QString &folderNumber)
{
    cmdSavechange->setEnabled(false);
    clsGestionData &site = d->data;
    if (!site.SetCollectionData(siteNumber, true)) {
        picGeneralMain->hide();
        clearFields();
        return;
    }
    d->filling = true;
    TxtSiteName->setText(site.sServerName);
    TxtServer->setText(site.sServerIp);
    TxtPort->setText(site.sServerPort);
    TxtUser->setText(site.sServerUser);
    txtPass->setText(site.sServerPass);
    txtExt->setText(site.sServerInitServPath);
    txtLocal->setText(site.sServerInitialPath);
    Opt[site.sServerTransfert == QLatin1String("1") ? 0 : 1]->setChecked(true);
    if (site.sServerTypeConnect == QLatin1String("1")) {
        Opt[2]->setChecked(true);
        lConnectMode = 0;
    } else {
        Opt[3]->setChecked(true);
        lConnectMode = qint32(inet::INTERNET_FLAG_PASSIVE);
    }
    d->filling = false;
    showTlsMode(site.tlsMode);

    sCurrentHost = TxtServer->text();
    d->currentFolder = folderNumber;
    d->siteFolder = folderNumber;
    d->siteNumber = siteNumber;
    d->rememberedName = site.sServerName;
    picGeneralMain->show();
}

void frmManager::clearFields()
{
    d->filling = true;
    for (QLineEdit *box : {TxtSiteName, TxtServer, TxtPort, TxtUser, txtPass, txtExt, txtLocal})
        box->clear();
    d->filling = false;
    showTlsMode(sitetls::DefaultMode);
}
