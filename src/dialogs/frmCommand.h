#pragma once
// Sends a line typed by the user to the server as a raw command and shows the reply.

#include <QDialog>

class clsFTPClient;

class frmCommand : public QDialog {
    Q_OBJECT
public:
    explicit frmCommand(clsFTPClient *ftp, QWidget *parent = nullptr);
    ~frmCommand() override;

private:
    void Command1_Click();

    class Private;
    Private *d;
};
