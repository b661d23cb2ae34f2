#include "FakeKeystrokeSender.h"

#include "platform/KeystrokeParser.h"

bool FakeKeystrokeSender::sendKeys(const QString &keys, QString *error)
{
    m_texts.append(keys);
    QString reason = m_failure;
    if (reason.isEmpty())
        reason = KeystrokeParser::parse(keys).error;
    if (error)
        *error = reason;
    return reason.isEmpty();
}
