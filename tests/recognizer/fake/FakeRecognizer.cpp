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
    if (!m_active)
        ++m_activations;
    m_active = true;
    return true;
}

void FakeRecognizer::Deactivate()
{
    m_active = false;
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
