#pragma once

#include "X11Connection.h"
#include "platform/GlobalShortcut.h"

#include <memory>
#include <optional>

class QSocketNotifier;

// The global key on X11: a passive grab of the combination on the root window (XGrabKey), with
// and without Caps Lock and Num Lock, on a connection of its own whose events a socket notifier
// reads on the user-interface thread.
class X11GlobalShortcut : public GlobalShortcut
{
public:
    // displayName empty: $DISPLAY.
    explicit X11GlobalShortcut(const QString &displayName = {});
    ~X11GlobalShortcut() override;

    bool grab(const QString &keys, std::function<void()> onPressed, QString *error) override;
    void release() override;

    struct Combination
    {
        unsigned int modifiers = 0; // X modifier mask
        unsigned long keysym = 0;
    };
    // The combination a text names, without a display; none when it names no key.
    static std::optional<Combination> parse(const QString &keys);

private:
    void readEvents();
    void setGrabbed(bool grabbed);

    X11Connection m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onPressed;
    unsigned int m_modifiers = 0;
    int m_keycode = 0;
    bool m_held = false;
};
