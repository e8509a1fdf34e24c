#include "settings/frmOption.h"

#include "dialogs/WindowText.h"
#include "platform/Prompt.h"
#include "platform/gui/Choosers.h"
#include "platform/gui/QtLanguage.h"
#include "platform/gui/Sound.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "settings/clsTraduction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using windowtext::tag;

namespace {

enum Page { PageUpdate, PageStart, PageKeepAlive, PageLanguage, PageSound, PageTransfers, PageCount };
// Tree node captions, in page order.
constexpr int NodeIds[PageCount] = {656, 597, 657, 598, 599, 807};
constexpr qint16 French = 0;
constexpr qint16 English = 1000;

} // namespace

class frmOption::Private {
public:
    MenuCaptioner *captioner = nullptr;
    std::function<void()> updateCheck;
    bool loading = false;

    QTreeWidget *tvOption = nullptr;
    QStackedWidget *picOption = nullptr;
    QCheckBox *chkStartWithUpdate = nullptr;
    QCheckBox *chkFtpManager = nullptr;
    QCheckBox *chkKeepAlive = nullptr;
    QCheckBox *chkVeuxSon = nullptr;
    QComboBox *cboLangue = nullptr;
    QSpinBox *txtSimultaneous = nullptr;
    QSpinBox *txtRetries = nullptr;
    QPushButton *cmdUpdate = nullptr;
    QPushButton *cmdSonChoix = nullptr;
    QPushButton *cmdSonTest = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
};

namespace {

template<typename T>
T *control(QWidget *parent, const char *name, int frenchId = 0)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    if (frenchId)
        tag(w, frenchId);
    return w;
}

QLabel *heading(QWidget *page, const char *name, int frenchId)
{
    auto *label = control<QLabel>(page, name, frenchId);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

QLabel *explanation(QWidget *page, const char *name, int frenchId)
{
    auto *label = control<QLabel>(page, name, frenchId);
    label->setWordWrap(true);
    return label;
}

// One page: its widgets from top to bottom, then room to spare.
QWidget *page(QStackedWidget *stack, std::initializer_list<QWidget *> widgets, QWidget *pageWidget)
{
    auto *layout = new QVBoxLayout(pageWidget);
    for (QWidget *w : widgets)
        layout->addWidget(w, 0, qobject_cast<QLabel *>(w) || qobject_cast<QCheckBox *>(w) ? Qt::Alignment() : Qt::AlignLeft);
    layout->addStretch();
    stack->addWidget(pageWidget);
    return pageWidget;
}

// A number with its caption before it, on one line.
QWidget *numberRow(QWidget *page, const char *labelName, int frenchId, QSpinBox *box)
{
    auto *row = new QWidget(page);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = control<QLabel>(row, labelName, frenchId);
    label->setBuddy(box);
    layout->addWidget(label);
    layout->addWidget(box);
    layout->addStretch();
    return row;
}

// A setting that could not be saved must not look saved.
void reportWrite(const FileResult &result, bool loading)
{
    if (!result.ok() && !loading)
        platform::inform(result.error(), platform::PromptIcon::Warning);
}

} // namespace

frmOption::frmOption(MenuCaptioner *captioner, std::function<void()> updateCheck, QWidget *parent)
    : QDialog(parent), d(new Private)
{
    d->captioner = captioner;
    d->updateCheck = std::move(updateCheck);
    buildWindow();
    connectControls();
    Form_Load();
}

frmOption::~frmOption()
{
    delete d;
}

