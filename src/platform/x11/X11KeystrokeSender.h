#pragma once

#include "platform/KeystrokeSender.h"

#include <memory>

class X11Connection;
class X11KeyMap;

// Types key actions into the window in front with XTest, each character through the keyboard
// layout in use (a character the layout lacks goes through a spare keycode), then waits until
// that window has processed the keys: XSync, and two _NET_WM_PING round trips when the window
// answers pings.
class X11KeystrokeSender : public KeystrokeSender
{
public:
    explicit X11KeystrokeSender(X11Connection &connection);
    ~X11KeystrokeSender() override;

    bool send(const QList<KeyAction> &actions, QString *error = nullptr) override;

    // How long to wait for each ping answer before going on (a hung window must not hang us).
    void setPingTimeout(int milliseconds) { m_pingTimeoutMs = milliseconds; }

private:
    // False, with the reason, when there is no display, XTest or keyboard map to type with.
    bool canType(QString &message);
    void waitUntilProcessed();
    unsigned long windowInFront();
    bool answersPing(unsigned long window);
    bool ping(unsigned long window);

    X11Connection &m_connection;
    std::unique_ptr<X11KeyMap> m_keyMap;
    bool m_checkedXTest = false;
    bool m_hasXTest = false;
    int m_pingTimeoutMs = 1000;
    unsigned long m_pingStamp;
};
