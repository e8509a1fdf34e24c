#include "platform/gui/MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {
QMessageBox::Icon toIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}
} // namespace

PromptAnswer MessageBoxPrompt::ask(const PromptRequest &request)
{
    QWidget *parent = m_parent ? m_parent() : QApplication::activeWindow();
    QMessageBox box(toIcon(request.icon),
                    request.title.isEmpty() ? QApplication::applicationName() : request.title,
                    request.text, QMessageBox::NoButton, parent);
    switch (request.buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    // Closing the box by its title bar counts as the escape button: the
    // answer that changes nothing.
    switch (box.exec()) {
    case QMessageBox::Ok: return PromptAnswer::Ok;
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    default: return PromptAnswer::Cancel;
    }
}

} // namespace platform
