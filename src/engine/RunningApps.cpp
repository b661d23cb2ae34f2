#include "RunningApps.h"

#include "data/Cp1252Codec.h"
#include "data/ListBox.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

constexpr QChar kBrokenBar(0x00A6);
constexpr int kWindowPollMs = 20;
constexpr int kNameLimit = 255; // the data files keep class names and titles to 255 characters

} // namespace

RunningApps::RunningApps(WindowSystem &windows, int activationTimeoutMs)
    : m_windows(windows), m_activationTimeoutMs(activationTimeoutMs)
{}

QString RunningApps::storedText(const QString &text)
{
    return Cp1252Codec::normalize(text.left(kNameLimit));
}

QList<TopLevelWindow> RunningApps::windows(WindowSystem::Order order)
{
    QList<TopLevelWindow> windows = m_windows.topLevelWindows(order);
    for (TopLevelWindow &window : windows) {
        window.className = storedText(window.className);
        window.title = storedText(window.title);
    }
    return windows;
}

QString RunningApps::windowClassName(WindowId window)
{
    return storedText(m_windows.windowClassName(window));
}

QString RunningApps::windowTitle(WindowId window)
{
    return storedText(m_windows.windowTitle(window));
}

qint32 RunningApps::FillRunningApps(ListBox &list)
{
    list.clear();
    for (const TopLevelWindow &window : windows())
        EnumWindowsProc(window, list);
    return list.count();
}

bool RunningApps::EnumWindowsProc(const TopLevelWindow &window, ListBox &list)
{
    if (window.title.isEmpty())
        return true;
    const QString entry = entryText(window.className, window.title);
    list.addItem(entry);
    AddRunningApp(window.id, entry);
    return true;
}

void RunningApps::AddRunningApp(WindowId lnghWnd, const QString &sAppText)
{
    const QString key = sAppText.toCaseFolded();
    if (!m_colRunningApps.contains(key))
        m_colRunningApps.insert(key, lnghWnd);
}

WindowId RunningApps::RunningAppWindow(const QString &sAppText) const
{
    return m_colRunningApps.value(sAppText.toCaseFolded(), 0);
}

bool RunningApps::ForceForeground(WindowId lnghWnd)
{
    return lnghWnd != 0 && m_windows.forceForeground(lnghWnd, m_activationTimeoutMs);
}

WindowId RunningApps::findApplicationWindow(const QString &className, const QString &title)
{
    const WindowId exact = findWindow(className, title);
    if (exact || m_matching == WindowMatching::ExactTitle)
        return exact;
    return findWindowOfClass(className);
}

WindowId RunningApps::findWindow(const QString &className, const QString &title)
{
    for (const TopLevelWindow &window : windows()) {
        if (window.className == className && window.title == title)
            return window.id;
    }
    return 0;
}

WindowId RunningApps::findWindowOfClass(const QString &className)
{
    const QList<TopLevelWindow> bottomToTop = windows(WindowSystem::Order::Stacking);
    for (auto window = bottomToTop.crbegin(); window != bottomToTop.crend(); ++window) {
        if (window->className == className && !window->title.isEmpty())
            return window->id;
    }
    return 0;
}

WindowId RunningApps::waitForWindowOfClass(const QString &className, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (const WindowId window = findWindowOfClass(className))
            return window;
        if (deadline.hasExpired())
            return 0;
        QThread::msleep(qMin<qint64>(kWindowPollMs, deadline.remainingTime()));
    }
}

bool RunningApps::ListFindExact(const ListBox &list, const QString &text)
{
    return list.findExact(text) >= 0;
}

QString RunningApps::entryText(const QString &className, const QString &title)
{
    return className + QLatin1Char(' ') + kBrokenBar + QLatin1Char(' ') + title;
}

std::pair<QString, QString> RunningApps::splitEntry(const QString &entry)
{
    const qsizetype bar = entry.indexOf(kBrokenBar);
    if (bar < 0)
        return {};
    return {entry.left(qMax<qsizetype>(bar - 1, 0)), entry.mid(bar + 2)};
}
