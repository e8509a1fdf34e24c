#pragma once
// The start-up splash: reads the language, shows the logo of that language
// and the program's version while the main window loads.

#include <QWidget>

class QLabel;

class frmloadup : public QWidget {
    Q_OBJECT
public:
    explicit frmloadup(QWidget *parent = nullptr);
    QString versionText() const; // what lblversion shows
    bool showsEnglishLogo() const;

private:
    void centreOnScreen();

    QLabel *m_version = nullptr;
    QLabel *m_logoFr = nullptr;
    QLabel *m_logoEn = nullptr;
};
