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

// The desktop's top-level windows: listing, lookup, the window in front, bringing one to front.
// Class names and titles come back in the form they take in the data files (Windows-1252, at most
// 255 characters), so that they compare equal to the entries stored there.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // False, with the reason, when there is no desktop to work with.
    virtual bool isAvailable(QString *reason = nullptr) = 0;
    // The windows a user would call applications: titled, not owned by another window, shown or
    // minimized; in the desktop's order.
    virtual QList<TopLevelWindow> topLevelWindows() = 0;
    // The listed window with exactly this class name and title; 0 when there is none.
    virtual WindowId findWindow(const QString &className, const QString &title) = 0;
    // The listed window with this class name that is highest in the stacking order (the one
    // raised last); 0 when there is none.
    virtual WindowId findWindowOfClass(const QString &className) = 0;
    virtual WindowId foregroundWindow() = 0;
    virtual QString windowTitle(WindowId window) = 0;
    virtual QString windowClassName(WindowId window) = 0;
    // Makes the window the active one (restoring it when minimized) and waits up to timeoutMs
    // for that to happen; true when it is then in front.
    virtual bool forceForeground(WindowId window, int timeoutMs = 500) = 0;
};
