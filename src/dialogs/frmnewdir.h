#pragma once
// Asks for a name (a new folder, or a new name for an entry). OK puts the name
// into sNewFolderName and sNewItemName; Cancel empties both.

#include <QDialog>

class QLineEdit;
class QLabel;

class frmnewdir : public QDialog {
    Q_OBJECT
public:
    explicit frmnewdir(QWidget *parent = nullptr);
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;

    // Shows the dialog modally with `initial` filled in; returns the name
    // entered ("" for Cancel). Also sets sNewFolderName and sNewItemName.
    static QString askName(QWidget *parent, const QString &initial = QString());

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdOk_Click();
};
