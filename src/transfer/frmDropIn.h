#pragma once
// The drop-in basket: a small window onto which the user drops files and
// folders from the desktop's file manager. Each dropped file, and every file
// below a dropped folder, becomes an upload row of the transfer queue into the
// server's current folder, and a row of the basket's own list. The queue is not
// started. Ok closes the basket and keeps the queue; Cancel empties the whole
// queue (rows that were there before the basket opened too) and closes it.
// While the basket is open the main window steps aside.

#include <QDialog>
#include <QHash>
#include <QIcon>

class QDropEvent;
class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;
class QUrl;
class TransferQueue;

// What the basket needs from the main window.
class DropInHost {
public:
    virtual ~DropInHost() = default;
    // The main window's transfer queue: the basket adds upload rows to it and
    // Cancel empties it.
    virtual TransferQueue &transferQueue() = 0;
    // true when the basket opens: the main window is disabled and minimised;
    // false when it closes (by any means): enabled again and maximised.
    virtual void setMainWindowAway(bool away) = 0;
};

class frmDropIn : public QDialog {
    Q_OBJECT
public:
    // The basket is a window of its own (no parent): a child of the main
    // window would be disabled and minimised with it.
    explicit frmDropIn(DropInHost &host);
    ~frmDropIn() override;

    // The main tool bar's "DropIn" button. Not connected: says so (string 556,
    // information icon, the program's file name as title) and returns nullptr.
    // Connected: opens the basket, or brings the open one to the front. The
    // basket deletes itself when closed; the main window closes it before it
    // ends itself (keep the pointer in a QPointer): closing is what gives the
    // main window back.
    static frmDropIn *showDropIn(DropInHost &host);

    // Captions in the current language (at load and after a language switch).
    void applyCaptions();

    // ---- design members
    // What a drop on the list does with the dropped paths, in their order.
    void dropPaths(const QList<QUrl> &urls);
    void AddDropRow(const QString &name, const QString &folder, const QString &remote);
    void SubFolder(const QString &fPath, const QString &sOriginPath);
    void lvDropIn_ColumnClick(int column);
    void cmdOk_Click();
    void cmdCancel_Click();

    // ---- controls, under their design names
    QFrame *frMain = nullptr;
    QLabel *lblExplic = nullptr;
    QTreeWidget *lvDropIn = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *picLogo = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Escape closes the basket and keeps the queue, as the title bar does:
    // emptying the whole queue takes the Cancel button.
    void reject() override;

private:
    void buildWindow();
    void Form_Load();
    void Form_Unload();
    QIcon fileIcon(const QString &path);

    DropInHost &m_host;
    bool m_away = false; // the main window stepped aside for this basket
    bool m_busy = false; // a drop is being handled
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QHash<QString, QIcon> m_iconCache; // by the file's type
};
