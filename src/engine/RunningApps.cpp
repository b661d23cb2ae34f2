#include "RunningApps.h"

#include "data/ListBox.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

constexpr QChar kBrokenBar(0x00A6);
constexpr int kWindowPollMs = 20;

} // namespace

RunningApps::RunningApps(WindowSystem &windows, int activationTimeoutMs)
    : m_windows(windows), m_activationTimeoutMs(activationTimeoutMs)
{}

qint32 RunningApps::FillRunningApps(ListBox &list)
{
    list.clear();
    for (const TopLevelWindow &window : m_windows.topLevelWindows())
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
    const WindowId exact = m_windows.findWindow(className, title);
    if (exact || m_matching == WindowMatching::ExactTitle)
        return exact;
    return m_windows.findWindowOfClass(className);
}

WindowId RunningApps::waitForWindowOfClass(const QString &className, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (const WindowId window = m_windows.findWindowOfClass(className))
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
