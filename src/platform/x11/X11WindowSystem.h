#pragma once

#include "platform/WindowSystem.h"

class X11Connection;

// Top-level windows through the window manager's EWMH hints (_NET_CLIENT_LIST,
// _NET_ACTIVE_WINDOW), with a fallback to the root's mapped children when no window manager runs.
class X11WindowSystem : public WindowSystem
{
public:
    explicit X11WindowSystem(X11Connection &connection);

    bool isAvailable(QString *reason = nullptr) override;
    QList<TopLevelWindow> topLevelWindows(Order order = Order::Listing) override;
    WindowId foregroundWindow() override;
    QString windowTitle(WindowId window) override;
    QString windowClassName(WindowId window) override;
    bool forceForeground(WindowId window, int timeoutMs = 500) override;

private:
    bool hasWindowManager();
    QList<WindowId> candidateWindows(bool managed, Order order);
    bool isListed(WindowId window, bool managed);
    WindowId activeWindow();

    X11Connection &m_connection;
};
