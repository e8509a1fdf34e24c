#pragma once
// The question about a server certificate that is not trusted: who it names
// (subject), who signed it (issuer), when it is valid, its SHA-256
// fingerprint and why it is not trusted; and the answers trust this once,
// always trust, or cancel (also the close box and Escape). When another
// certificate was trusted for this server before, the window says loudly that
// it changed and shows both fingerprints. Cancel is the default button.

#include "session/SessionHost.h"

#include <QDialog>

class QLabel;
class QPushButton;

class frmCertificate : public QDialog {
    Q_OBJECT
public:
    explicit frmCertificate(const inet::CertificateInfo &info, QWidget *parent = nullptr);

    // Shows the window modally and gives the answer.
    static CertificateAnswer ask(const inet::CertificateInfo &info, QWidget *parent = nullptr);
    CertificateAnswer answer() const { return m_answer; }

    QLabel *lblChanged = nullptr;  // the warning of a changed certificate (hidden otherwise)
    QLabel *lblServer = nullptr;
    QLabel *lblSubject = nullptr;
    QLabel *lblIssuer = nullptr;
    QLabel *lblValidity = nullptr;
    QLabel *lblFingerprint = nullptr;
    QLabel *lblPrevious = nullptr; // the fingerprint trusted before (hidden otherwise)
    QLabel *lblProblems = nullptr;
    QPushButton *cmdOnce = nullptr;
    QPushButton *cmdAlways = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void choose(CertificateAnswer answer);

    CertificateAnswer m_answer = CertificateAnswer::Cancel;
};
