#include "ScriptedPrompter.h"

void ScriptedPrompter::showMessage(const QString &text, const QString &title, Icon icon)
{
    m_shown.append({text, title, icon, false});
}

bool ScriptedPrompter::askOkCancel(const QString &text, const QString &title, Icon icon)
{
    m_shown.append({text, title, icon, true});
    if (m_answers.isEmpty()) {
        ++m_unanswered;
        return false;
    }
    return m_answers.dequeue();
}

std::optional<QString> ScriptedPrompter::askText(const QString &prompt, const QString &title)
{
    m_shown.append({prompt, title, Icon::None, true});
    if (m_texts.isEmpty()) {
        ++m_unanswered;
        return std::nullopt;
    }
    return m_texts.dequeue();
}

void ScriptedPrompter::clear()
{
    m_shown.clear();
    m_answers.clear();
    m_texts.clear();
    m_unanswered = 0;
}
