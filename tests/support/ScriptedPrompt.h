#pragma once
// Answers the program's questions in tests: a queue of answers given in advance,
// and a record of every question asked.

#include "platform/Prompt.h"

#include <QList>
#include <QStringList>

class ScriptedPrompt : public platform::Prompt {
public:
    ScriptedPrompt() { platform::setPrompt(this); }
    ~ScriptedPrompt() override { platform::setPrompt(nullptr); }

    void push(platform::PromptAnswer answer) { m_answers.append(answer); }

    platform::PromptAnswer ask(const platform::PromptRequest &request) override
    {
        m_asked.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        switch (request.buttons) {
        case platform::PromptButtons::Ok: return platform::PromptAnswer::Ok;
        case platform::PromptButtons::OkCancel: return platform::PromptAnswer::Cancel;
        case platform::PromptButtons::YesNo: return platform::PromptAnswer::No;
        }
        return platform::PromptAnswer::Cancel;
    }

    const QList<platform::PromptRequest> &asked() const { return m_asked; }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &r : m_asked)
            out << r.text;
        return out;
    }
    void clear() { m_asked.clear(); m_answers.clear(); }

private:
    QList<platform::PromptAnswer> m_answers;
    QList<platform::PromptRequest> m_asked;
};
