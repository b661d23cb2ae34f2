#pragma once

#include "platform/WindowSystem.h"

// A desktop held in memory: tests place windows, choose the one in front and read back which
// window was brought forward.
class FakeWindowSystem : public WindowSystem
{
public:
    bool isAvailable(QString *reason = nullptr) override;
    // Every window placed, titled or not, so that tests can see untitled ones left out.
    QList<TopLevelWindow> topLevelWindows(Order order = Order::Listing) override;
    WindowId foregroundWindow() override { return m_foreground; }
    QString windowTitle(WindowId window) override;
    QString windowClassName(WindowId window) override;
    bool forceForeground(WindowId window, int timeoutMs = 500) override;

    void addWindow(WindowId id, const QString &className, const QString &title);
    void removeWindow(WindowId id);
    void setTitle(WindowId id, const QString &title);
    void setForeground(WindowId id) { m_foreground = id; }
    void setAvailable(bool available) { m_available = available; }
    // Every window asked to come forward, in call order, whether it could or not.
    const QList<WindowId> &activations() const { return m_activations; }

private:
    QList<TopLevelWindow> m_windows;
    QList<WindowId> m_stacking; // bottom to top: a new or raised window goes last
    WindowId m_foreground = 0;
    bool m_available = true;
    QList<WindowId> m_activations;
};
