#pragma once

#include <QString>
#include <optional>

// The title of every message box that has none of its own.
inline const QString kProgramTitle = QStringLiteral("JEV! Voice Command");

// Message boxes and the input box. The windows use a Qt implementation, the command line one
// that writes to standard error, and tests a scripted one.
class Prompter
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
        Question
    };

    virtual ~Prompter() = default;

    virtual void showMessage(const QString &text, const QString &title, Icon icon) = 0;
    // OK / Cancel question; true for OK.
    virtual bool askOkCancel(const QString &text, const QString &title, Icon icon) = 0;
    // Input box; no value when cancelled.
    virtual std::optional<QString> askText(const QString &prompt, const QString &title) = 0;
};
