#pragma once
// The rows the two panes would show, as texts: the server pane from the
// session's last listing, the local pane from a local folder. ls, lls and
// compare print or compare these texts.

#include "transfer/Comparison.h"

#include <QList>
#include <QString>
#include <QStringList>

class cdEnum;

namespace cli {

struct PaneRow {
    QString name;
    QString size;
    QString type;
    QString date; // the general date-and-time text
    bool isFolder = false;
    QDateTime when; // the date as a value (invalid when the pane shows none)
};

// Server pane: every entry in listing order. Size "### ### ##0" ("0" for an
// empty file), type the extension or string 698 for a folder.
QList<PaneRow> serverPaneRows(const cdEnum &listing);
// Local pane: the sub-folders, then the files that are not hidden, each by
// name. Folders show neither size nor date; an empty file shows "  0".
QList<PaneRow> localPaneRows(const QString &folder);

// Rows as aligned columns: name, size (right-aligned), type, date.
QStringList formatTable(const QList<PaneRow> &rows);

// The comparison's copy of pane rows ("." and ".." left out).
QList<CompareRow> compareRows(const QList<PaneRow> &rows);

} // namespace cli
