#include "ScriptedPrompter.h"

void ScriptedPrompter::show(Shown shown)
{
    m_shown.append(std::move(shown));
    // A copy: the action may replace itself.
    if (const std::function<void()> action = m_whileShown)
        action();
}

void ScriptedPrompter::showMessage(const QString &text, const QString &title, Icon icon)
{
    show({text, title, icon, false});
}

bool ScriptedPrompter::askOkCancel(const QString &text, const QString &title, Icon icon)
{
    show({text, title, icon, true});
    if (m_answers.isEmpty()) {
        ++m_unanswered;
        return false;
    }
    return m_answers.dequeue();
}

std::optional<QString> ScriptedPrompter::askText(const QString &prompt, const QString &title)
{
    show({prompt, title, Icon::None, true});
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
    m_whileShown = nullptr;
}
