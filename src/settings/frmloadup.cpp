#include "settings/frmloadup.h"

#include "dialogs/WindowText.h"
#include "platform/gui/Icons.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "settings/StringTable.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr qint16 English = 1000;
const QSize LogoSize(360, 150);

// The logo of one language; its name in large letters while there is no picture.
QLabel *logo(QWidget *parent, const QString &iconName)
{
    auto *label = new QLabel(parent);
    label->setObjectName(iconName);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(LogoSize.height() / 2);
    const QIcon icon = icons::named(iconName);
    if (!icon.isNull()) {
        label->setPixmap(icon.pixmap(LogoSize));
        return label;
    }
    label->setText(windowtext::programTitle());
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 2.5);
    label->setFont(font);
    return label;
}

} // namespace

frmloadup::frmloadup(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmloadup"));
    LanguageOffset = options::startLanguageOffset();

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    m_logoFr = logo(frame, QStringLiteral("logo-fr"));
    m_logoEn = logo(frame, QStringLiteral("logo-en"));
    m_logoFr->setObjectName(QStringLiteral("imgLogofr"));
    m_logoEn->setObjectName(QStringLiteral("imgLogoen"));
    m_logoFr->setVisible(LanguageOffset != English);
    m_logoEn->setVisible(LanguageOffset == English);

    m_version = new QLabel(LangStr(699) + QStringLiteral(" : ") + windowtext::programVersion(), frame);
    m_version->setObjectName(QStringLiteral("lblversion"));
    m_version->setAlignment(Qt::AlignCenter);
    auto *loading = new QLabel(LangStr(700), frame);
    loading->setAlignment(Qt::AlignCenter);

    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(24, 24, 24, 16);
    inner->addWidget(m_logoFr);
    inner->addWidget(m_logoEn);
    inner->addWidget(m_version);
    inner->addWidget(loading);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setFixedSize(sizeHint().expandedTo(QSize(420, 240)));
    centreOnScreen();
}

QString frmloadup::versionText() const
{
    return m_version->text();
}

bool frmloadup::showsEnglishLogo() const
{
    return !m_logoEn->isHidden() && m_logoFr->isHidden();
}

void frmloadup::centreOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}
