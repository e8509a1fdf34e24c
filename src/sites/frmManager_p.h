#pragma once
// What the site manager keeps besides its public controls; shared by the
// files that make up the window.

#include "sites/frmManager.h"

#include "sites/clsGestionData.h"

#include <QHash>
#include <QString>

class QGroupBox;
class QLabel;

class frmManager::Private {
public:
    clsFTPClient *ftp = nullptr;
    ConnectionStarter *starter = nullptr;
    clsGestionData data;

    QHash<QString, QAction *> buttons; // tool bar, by key
    QLabel *lblFrm[11] = {};           // 4..10 are used, as the captions number them
    QGroupBox *Frame[3] = {}; // transfer type, connection mode, TLS
    QLabel *lblLocalPath = nullptr;

    // The folder a new site goes into.
    QString currentFolder;
    // The site shown in the boxes: its number, its folder and its name as
    // stored, so that a save keeps the number and the folder even when the
    // name was changed or another folder was opened meanwhile.
    QString siteNumber;
    QString siteFolder;
    QString rememberedName;
    // Set while the window fills or clears its boxes: those changes are not edits.
    bool filling = false;

    // The modal loop of showModal(), a connection asked from inside it, and
    // the attempt that runs after it.
    bool inShowModal = false;
    bool pendingConnect = false;
    bool connecting = false;
    bool showAgain = false;
};
