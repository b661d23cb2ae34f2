#pragma once

#include "platform/KeystrokeSender.h"

#include <QStringList>

// Records every keystroke text it is asked to send instead of sending it. Like the real sender it
// refuses malformed text; it can also be told to fail every call, as a sender without a display
// does.
class FakeKeystrokeSender : public KeystrokeSender
{
public:
    bool sendKeys(const QString &keys, QString *error = nullptr) override;

    // Every text asked for, in order, including the refused ones.
    const QStringList &texts() const { return m_texts; }
    // A non-empty reason makes every later call fail with it; empty sends again.
    void setFailure(const QString &reason) { m_failure = reason; }
    void clear() { m_texts.clear(); }

private:
    QStringList m_texts;
    QString m_failure;
};
