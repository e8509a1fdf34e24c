#pragma once
// The comparison window: the folder of the local pane and the folder of the
// server pane side by side, entry by entry, with what is missing on the other
// side or differs in size or day marked. Two tool bars put the marked entries
// into the transfer queue (local ones as uploads, server ones as downloads);
// neither starts the queue. The window works on copies of the panes' rows taken
// when it opens and never lists a folder itself; closing and opening it again
// compares afresh. It is not modal.

#include "transfer/Comparison.h"

#include <QDialog>
#include <QList>
#include <QString>

class QAction;
class QLabel;
class QProgressBar;
class QTimer;
class QToolBar;
class QTreeWidget;
class TransferQueue;

// What the comparison window needs from the main window. All calls come from
// the GUI thread; none of them may open a window.
class CompareHost {
public:
    virtual ~CompareHost() = default;

    // The rows the local pane shows now, in the pane's order. For each row:
    // name (the row's text), sizeText and dateText exactly as the pane's size
    // and date columns show them (the window keeps only the day of the date),
    // typeText as the pane's type column shows it, isFolder for a folder.
    virtual QList<CompareRow> localPaneRows() = 0;
    // The same for the server pane, without "." and ".."; empty when not
    // connected. Read when the window opens and again when a download button
    // is pressed (the rows of the pressed names are queued as the pane shows
    // them then, their size and date texts going into the queue rows).
    virtual QList<CompareRow> serverPaneRows() = 0;
    // The folder the local pane shows (where uploads come from).
    virtual QString localPaneFolder() = 0;
    // The folder the server pane shows; empty when not connected.
    virtual QString serverPaneFolder() = 0;
    // The main window's transfer queue.
    virtual TransferQueue &transferQueue() = 0;
};

class frmCompare : public QDialog {
    Q_OBJECT
public:
    // Compares at once (Form_Load). The window deletes itself when closed
    // only when the caller asks for it (showCompare does).
    explicit frmCompare(CompareHost &host, QWidget *parent = nullptr);
    ~frmCompare() override;

    // The compare button of the main window: opens a comparison of what the
    // panes show now, or brings the one already open to the front (it keeps
    // the copies it took). The window is not modal and deletes itself when
    // closed; `parent` is only its owner, not a modal parent.
    static frmCompare *showCompare(CompareHost &host, QWidget *parent);

    // Captions in the current language (at load; the main window calls it
    // again after a language switch).
    void applyCaptions();

    // ---- design members
    void FillCompareLists();
    void CompareLists();
    bool IsQueued(const QString &name) const;
    // Every file below a local folder as upload rows (the queue's own walk).
    void SubFolder(const QString &fPath, const QString &sOriginPath);
    // A button of either tool bar, by key ("manquant", "taille", "date").
    void Toolbar1_ButtonClick(const QString &key);
    void Toolbar4_ButtonClick(const QString &key);
    // Two seconds after loading: the busy animation ends.
    void Timer1_Timer();
    void Form_Resize();

    // The copies shown, and their marks (tests read them).
    const QList<CompareRow> &localRows() const { return m_localRows; }
    const QList<CompareRow> &serverRows() const { return m_serverRows; }
    const CompareResult &marks() const { return m_marks; }
    // The button of a tool bar with this key.
    QAction *button(QToolBar *bar, const QString &key) const;

    // ---- controls, under their design names
    QTreeWidget *lvLocal = nullptr;
    QTreeWidget *lvServer = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QToolBar *Toolbar4 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QWidget *picAnim = nullptr;
    QProgressBar *Anim_Compare = nullptr; // a busy bar stands for the animation
    QTimer *Timer1 = nullptr;
    QWidget *Picture1 = nullptr; // container of both halves
    QWidget *Picture2 = nullptr; // the local half
    QWidget *Picture3 = nullptr; // the server half

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void reject() override;

private:
    void buildWindow();
    QWidget *buildHalf(QLabel *&label, QToolBar *&bar, QTreeWidget *&list);
    void Form_Load();
    void fillList(QTreeWidget *list, const QList<CompareRow> &rows);
    void markList(QTreeWidget *list, const QList<CompareFlags> &flags);
    bool panesStillShowTheComparedFolders();
    bool folderQueued(const QString &name, bool upload) const;
    QList<int> rowsToAdd(const QString &key, bool upload) const;

    CompareHost &m_host;
    QList<CompareRow> m_localRows;
    QList<CompareRow> m_serverRows;
    CompareResult m_marks;
    QString m_localFolder;  // the folders compared
    QString m_serverFolder;
};
