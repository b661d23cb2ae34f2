#pragma once

#include "platform/KeystrokeSender.h"

#include <QStringList>

// Records the key actions it is asked to send instead of sending them. It can be told to fail
// every call, as a sender without a display does.
class FakeKeystrokeSender : public KeystrokeSender
{
public:
    bool send(const QList<KeyAction> &actions, QString *error = nullptr) override;

    // Every call's actions as keyActionText() writes them ("Ctrl+s"), in order, including the
    // refused ones.
    const QStringList &texts() const { return m_texts; }
    // A non-empty reason makes every later call fail with it; empty sends again.
    void setFailure(const QString &reason) { m_failure = reason; }

private:
    QStringList m_texts;
    QString m_failure;
};
