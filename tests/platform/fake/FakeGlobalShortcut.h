#pragma once

#include "platform/GlobalShortcut.h"

#include <QStringList>

// A global key that a test presses; it can be told to be held by another program.
class FakeGlobalShortcut : public GlobalShortcut
{
public:
    bool grab(const QString &keys, std::function<void()> onPressed, QString *error) override;
    void release() override;

    // The combinations another program holds: grabbing one fails.
    void setHeldElsewhere(const QStringList &keys) { m_heldElsewhere = keys; }
    // Presses the held combination, as the user would; false when none is held.
    bool press();
    // The combination held, empty when none; and every combination asked for, in order.
    QString held() const { return m_held; }
    QStringList grabs() const { return m_grabs; }

private:
    QStringList m_heldElsewhere;
    QStringList m_grabs;
    QString m_held;
    std::function<void()> m_onPressed;
};
