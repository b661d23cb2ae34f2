#pragma once

#include "platform/Prompter.h"

#include <QList>
#include <QQueue>
#include <functional>

// Records every message and question, and answers questions from queues. A question with no
// answer queued is answered Cancel and counted, so a test can tell that it was not expected.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Icon icon;
        bool question;
    };

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askOkCancel(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> askText(const QString &prompt, const QString &title) override;

    void queueAnswer(bool ok) { m_answers.enqueue(ok); }
    void queueText(std::optional<QString> text) { m_texts.enqueue(std::move(text)); }
    // Runs while a message or question is shown, as the events that a real box's own event loop
    // handles meanwhile (a phrase heard, a timer).
    void setWhileShown(std::function<void()> action) { m_whileShown = std::move(action); }

    const QList<Shown> &shown() const { return m_shown; }
    int unanswered() const { return m_unanswered; }
    void clear();

private:
    void show(Shown shown);

    QList<Shown> m_shown;
    QQueue<bool> m_answers;
    QQueue<std::optional<QString>> m_texts;
    int m_unanswered = 0;
    std::function<void()> m_whileShown;
};
