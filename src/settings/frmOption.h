#pragma once
// The options window: update check at start, the window shown at start,
// keep-alive, language, the end-of-queue sound and the transfers (files at
// once, retries). Every change is written at
// once; there is no apply step.

#include <QDialog>

#include <functional>

class MenuCaptioner;

class frmOption : public QDialog {
    Q_OBJECT
public:
    // captioner: the main window, recaptioned when the language changes.
    // updateCheck: runs the visible update check (the update button).
    frmOption(MenuCaptioner *captioner, std::function<void()> updateCheck, QWidget *parent = nullptr);
    ~frmOption() override;

    // Captions the window in the current language (at load and after a switch).
    void applyCaptions();

private:
    void buildWindow();
    void connectControls();
    void Form_Load();
    void cboLangue_Click(int index);
    void cmdSonChoix_Click();

    class Private;
    Private *d;
};
