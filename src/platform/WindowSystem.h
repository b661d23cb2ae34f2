#pragma once

#include <QList>
#include <QString>

// A top-level window's id on the desktop; 0 is no window.
using WindowId = quint64;

struct TopLevelWindow
{
    WindowId id = 0;
    QString className;
    QString title;
};

// The desktop's top-level windows: listing, the window in front, bringing one to front. Class
// names and titles come back as the desktop has them.
class WindowSystem
{
public:
    enum class Order
    {
        Listing,  // the desktop's own order of its windows
        Stacking, // bottom to top: the window raised last comes last
    };

    virtual ~WindowSystem() = default;

    // False, with the reason, when there is no desktop to work with.
    virtual bool isAvailable(QString *reason = nullptr) = 0;
    // The windows a user would call applications: titled, not owned by another window, shown or
    // minimized.
    virtual QList<TopLevelWindow> topLevelWindows(Order order = Order::Listing) = 0;
    virtual WindowId foregroundWindow() = 0;
    virtual QString windowTitle(WindowId window) = 0;
    virtual QString windowClassName(WindowId window) = 0;
    // Makes the window the active one (restoring it when minimized) and waits up to timeoutMs
    // for that to happen; true when it is then in front.
    virtual bool forceForeground(WindowId window, int timeoutMs = 500) = 0;
};
