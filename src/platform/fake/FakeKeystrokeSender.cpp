#include "FakeKeystrokeSender.h"

bool FakeKeystrokeSender::sendKeys(const QString &keys, QString *error)
{
    if (!m_failure.isEmpty()) {
        if (error)
            *error = m_failure;
        return false;
    }
    m_sent.append(keys);
    return true;
}
