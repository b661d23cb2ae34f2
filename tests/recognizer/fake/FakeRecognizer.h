#pragma once

#include "recognizer/Recognizer.h"

#include <QStringList>

// A recognizer that hears what a test tells it: for the tests of the windows that use one.
// Events are queued, as the real recognizer's are, and only delivered while active.
class FakeRecognizer : public Recognizer
{
    Q_OBJECT

public:
    using Recognizer::Recognizer;

    bool LoadGrammarFile(const QString &path, QString *error = nullptr) override;
    bool Activate(QString *error = nullptr) override;
    void Deactivate() override;
    bool isActive() const override { return m_active; }

    // What the next LoadGrammarFile / Activate fails with; empty: they succeed.
    void setLoadError(const QString &message) { m_loadError = message; }
    void setActivateError(const QString &message) { m_activateError = message; }
    // What the next successful Activate tells with listeningNotice; empty: nothing.
    void setActivateNotice(const QString &message) { m_activateNotice = message; }

    // Queues a phrase or level event, delivered only if still active when it comes due.
    void hear(const QString &phrase);
    void level(int value);
    // Queues a change of the input's condition, delivered only if still active.
    void inputCondition(InputCondition condition);

    // Every successful LoadGrammarFile, in order.
    QStringList loadedFiles() const { return m_loadedFiles; }
    int activations() const { return m_activations; }

private:
    bool m_active = false;
    int m_activations = 0;
    QString m_loadError;
    QString m_activateError;
    QString m_activateNotice;
    InputCondition m_condition = InputCondition::Normal;
    QStringList m_loadedFiles;
};
