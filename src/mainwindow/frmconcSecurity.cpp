// The main window's side of FTP over TLS: the certificate question, and the
// connection's protection in the status line (a lock and its text, the
// protocol and cipher in the tool tip).
#include "mainwindow/frmconc.h"

#include "dialogs/frmCertificate.h"
#include "platform/gui/Icons.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>

void frmconc::buildProtectionStatus()
{
    auto *box = new QWidget(StatusBar1);
    box->setObjectName(QStringLiteral("picProtection"));
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(4);
    picProtection = new QLabel(box);
    picProtection->setObjectName(QStringLiteral("picLock"));
    lblProtection = new QLabel(box);
    lblProtection->setObjectName(QStringLiteral("lblProtection"));
    row->addWidget(picProtection);
    row->addWidget(lblProtection);
    StatusBar1->addPermanentWidget(box);
    captionProtection();
}

void frmconc::captionProtection()
{
    const ConnectionProtection &p = m_protection;
    const bool shown = p.connected;
    picProtection->setVisible(shown);
    lblProtection->setVisible(shown);
    if (!shown)
        return;
    picProtection->setPixmap(
        icons::named(p.encrypted ? QStringLiteral("lock") : QStringLiteral("lock-open")).pixmap(16, 16));
    lblProtection->setText(p.encrypted ? LangStr(835).arg(p.protocol) : LangStr(836));
    const QString tip = p.encrypted ? LangStr(833).arg(p.protocol, p.cipher) : LangStr(836);
    picProtection->setToolTip(tip);
    lblProtection->setToolTip(tip);
}

void frmconc::showProtection(const ConnectionProtection &protection)
{
    m_protection = protection;
    captionProtection();
}

CertificateAnswer frmconc::askCertificate(const inet::CertificateInfo &info)
{
    // The connection routine shows the hourglass; a question needs the pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const CertificateAnswer answer = frmCertificate::ask(info, this);
    QApplication::restoreOverrideCursor();
    return answer;
}
