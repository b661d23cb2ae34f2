#include "FakeWindowSystem.h"

bool FakeWindowSystem::isAvailable(QString *reason)
{
    if (!m_available && reason)
        *reason = QStringLiteral("No X display: DISPLAY is not set.");
    return m_available;
}

QList<TopLevelWindow> FakeWindowSystem::topLevelWindows(Order order)
{
    if (order == Order::Listing)
        return m_windows;
    QList<TopLevelWindow> stacked;
    for (WindowId id : std::as_const(m_stacking))
        stacked.append({id, windowClassName(id), windowTitle(id)});
    return stacked;
}

QString FakeWindowSystem::windowTitle(WindowId window)
{
    for (const TopLevelWindow &w : std::as_const(m_windows)) {
        if (w.id == window)
            return w.title;
    }
    return {};
}

QString FakeWindowSystem::windowClassName(WindowId window)
{
    for (const TopLevelWindow &w : std::as_const(m_windows)) {
        if (w.id == window)
            return w.className;
    }
    return {};
}

bool FakeWindowSystem::forceForeground(WindowId window, int timeoutMs)
{
    Q_UNUSED(timeoutMs)
    m_activations.append(window);
    if (windowTitle(window).isEmpty())
        return false;
    m_stacking.removeOne(window);
    m_stacking.append(window);
    m_foreground = window;
    return true;
}

void FakeWindowSystem::addWindow(WindowId id, const QString &className, const QString &title)
{
    m_windows.append({id, className, title});
    m_stacking.append(id);
}

void FakeWindowSystem::removeWindow(WindowId id)
{
    m_windows.removeIf([id](const TopLevelWindow &w) { return w.id == id; });
    m_stacking.removeOne(id);
    if (m_foreground == id)
        m_foreground = 0;
}

void FakeWindowSystem::setTitle(WindowId id, const QString &title)
{
    for (TopLevelWindow &w : m_windows) {
        if (w.id == id)
            w.title = title;
    }
}
