#include "FakeGlobalShortcut.h"

bool FakeGlobalShortcut::grab(const QString &keys, std::function<void()> onPressed, QString *error)
{
    release();
    m_grabs.append(keys);
    if (m_heldElsewhere.contains(keys)) {
        *error = QStringLiteral("Another program already uses %1.").arg(keys);
        return false;
    }
    m_held = keys;
    m_onPressed = std::move(onPressed);
    return true;
}

void FakeGlobalShortcut::release()
{
    m_held.clear();
    m_onPressed = nullptr;
}

bool FakeGlobalShortcut::press()
{
    if (m_held.isEmpty() || !m_onPressed)
        return false;
    m_onPressed();
    return true;
}
