#pragma once

#include "platform/KeystrokeSender.h"

#include <QStringList>

// Records the keystroke texts it is asked to send; can be told to refuse them.
class FakeKeystrokeSender : public KeystrokeSender
{
public:
    bool sendKeys(const QString &keys, QString *error = nullptr) override;

    // A non-empty reason makes every send fail with it.
    void setFailure(const QString &reason) { m_failure = reason; }
    const QStringList &sent() const { return m_sent; }

private:
    QStringList m_sent;
    QString m_failure;
};
