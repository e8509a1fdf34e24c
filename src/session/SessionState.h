#pragma once
// Program-wide state shared by the session object and every window, under
// their design names. They belong to the window's thread: the connections'
// worker threads never touch them; the session writes them from results.

#include <QString>
#include <QtGlobal>

class clsFTPClient;
namespace ftp { class FtpLink; }

extern clsFTPClient *hOpen;          // the session object, once made
extern ftp::FtpLink *hConnection;    // the browsing connection once logged in; nullptr when not connected
extern qint32 lConnectMode;                // 0 active, inet::INTERNET_FLAG_PASSIVE passive

extern QString sLastError;       // text of the last library failure (ErrorOut)
extern QString sLastResponse;    // the server's last reply (ActionOut)
extern QString sCommandResponse; // reply to the last raw command (SetCHMOD)

extern bool bActivity;      // something went over the connection since the last keep-alive tick
extern bool bConnected;     // a server session is up
extern bool bConnecting;    // the connect routine is running
extern bool bStopTransfer;  // the user asked to stop the running transfer
extern bool bOverwriteAll;  // "overwrite all" was answered; no more questions
extern bool bResumeAll;     // "resume all" was answered: the next questions answer themselves
extern bool bDeleteAll;     // "remove all" was answered in the delete question
extern bool bQueueBusy;     // the queue runner is running
extern bool bVeuxSon;       // play the completion sound
extern bool bUpdateLaunched;// the updater was started; the program must end
extern bool bLoaded;        // start-up of the main window has finished
extern bool bInLoad;        // start-up step that must not lay out the window

// Answer of the file-exists question: 1 cancel, 2 skip, 3 overwrite,
// 4 overwrite all, 6 resume, 7 resume all; the runner sets 5 once it handled
// a skip.
extern qint32 lExistChoice;

// 0 for French, 1000 for English; added to every French string id.
extern qint16 LanguageOffset;

extern QString sCurrentHost;     // host of the site being connected (queue rows)
extern QString sLastQueuedSize;  // size text of the queue row added last
extern QString sSiteLocalPath;   // local folder of the site last connected
extern QString sNewFolderName;   // result of the new-name dialog (create)
extern QString sNewItemName;     // result of the new-name dialog (rename)
extern QString sLocalTypeName;   // type name of the local file whose icon was fetched last

// Puts every variable above back to its start-up value (tests).
void resetSessionState();
