#include "dialogs/frmAbout.h"

#include "dialogs/WindowText.h"
#include "platform/gui/Choosers.h"
#include "platform/gui/Icons.h"
#include "settings/StringTable.h"
#include "update/UpdateConfig.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(LangStr(141) + QLatin1Char(' ') + windowtext::programTitle());

    auto *logo = new QLabel(this);
    const QIcon icon = icons::named(QStringLiteral("tarvoftp"));
    if (icon.isNull())
        logo->hide();
    else
        logo->setPixmap(icon.pixmap(64, 64));

    auto *title = new QLabel(windowtext::programTitle(), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    title->setFont(big);

    m_version = new QLabel(QStringLiteral("Version ") + windowtext::programVersion(), this);
    m_version->setObjectName(QStringLiteral("lblversion"));
    auto *lblDesc = new QLabel(this);
    lblDesc->setObjectName(QStringLiteral("lblDesc"));
    lblDesc->setWordWrap(true);
    windowtext::tag(lblDesc, 613);

    const QString site = update::vendorWebSiteUrl();
    auto *cmdWeb = new QPushButton(site, this);
    cmdWeb->setObjectName(QStringLiteral("cmdWeb"));
    cmdWeb->setAutoDefault(false);
    cmdWeb->setCursor(Qt::PointingHandCursor);
    auto *cmdClose = new QPushButton(this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    windowtext::tag(cmdClose, 205);
    windowtext::applyTaggedCaptions(this);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(m_version);
    text->addWidget(lblDesc);
    text->addWidget(cmdWeb, 0, Qt::AlignLeft);
    auto *top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    // The address is read when the window opens, as its caption shows it.
    connect(cmdWeb, &QPushButton::clicked, this, [site] { platform::openWithDesktop(site); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmAbout::versionText() const
{
    return m_version->text();
}
