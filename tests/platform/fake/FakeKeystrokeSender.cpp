#include "FakeKeystrokeSender.h"

#include "KeyActionText.h"

bool FakeKeystrokeSender::send(const QList<KeyAction> &actions, QString *error)
{
    m_texts.append(keyActionText(actions));
    if (error)
        *error = m_failure;
    return m_failure.isEmpty();
}
