#pragma once

#include "platform/Prompter.h"

#include <QTextStream>

// The command line's prompter: messages go to standard error; the command itself was the
// user's answer, so questions are answered OK.
class ConsolePrompter : public Prompter
{
public:
    explicit ConsolePrompter(QTextStream &err) : m_err(err) {}

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askOkCancel(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> askText(const QString &prompt, const QString &title) override;

private:
    QTextStream &m_err;
};
