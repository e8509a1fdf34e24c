#include "dialogs/frmCertificate.h"

#include "settings/StringTable.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *valueLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

QString dateText(const QDateTime &utc)
{
    return QLocale().toString(utc.toLocalTime(), QLocale::ShortFormat);
}

// "AB:CD:..." in two lines of sixteen bytes, so that it can be read out.
QString fingerprintLines(const QByteArray &sha256)
{
    const QString text = inet::fingerprintText(sha256);
    return text.size() > 48 ? text.left(47) + QLatin1Char('\n') + text.mid(48) : text;
}

} // namespace

frmCertificate::frmCertificate(const inet::CertificateInfo &info, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCertificate"));
    setWindowTitle(LangStr(820));
    const bool changed = !info.previousSha256.isEmpty();

    lblChanged = new QLabel(LangStr(831), this);
    lblChanged->setObjectName(QStringLiteral("lblChanged"));
    lblChanged->setWordWrap(true);
    QFont loud = lblChanged->font();
    loud.setBold(true);
    loud.setPointSizeF(loud.pointSizeF() * 1.2);
    lblChanged->setFont(loud);
    lblChanged->setStyleSheet(QStringLiteral("color: #ffffff; background-color: #c0261b; padding: 8px;"));
    lblChanged->setVisible(changed);
    auto *intro = new QLabel(LangStr(821), this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);

    QFont mono = font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::Monospace);
    lblServer = valueLabel(this, "lblServer", QStringLiteral("%1:%2").arg(info.host).arg(info.port));
    lblSubject = valueLabel(this, "lblSubject", info.subject);
    lblIssuer = valueLabel(this, "lblIssuer", info.issuer);
    lblValidity = valueLabel(this, "lblValidity", LangStr(826).arg(dateText(info.notBefore), dateText(info.notAfter)));
    lblFingerprint = valueLabel(this, "lblFingerprint", fingerprintLines(info.sha256));
    lblFingerprint->setFont(mono);
    lblPrevious = valueLabel(this, "lblPrevious", fingerprintLines(info.previousSha256));
    lblPrevious->setFont(mono);
    lblProblems = valueLabel(this, "lblProblems", info.problems.join(QLatin1Char('\n')));
    QFont bold = lblProblems->font();
    bold.setBold(true);
    lblProblems->setFont(bold);

    auto *form = new QFormLayout;
    form->addRow(LangStr(822), lblServer);
    form->addRow(LangStr(823), lblSubject);
    form->addRow(LangStr(824), lblIssuer);
    form->addRow(LangStr(825), lblValidity);
    form->addRow(LangStr(827), lblFingerprint);
    if (changed)
        form->addRow(LangStr(832), lblPrevious);
    else
        lblPrevious->hide();
    form->addRow(LangStr(828), lblProblems);

    cmdOnce = new QPushButton(LangStr(829), this);
    cmdOnce->setObjectName(QStringLiteral("cmdOnce"));
    cmdAlways = new QPushButton(LangStr(830), this);
    cmdAlways->setObjectName(QStringLiteral("cmdAlways"));
    cmdCancel = new QPushButton(LangStr(577), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter must never trust by accident: the safe answer is the default.
    for (QPushButton *button : {cmdOnce, cmdAlways})
        button->setAutoDefault(false);
    cmdCancel->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOnce);
    buttons->addWidget(cmdAlways);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblChanged);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(560, changed ? 420 : 360);
    cmdCancel->setFocus();

    connect(cmdOnce, &QPushButton::clicked, this, [this] { choose(CertificateAnswer::TrustOnce); });
    connect(cmdAlways, &QPushButton::clicked, this, [this] { choose(CertificateAnswer::TrustAlways); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { choose(CertificateAnswer::Cancel); });
}

void frmCertificate::choose(CertificateAnswer answer)
{
    m_answer = answer;
    if (answer == CertificateAnswer::Cancel)
        reject();
    else
        accept();
}

CertificateAnswer frmCertificate::ask(const inet::CertificateInfo &info, QWidget *parent)
{
    frmCertificate window(info, parent);
    window.exec();
    return window.answer();
}
