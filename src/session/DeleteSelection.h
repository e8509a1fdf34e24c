#pragma once
// Deleting the entries selected in one of the two panes, each confirmed
// through the delete question unless the user answered for all of them.
// Folders go with a single remove-directory operation, so only empty folders
// go; a refusal is reported.

#include <QList>
#include <QString>

#include <functional>

class clsFTPClient;
class SessionHost;

// A row of the local pane: its position in the list, its name and its size
// text (empty for a folder).
struct LocalPaneRow {
    int position = 0;
    QString name;
    QString sizeText;
};

// selected: the selected rows in list order. Works from the last row to the
// first; each handled row is removed from the pane through removeRow, even
// when the entry could not be deleted (the next re-read shows it again).
void DeleteLocalSelection(const QList<LocalPaneRow> &selected, const QString &localFolder,
                          clsFTPClient &ftp, SessionHost &host, const std::function<void(int)> &removeRow);

// selectedNames: the names of the selected server rows in list order.
void DeleteRemoteSelection(const QStringList &selectedNames, clsFTPClient &ftp, SessionHost &host);
