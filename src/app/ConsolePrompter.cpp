#include "ConsolePrompter.h"

void ConsolePrompter::showMessage(const QString &text, const QString &title, Icon icon)
{
    Q_UNUSED(title)
    Q_UNUSED(icon)
    m_err << text << Qt::endl;
}

bool ConsolePrompter::askOkCancel(const QString &text, const QString &title, Icon icon)
{
    Q_UNUSED(text)
    Q_UNUSED(title)
    Q_UNUSED(icon)
    return true;
}

std::optional<QString> ConsolePrompter::askText(const QString &prompt, const QString &title)
{
    Q_UNUSED(prompt)
    Q_UNUSED(title)
    return std::nullopt; // no task asks for text: names come as arguments
}
