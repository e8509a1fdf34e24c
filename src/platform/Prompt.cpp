#include "platform/Prompt.h"

#include <QtDebug>

namespace platform {
namespace {

// Used when nobody can answer (no window, no terminal): takes the answer that
// changes nothing and leaves a trace on standard error.
class SilentPrompt final : public Prompt {
public:
    PromptAnswer ask(const PromptRequest &request) override
    {
        qInfo().noquote() << request.text;
        switch (request.buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::OkCancel: return PromptAnswer::Cancel;
        case PromptButtons::YesNo: return PromptAnswer::No;
        }
        return PromptAnswer::Cancel;
    }
};

SilentPrompt silentPrompt;
Prompt *installed = nullptr;
} // namespace

void setPrompt(Prompt *prompt) { installed = prompt; }

Prompt *currentPrompt() { return installed ? installed : &silentPrompt; }

PromptAnswer ask(const QString &text, PromptButtons buttons, PromptIcon icon, const QString &title)
{
    return currentPrompt()->ask(PromptRequest{title, text, buttons, icon});
}

void inform(const QString &text, PromptIcon icon, const QString &title)
{
    currentPrompt()->ask(PromptRequest{title, text, PromptButtons::Ok, icon});
}

} // namespace platform
