#include "EditResult.h"

EditResult EditResult::refused(const QString &text, const QString &title, Prompter::Icon icon)
{
    EditResult result;
    result.outcome = Outcome::Refused;
    result.text = text;
    result.title = title;
    result.icon = icon;
    return result;
}

EditResult EditResult::failed(const AppError &error, const QString &title, Prompter::Icon icon)
{
    EditResult result = failed(error.message());
    result.title = title;
    result.icon = icon;
    result.error = error;
    return result;
}

EditResult EditResult::failed(const QString &text)
{
    EditResult result;
    result.outcome = Outcome::Failed;
    result.text = text;
    return result;
}

EditResult EditResult::failedQuietly(const AppError &error, const QString &where)
{
    EditResult result = failed(error);
    result.text.clear();
    result.detail = where + QStringLiteral(": ") + error.message();
    return result;
}

void EditResult::show(Prompter &prompter) const
{
    if (!text.isEmpty())
        prompter.showMessage(text, title, icon);
}
