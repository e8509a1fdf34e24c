#pragma once
// Unix permissions of one remote entry as nine check boxes and an octal value;
// OK sends "SITE CHMOD <mode> <name>".

#include <QDialog>

class clsFTPClient;

class frmCHMOD : public QDialog {
    Q_OBJECT
public:
    explicit frmCHMOD(clsFTPClient *ftp, QWidget *parent = nullptr);
    ~frmCHMOD() override;
    // Prepares the dialog for sFile from the ten-character permission text in
    // sCommandResponse (e.g. "-rwxr-xr-x"); does nothing with a shorter text.
    void LoadMe(const QString &sFile);
    QString chmodValue() const; // what lblChmodValue shows, e.g. "755"

private:
    void Command1_Click();

    class Private;
    Private *d;
};
