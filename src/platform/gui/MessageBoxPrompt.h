#pragma once
// The desktop's answer to the question seam: real message boxes.

#include "platform/Prompt.h"

class QWidget;

namespace platform {

class MessageBoxPrompt final : public Prompt {
public:
    // parentProvider gives the window the box belongs to (may return nullptr).
    explicit MessageBoxPrompt(QWidget *(*parentProvider)() = nullptr) : m_parent(parentProvider) {}
    PromptAnswer ask(const PromptRequest &request) override;

private:
    QWidget *(*m_parent)();
};

} // namespace platform
