#include "dialogs/frmCHMOD.h"

#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int Groups = 3; // owner, group, everyone
constexpr int CaptionResourceId = 1566; // "CHMOD", the same in both languages
} // namespace

class frmCHMOD::Private {
public:
    clsFTPClient *ftp = nullptr;
    QCheckBox *chkRead[Groups] = {};
    QCheckBox *chkWrite[Groups] = {};
    QCheckBox *chkExec[Groups] = {};
    QLabel *lblTitre[Groups] = {};
    QLabel *lblChmodValue = nullptr;
    QLabel *lblPermission = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QString sFile; // the entry the mode is for; empty until LoadMe found one

    int digit(int group) const
    {
        return (chkRead[group]->isChecked() ? 4 : 0) + (chkWrite[group]->isChecked() ? 2 : 0)
            + (chkExec[group]->isChecked() ? 1 : 0);
    }
    QString mode() const { return QString::number(digit(0)) + QString::number(digit(1)) + QString::number(digit(2)); }
};

namespace {

QCheckBox *permissionBox(QWidget *parent, const char *name, int group, int frenchId)
{
    auto *box = new QCheckBox(LangStr(frenchId), parent);
    box->setObjectName(QString::fromLatin1(name) + QString::number(group));
    return box;
}

// Read 4, write 2, execute 1. Only a literal "x" is execute: the set-id and
// sticky letters (s, t, S, T) in that place are not an execute bit we may send back.
int tripleDigit(const QString &triple)
{
    const QString t = triple.toLower();
    return (t.contains(QLatin1Char('r')) ? 4 : 0) + (t.contains(QLatin1Char('w')) ? 2 : 0)
        + (t.contains(QLatin1Char('x')) ? 1 : 0);
}

} // namespace

frmCHMOD::frmCHMOD(clsFTPClient *ftp, QWidget *parent) : QDialog(parent), d(new Private)
{
    d->ftp = ftp;
    setWindowTitle(LoadResString(CaptionResourceId));

    d->lblPermission = new QLabel(LangStr(647), this);
    d->lblPermission->setObjectName(QStringLiteral("lblPermission"));
    auto *boxes = new QGridLayout;
    for (int i = 0; i < Groups; ++i) {
        d->lblTitre[i] = new QLabel(LangStr(567 + i), this);
        d->lblTitre[i]->setObjectName(QStringLiteral("lblTitre") + QString::number(i));
        QFont bold = d->lblTitre[i]->font();
        bold.setBold(true);
        d->lblTitre[i]->setFont(bold);
        d->chkRead[i] = permissionBox(this, "chkRead", i, 563);
        d->chkWrite[i] = permissionBox(this, "chkWrite", i, 564);
        d->chkExec[i] = permissionBox(this, "chkExec", i, 565);
        boxes->addWidget(d->lblTitre[i], 0, i);
        boxes->addWidget(d->chkRead[i], 1, i);
        boxes->addWidget(d->chkWrite[i], 2, i);
        boxes->addWidget(d->chkExec[i], 3, i);
        for (QCheckBox *box : {d->chkRead[i], d->chkWrite[i], d->chkExec[i]})
            connect(box, &QCheckBox::toggled, this, [this] { d->lblChmodValue->setText(d->mode()); });
    }
    d->lblChmodValue = new QLabel(QStringLiteral("000"), this);
    d->lblChmodValue->setObjectName(QStringLiteral("lblChmodValue"));
    d->lblChmodValue->setAlignment(Qt::AlignCenter);
    QFont big = d->lblChmodValue->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    d->lblChmodValue->setFont(big);

    d->Command1 = new QPushButton(QStringLiteral("OK"), this);
    d->Command1->setObjectName(QStringLiteral("Command1"));
    d->Command1->setDefault(true);
    // Nothing may be sent until LoadMe has named the entry.
    d->Command1->setEnabled(false);
    d->Command2 = new QPushButton(LangStr(184), this);
    d->Command2->setObjectName(QStringLiteral("Command2"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(d->Command1);
    buttons->addWidget(d->Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(d->lblPermission);
    layout->addLayout(boxes);
    layout->addWidget(d->lblChmodValue);
    layout->addLayout(buttons);

    connect(d->Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(d->Command2, &QPushButton::clicked, this, &QDialog::reject);
}

frmCHMOD::~frmCHMOD()
{
    delete d;
}

void frmCHMOD::LoadMe(const QString &sFile)
{
    const QString permissions = sCommandResponse;
    if (permissions.size() < 9)
        return;
    d->sFile = sFile;
    setWindowTitle(LoadResString(CaptionResourceId) + QStringLiteral(" - ") + sFile);
    for (int i = 0; i < Groups; ++i) {
        const int digit = tripleDigit(permissions.mid(1 + 3 * i, 3));
        d->chkRead[i]->setChecked(digit & 4);
        d->chkWrite[i]->setChecked(digit & 2);
        d->chkExec[i]->setChecked(digit & 1);
    }
    d->Command1->setEnabled(!sFile.trimmed().isEmpty());
}

QString frmCHMOD::chmodValue() const
{
    return d->lblChmodValue->text();
}

void frmCHMOD::Command1_Click()
{
    // A mode without a name would be the server's to guess at; never send one.
    if (d->sFile.trimmed().isEmpty())
        return;
    if (d->ftp)
        d->ftp->SetCHMOD(QStringLiteral("SITE CHMOD ") + d->mode() + QLatin1Char(' ') + d->sFile);
    accept();
}
