#include "transfer/frmExist.h"

#include "dialogs/WindowText.h"
#include "platform/Yield.h"
#include "platform/gui/Icons.h"
#include "session/DateValue.h"
#include "session/SessionState.h"
#include "session/SizeText.h"
#include "settings/StringTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

frmExist::frmExist(PaneRowSource *panes, QWidget *parent) : QDialog(parent), m_panes(panes)
{
    setModal(true);
    auto *image = new QLabel(this);
    image->setPixmap(icons::named(QStringLiteral("exist")).pixmap(48, 48));
    lblTitre = windowtext::boldLabel(this);
    lblTitre->setWordWrap(true);
    lbl131 = new QLabel(this);
    lbl132 = new QLabel(this);
    lblsize1 = new QLabel(this);
    lbldate1 = new QLabel(this);
    lbl654 = windowtext::boldLabel(this);
    lbl655 = windowtext::boldLabel(this);
    lbl131b = new QLabel(this);
    lbl132b = new QLabel(this);
    lblsize2 = new QLabel(this);
    lbldate2 = new QLabel(this);
    picTimer = new QLabel(this);
    picTimer->setPixmap(icons::named(QStringLiteral("timer")).pixmap(24, 24));
    lblTimer = windowtext::boldLabel(this);
    cmdOver = new QPushButton(this);
    cmdAll = new QPushButton(this);
    cmdJump = new QPushButton(this);
    cmdCancel = new QPushButton(this);
    cmdResume = new QPushButton(this);
    cmdResumeAll = new QPushButton(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);

    auto *head = new QHBoxLayout;
    head->addWidget(image, 0, Qt::AlignTop);
    head->addWidget(lblTitre, 1);
    auto *grid = new QGridLayout;
    grid->addWidget(lbl131, 0, 0);
    grid->addWidget(lblsize1, 0, 1);
    grid->addWidget(lbl132, 1, 0);
    grid->addWidget(lbldate1, 1, 1);
    grid->addWidget(lbl654, 2, 0, 1, 2);
    grid->addWidget(lbl655, 3, 0, 1, 2);
    grid->addWidget(lbl131b, 4, 0);
    grid->addWidget(lblsize2, 4, 1);
    grid->addWidget(lbl132b, 5, 0);
    grid->addWidget(lbldate2, 5, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(picTimer);
    buttons->addWidget(lblTimer);
    buttons->addStretch(1);
    for (QPushButton *b : {cmdResume, cmdResumeAll, cmdOver, cmdAll, cmdJump, cmdCancel})
        buttons->addWidget(b);
    auto *main = new QVBoxLayout(this);
    main->addLayout(head);
    main->addLayout(grid);
    main->addStretch(1);
    main->addLayout(buttons);
    setMinimumWidth(480);

    connect(cmdOver, &QPushButton::clicked, this, &frmExist::cmdOver_Click);
    connect(cmdAll, &QPushButton::clicked, this, &frmExist::cmdAll_Click);
    connect(cmdJump, &QPushButton::clicked, this, &frmExist::cmdJump_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmExist::cmdCancel_Click);
    connect(cmdResume, &QPushButton::clicked, this, &frmExist::cmdResume_Click);
    connect(cmdResumeAll, &QPushButton::clicked, this, &frmExist::cmdResumeAll_Click);
    connect(Timer1, &QTimer::timeout, this, &frmExist::Timer1_Timer);
}

void frmExist::caption(QLabel *label, int id)
{
    label->setText(LangStr(id));
}

// Every question starts from the same state, as if the window had just been loaded.
void frmExist::Form_Load()
{
    for (QLabel *l : {lblTitre, lbl131, lbl132, lblsize1, lbldate1, lbl654, lbl655, lbl131b, lbl132b,
                      lblsize2, lbldate2})
        l->clear();
    lblTimer->setText(QStringLiteral("5"));
    picTimer->setVisible(false);
    lblTimer->setVisible(false);
    cmdJump->setText(LangStr(663));
    cmdCancel->setText(LangStr(184));
    cmdJump->setVisible(true);
    cmdResume->setVisible(false);
    cmdResumeAll->setVisible(false);
    Timer1->stop();
}

bool frmExist::OverWriteExist(const QString &sFileName, bool bIsUp, bool bCanResume, const ftp::Request *question)
{
    Form_Load();
    setWindowTitle(LangStr(575));
    cmdCancel->setText(LangStr(577));
    cmdJump->setVisible(true);
    cmdOver->setText(LangStr(576));
    cmdAll->setText(LangStr(578));
    cmdResume->setText(LangStr(855));
    cmdResumeAll->setText(LangStr(856));
    cmdResume->setVisible(bCanResume);
    cmdResumeAll->setVisible(bCanResume);
    Timer1->start();
    picTimer->setVisible(true);
    lblTimer->setVisible(true);
    cmdJump->setText(LangStr(663) + QStringLiteral(" - ") + QStringLiteral("5"));
    lblTitre->setText(sFileName + QStringLiteral(" - ") + LangStr(575));
    bOverwriteResult = false;
    GetFileInfo(sFileName, bIsUp, false, question);
    sExistMode = QStringLiteral("Over");
    cmdOver->setDefault(true);
    exec();
    return bOverwriteResult;
}

bool frmExist::DeleteItem(const QString &sFileName, bool bIsUp)
{
    Form_Load();
    setWindowTitle(sFileName);
    cmdOver->setText(LangStr(580));
    cmdJump->setVisible(false);
    cmdAll->setText(LangStr(262));
    lblTitre->setText(LangStr(579) + sFileName);
    sExistMode = QStringLiteral("Del");
    bDeleteResult = false;
    GetFileInfo(sFileName, bIsUp, true);
    cmdOver->setDefault(true);
    exec();
    return bDeleteResult;
}

void frmExist::GetFileInfo(const QString &sFileName, bool pbIsUp, bool bIsDel, const ftp::Request *question)
{
    panesFileInfo(sFileName, pbIsUp, bIsDel);
    if (!question || bIsDel)
        return;
    // 1: the file there already, 2: the one on its way.
    if (question->existingSize >= 0)
        lblsize1->setText(formatSizeText(question->existingSize));
    if (question->existingTime.isValid())
        lbldate1->setText(formatGeneralDate(question->existingTime.toLocalTime()));
    if (question->incomingSize >= 0)
        lblsize2->setText(formatSizeText(question->incomingSize));
    if (question->incomingTime.isValid())
        lbldate2->setText(formatGeneralDate(question->incomingTime.toLocalTime()));
}

// The sizes and dates of the panes' rows of that name.
void frmExist::panesFileInfo(const QString &sFileName, bool pbIsUp, bool bIsDel)
{
    for (QLabel *l : {lbl132, lblsize1, lbldate1, lbl132b, lbl654, lbl655, lblsize2, lbldate2})
        l->clear();
    QString size, date;
    if (pbIsUp) {
        caption(lbl131, 131);
        caption(lbl132, 132);
        if (!bIsDel) {
            caption(lbl654, 654);
            caption(lbl655, 655);
            caption(lbl131b, 131);
            caption(lbl132b, 132);
            if (m_panes && m_panes->findLocalRow(sFileName, size, date)) {
                lblsize2->setText(size);
                lbldate2->setText(date);
            }
        }
        if (m_panes && m_panes->findServerRow(sFileName, size, date)) {
            lblsize1->setText(size);
            lbldate1->setText(date);
        }
        return;
    }
    const bool local = m_panes && m_panes->findLocalRow(sFileName, size, date);
    if (local) {
        lblsize1->setText(size);
        lbldate1->setText(date);
    }
    caption(lbl131, 131);
    caption(lbl132, 132);
    if (bIsDel)
        return;
    caption(lbl131b, 131);
    caption(lbl132b, 132);
    caption(lbl654, 654);
    caption(lbl655, 655);
    if (local && m_panes->findServerRow(sFileName, size, date)) {
        lblsize2->setText(size);
        lbldate2->setText(date);
    }
}

void frmExist::Timer1_Timer()
{
    const int n = lblTimer->text().toInt();
    if (n > 0) {
        lblTimer->setText(QString::number(n - 1));
        cmdJump->setText(LangStr(663) + QStringLiteral(" - ") + QString::number(n - 1));
        return;
    }
    picTimer->setVisible(false);
    lblTimer->setVisible(false);
    cmdJump_Click();
}

void frmExist::cmdOver_Click()
{
    if (sExistMode.compare(QLatin1String("OVER"), Qt::CaseInsensitive) == 0) {
        lExistChoice = 3;
        bOverwriteResult = true;
        bOverwriteAll = false;
    } else {
        bDeleteResult = true;
        bDeleteAll = false;
    }
    finish();
}

void frmExist::cmdAll_Click()
{
    if (sExistMode.compare(QLatin1String("OVER"), Qt::CaseInsensitive) == 0) {
        lExistChoice = 4;
        bOverwriteResult = true;
        bOverwriteAll = true;
    } else {
        bDeleteResult = true;
        bDeleteAll = true;
    }
    finish();
}

void frmExist::cmdJump_Click()
{
    lExistChoice = 2;
    bOverwriteResult = false;
    finish();
}

void frmExist::cmdCancel_Click()
{
    lExistChoice = 1;
    bOverwriteResult = false;
    bDeleteResult = false;
    bDeleteAll = false;
    finish();
}

void frmExist::cmdResume_Click()
{
    lExistChoice = 6;
    bOverwriteResult = true;
    bOverwriteAll = false;
    finish();
}

// This file and the next ones: smaller files are continued, files of the
// same size and date skipped, others replaced, without a question.
void frmExist::cmdResumeAll_Click()
{
    lExistChoice = 7;
    bOverwriteResult = true;
    bOverwriteAll = false;
    bResumeAll = true;
    finish();
}

void frmExist::reject()
{
    cmdCancel_Click();
}

void frmExist::finish()
{
    Timer1->stop();
    done(QDialog::Accepted);
    platform::yieldNow();
}
