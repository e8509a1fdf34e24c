#include "session/SessionState.h"

clsFTPClient *hOpen = nullptr;
ftp::FtpLink *hConnection = nullptr;
qint32 lConnectMode = 0;

QString sLastError;
QString sLastResponse;
QString sCommandResponse;

bool bActivity = false;
bool bConnected = false;
bool bConnecting = false;
bool bStopTransfer = false;
bool bOverwriteAll = false;
bool bResumeAll = false;
bool bDeleteAll = false;
bool bQueueBusy = false;
bool bVeuxSon = false;
bool bUpdateLaunched = false;
bool bLoaded = false;
bool bInLoad = false;

qint32 lExistChoice = 0;
qint16 LanguageOffset = 0;

QString sCurrentHost;
QString sLastQueuedSize;
QString sSiteLocalPath;
QString sNewFolderName;
QString sNewItemName;
QString sLocalTypeName;

void resetSessionState()
{
    hOpen = nullptr;
    hConnection = nullptr;
    lConnectMode = 0;
    sLastError.clear();
    sLastResponse.clear();
    sCommandResponse.clear();
    bActivity = bConnected = bConnecting = bStopTransfer = false;
    bOverwriteAll = bResumeAll = bDeleteAll = bQueueBusy = bVeuxSon = false;
    bUpdateLaunched = bLoaded = bInLoad = false;
    lExistChoice = 0;
    LanguageOffset = 0;
    sCurrentHost.clear();
    sLastQueuedSize.clear();
    sSiteLocalPath.clear();
    sNewFolderName.clear();
    sNewItemName.clear();
    sLocalTypeName.clear();
}
