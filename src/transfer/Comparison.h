#pragma once
// The comparison of a local folder with a remote one, entry by entry, by name,
// size and date, as the comparison window and the command line show it. Pure
// functions over copies of the two panes' rows; nothing here lists a folder.
//
// Names are compared exactly (letter case counts). For each row every row of
// the other list with the same name is visited, so a later equal name can
// still set a flag. A row not found is marked missing (the whole row bold); a
// found row whose size text differs is marked "size differs" (its size cell
// bold; a date difference is then not marked); a found row whose day differs
// while the size is equal is marked "date differs" (its date cell bold).
// Times of day are not compared. Sizes are compared as byte counts (the
// panes write the same count with different spacing); two folders of the same
// name count as equal, their size and date columns saying nothing of their
// content. A size or a date that one side does not know (an empty cell)
// cannot be compared, and so never differs.

#include "session/DateValue.h"

#include <QList>
#include <QString>

class QueueModel;

// One row of either list: the texts of the pane's columns.
struct CompareRow {
    QString name;
    QString sizeText; // as the pane's size column shows it
    QString dateText; // the day only, "yyyy-MM-dd"; empty when the pane shows no date
    QString typeText; // the pane's type column; folders show string 698
    bool isFolder = false;
};

// The marks of one row, as the small icon numbers of the comparison window.
enum class CompareMark { None = 0, Missing = 1, DateDiffers = 3, SizeDiffers = 4 };

struct CompareFlags {
    bool found = false;
    bool sizeDiff = false;
    bool dateDiff = false;

    CompareMark mark() const;
    bool boldRow() const { return !found; }
    bool boldSize() const { return !found || sizeDiff; }
    bool boldDate() const { return !found || (!sizeDiff && dateDiff); }
};

struct CompareResult {
    QList<CompareFlags> local;  // one per local row, in order
    QList<CompareFlags> server; // one per server row, in order
};

namespace comparison {

// The flags of every row of `rows` against `other`.
QList<CompareFlags> compareRows(const QList<CompareRow> &rows, const QList<CompareRow> &other);

// Both lists marked, each against the other.
CompareResult CompareLists(const QList<CompareRow> &local, const QList<CompareRow> &server);

// The keys of the tool bars' buttons.
inline const QString KeyMissing = QStringLiteral("manquant");
inline const QString KeySize = QStringLiteral("taille");
inline const QString KeyDate = QStringLiteral("date");

// The rule both tool bars share: "manquant" selects a row not found, "taille"
// a found row whose size differs, "date" a found row whose day differs
// (whatever the size). An unknown key selects nothing.
bool selects(const QString &key, const CompareFlags &flags);

// True when a row of the transfer queue has exactly this name as its text.
bool IsQueued(const QueueModel &queue, const QString &name);

// Positions of the rows a tool bar button adds: selected by the key and not
// already queued by name.
QList<int> rowsToQueue(const QString &key, const QList<CompareRow> &rows, const QList<CompareFlags> &flags,
                       const QueueModel &queue);

// The day of a date as the comparison shows it ("yyyy-MM-dd").
QString dayText(const QDateTime &local);
QString dayText(DateValue value);
// The day of a pane's date text (the general date-and-time text); empty when
// the text holds no date.
QString dayTextOfPaneDate(const QString &paneDate);

} // namespace comparison
