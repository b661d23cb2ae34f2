#include "FakeRecognizer.h"

bool FakeRecognizer::LoadGrammarFile(const QString &path, QString *error)
{
    if (!m_loadError.isEmpty()) {
        if (error)
            *error = m_loadError;
        return false;
    }
    m_loadedFiles.append(path);
    return true;
}

bool FakeRecognizer::Activate(QString *error)
{
    if (!m_activateError.isEmpty()) {
        if (error)
            *error = m_activateError;
        return false;
    }
    if (m_active)
        return true;
    ++m_activations;
    m_active = true;
    if (!m_activateNotice.isEmpty())
        emit listeningNotice(m_activateNotice);
    return true;
}

void FakeRecognizer::Deactivate()
{
    m_active = false;
    if (std::exchange(m_condition, InputCondition::Normal) != InputCondition::Normal)
        emit inputConditionChanged(InputCondition::Normal);
}

void FakeRecognizer::inputCondition(InputCondition condition)
{
    QMetaObject::invokeMethod(
        this,
        [this, condition] {
            if (m_active && condition != m_condition) {
                m_condition = condition;
                emit inputConditionChanged(condition);
            }
        },
        Qt::QueuedConnection);
}

void FakeRecognizer::hear(const QString &phrase)
{
    QMetaObject::invokeMethod(
        this,
        [this, phrase] {
            if (m_active)
                emit PhraseRecognized(phrase);
        },
        Qt::QueuedConnection);
}

void FakeRecognizer::level(int value)
{
    QMetaObject::invokeMethod(
        this,
        [this, value] {
            if (m_active)
                emit LevelChanged(value);
        },
        Qt::QueuedConnection);
}
