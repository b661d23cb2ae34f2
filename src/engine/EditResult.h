#pragma once

#include "data/AppError.h"
#include "platform/Prompter.h"

#include <QString>
#include <optional>

// What an edit of the configuration came to. The engine decides; the windows and the command
// line only present the result. A refusal or a failure carries the program's message (text,
// title, icon; no text when the program shows nothing), a failure also the numbered error
// underneath and, in detail, what went wrong where.
struct EditResult
{
    enum class Outcome
    {
        Done,
        // A rule of the program said no; nothing was changed.
        Refused,
        // A data file could not be read or written; every file is still whole, old or new.
        Failed
    };

    Outcome outcome = Outcome::Done;
    QString text;
    QString title = kProgramTitle;
    Prompter::Icon icon = Prompter::Icon::None;
    std::optional<AppError> error;
    QString detail;
    // The list position the message is about (the entry to select), -1 for none.
    int position = -1;

    bool isDone() const { return outcome == Outcome::Done; }

    static EditResult done() { return {}; }
    static EditResult refused(const QString &text, const QString &title = kProgramTitle,
                              Prompter::Icon icon = Prompter::Icon::None);
    // The message is the error's own: its number, its text and what was refused where.
    static EditResult failed(const AppError &error, const QString &title = kProgramTitle,
                             Prompter::Icon icon = Prompter::Icon::None);
    // A failure that has no numbered error underneath.
    static EditResult failed(const QString &text);
    // A failure the windows pass over without a message; the detail says where it happened.
    static EditResult failedQuietly(const AppError &error, const QString &where);

    // Shows the message, when there is one.
    void show(Prompter &prompter) const;
};
