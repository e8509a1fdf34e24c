#pragma once
// The program's name, version and description, and a button to the web site.

#include <QDialog>

class QLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    QString versionText() const;

private:
    QLabel *m_version = nullptr;
};
