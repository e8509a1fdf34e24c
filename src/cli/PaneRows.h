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
    // The raw values of ls --tsv: the exact size (-1 when not known exactly),
    // the kind ('f', 'd', 'l', or 0 when the listing did not say) and what a
    // link points to.
    qint64 bytes = -1;
    char kind = 0;
    QString linkTarget;
};

// Server pane: every entry in listing order. Size "### ### ##0" ("0" for an
// empty file, empty when the listing did not give it), type the extension,
// string 698 for a folder or 870 for a link; date empty when not given.
QList<PaneRow> serverPaneRows(const cdEnum &listing);
// Local pane: the sub-folders, then the files that are not hidden, each by
// name. Folders show neither size nor date; an empty file shows "  0".
QList<PaneRow> localPaneRows(const QString &folder);

// Rows as aligned columns: name, size (right-aligned), type, date.
QStringList formatTable(const QList<PaneRow> &rows);
// Rows for scripts, one a line, columns separated by tabs: the size in bytes,
// the date in ISO 8601 ("2024-01-05T12:30:00", the time as the pane shows
// it), the kind (f, d or l), the name, and for a link its target. What the
// listing did not give is an empty column. Backslash, tab, CR and LF in a
// name or target are written \\, \t, \r and \n.
QStringList formatTsv(const QList<PaneRow> &rows);

// The comparison's copy of pane rows ("." and ".." left out).
QList<CompareRow> compareRows(const QList<PaneRow> &rows);

} // namespace cli