void frmOption::buildWindow()
{
    d->tvOption = control<QTreeWidget>(this, "tvOption");
    d->tvOption->setHeaderHidden(true);
    d->tvOption->setRootIsDecorated(false);
    d->tvOption->setFixedWidth(180);
    for (int i = 0; i < PageCount; ++i)
        d->tvOption->addTopLevelItem(new QTreeWidgetItem);
    d->picOption = control<QStackedWidget>(this, "picOption");

    QWidget *p = new QWidget;
    d->chkStartWithUpdate = control<QCheckBox>(p, "chkStartWithUpdate", 620);
    d->cmdUpdate = control<QPushButton>(p, "cmdUpdate", 601);
    page(d->picOption, {heading(p, "lblUpdate", 605), d->chkStartWithUpdate,
                        explanation(p, "lblInfoUpdate", 659), d->cmdUpdate}, p);

    p = new QWidget;
    d->chkFtpManager = control<QCheckBox>(p, "chkFtpManager", 550);
    page(d->picOption, {heading(p, "lblChargement", 597), d->chkFtpManager,
                        explanation(p, "lblInfoLoad", 660)}, p);

    p = new QWidget;
    d->chkKeepAlive = control<QCheckBox>(p, "chkKeepAlive", 657);
    page(d->picOption, {heading(p, "lblGeneral", 657), d->chkKeepAlive,
                        explanation(p, "lblStayExplication", 658)}, p);

    p = new QWidget;
    d->cboLangue = control<QComboBox>(p, "cboLangue");
    // The language names are shown as they are in either language.
    d->cboLangue->addItems({QStringLiteral("Francais"), QStringLiteral("English")});
    auto *Label2 = explanation(p, "Label2", 592);
    Label2->setBuddy(d->cboLangue);
    page(d->picOption, {heading(p, "lblLangue", 598), Label2, d->cboLangue,
                        explanation(p, "Label10", 662)}, p);

    p = new QWidget;
    d->chkVeuxSon = control<QCheckBox>(p, "chkVeuxSon", 590);
    d->cmdSonChoix = control<QPushButton>(p, "cmdSonChoix", 593);
    d->cmdSonTest = control<QPushButton>(p, "cmdSonTest", 594);
    auto *soundButtons = new QWidget(p);
    auto *row = new QHBoxLayout(soundButtons);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(d->cmdSonChoix);
    row->addWidget(d->cmdSonTest);
    row->addStretch();
    page(d->picOption, {heading(p, "lblSon", 599), d->chkVeuxSon, explanation(p, "Label1", 591),
                        soundButtons, explanation(p, "lblSonInfo", 661)}, p);

    p = new QWidget;
    d->txtSimultaneous = control<QSpinBox>(p, "txtSimultaneous");
    d->txtSimultaneous->setRange(1, 10);
    d->txtRetries = control<QSpinBox>(p, "txtRetries");
    d->txtRetries->setRange(0, options::MaxRetries);
    page(d->picOption, {heading(p, "lblTransfers", 807), numberRow(p, "lblSimultaneous", 806, d->txtSimultaneous),
                        numberRow(p, "lblRetries", 859, d->txtRetries)}, p);

    d->Command1 = control<QPushButton>(this, "Command1");
    d->Command1->setText(QStringLiteral("Ok"));
    d->Command1->setDefault(true);
    d->Command2 = control<QPushButton>(this, "Command2");

    auto *pages = new QHBoxLayout;
    pages->addWidget(d->tvOption);
    pages->addWidget(d->picOption, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(d->Command1);
    buttons->addWidget(d->Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addLayout(buttons);
    resize(600, 340);
}

void frmOption::connectControls()
{
    connect(d->tvOption, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *node) {
        const int index = d->tvOption->indexOfTopLevelItem(node);
        if (index >= 0)
            d->picOption->setCurrentIndex(index);
    });
    // Every setting is written the moment its control changes, also when the
    // load sets it (the value written then is the one just read); only the
    // start-window choice waits until loading is over.
    connect(d->chkStartWithUpdate, &QCheckBox::toggled, this, [this](bool checked) {
        reportWrite(options::setCheckUpdateAtStart(checked), d->loading);
    });
    connect(d->chkFtpManager, &QCheckBox::toggled, this, [this](bool checked) {
        if (!d->loading)
            reportWrite(options::setStartWindowChoice(checked ? 1 : 0), false);
    });
    connect(d->chkKeepAlive, &QCheckBox::toggled, this, [this](bool checked) {
        reportWrite(options::setKeepAlive(checked), d->loading);
    });
    connect(d->chkVeuxSon, &QCheckBox::toggled, this, [this](bool checked) {
        reportWrite(options::setVeuxSon(checked), d->loading);
        bVeuxSon = checked;
    });
    connect(d->txtSimultaneous, &QSpinBox::valueChanged, this, [this](int count) {
        if (!d->loading)
            reportWrite(options::setSimultaneousTransfers(count), false);
    });
    connect(d->txtRetries, &QSpinBox::valueChanged, this, [this](int count) {
        if (!d->loading)
            reportWrite(options::setRetries(count), false);
    });
    // Only a choice of the user switches the language, not the load showing it.
    connect(d->cboLangue, &QComboBox::activated, this, &frmOption::cboLangue_Click);
    connect(d->cmdUpdate, &QPushButton::clicked, this, [this] {
        if (d->updateCheck)
            d->updateCheck();
    });
    connect(d->cmdSonChoix, &QPushButton::clicked, this, &frmOption::cmdSonChoix_Click);
    connect(d->cmdSonTest, &QPushButton::clicked, this,
            [] { platform::playWaveAndWait(options::soundFilePath(options::son())); });
    connect(d->Command1, &QPushButton::clicked, this, [this] {
        platform::inform(LangStr(546), platform::PromptIcon::Information);
        accept();
    });
    connect(d->Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOption::Form_Load()
{
    d->loading = true;
    d->cboLangue->setCurrentIndex(LanguageOffset == English ? 1 : 0);
    applyCaptions();
    d->tvOption->setCurrentItem(d->tvOption->topLevelItem(PageUpdate));
    d->chkFtpManager->setChecked(options::startWindowChoice() == 1);
    d->chkVeuxSon->setChecked(bVeuxSon);
    d->chkStartWithUpdate->setChecked(options::checkUpdateAtStart());
    d->chkKeepAlive->setChecked(options::keepAlive());
    d->txtSimultaneous->setValue(options::simultaneousTransfers());
    d->txtRetries->setValue(options::retries());
    d->loading = false;
}

void frmOption::applyCaptions()
{
    setWindowTitle(LangStr(548));
    for (int i = 0; i < PageCount; ++i)
        d->tvOption->topLevelItem(i)->setText(0, LangStr(NodeIds[i]));
    d->Command2->setText(LangStr(184));
    windowtext::applyTaggedCaptions(this);
}

void frmOption::cboLangue_Click(int index)
{
    reportWrite(options::setLangue(index == 1 ? English : French), d->loading);
    // The main window's menus follow at once, through a translator of our own.
    clsTraduction traduction(d->captioner);
    traduction.LoadRes();
    traduction.LoadResMenu();
    platform::applyQtLanguage(LanguageOffset == French);
    applyCaptions();
}

void frmOption::cmdSonChoix_Click()
{
    const QString chosen = platform::chooseOpenFile(this, LangStr(591), QStringLiteral("Wave (*.wav)"));
    // Cancelling brings the program's own sound back.
    reportWrite(options::setSon(chosen.isEmpty() ? options::DefaultSound : chosen), false);
}
