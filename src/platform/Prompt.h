#pragma once
// Every modal question and message box of the program goes through this seam,
// so that the windows show a real box while the command-line front end and the
// tests answer it themselves. Nothing below the windows opens a box directly.

#include <QString>

namespace platform {

enum class PromptIcon { None, Information, Question, Warning, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptRequest {
    QString title;   // empty: the program's name
    QString text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
};

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const PromptRequest &request) = 0;
};

// Installs the prompt used from now on (not owned); nullptr restores the
// default, which answers without asking: Ok, Cancel or No (the safe choice).
void setPrompt(Prompt *prompt);
Prompt *currentPrompt();

PromptAnswer ask(const QString &text, PromptButtons buttons, PromptIcon icon,
                 const QString &title = QString());
void inform(const QString &text, PromptIcon icon = PromptIcon::Information,
            const QString &title = QString());

} // namespace platform
