#pragma once

#include "platform/WindowSystem.h"

#include <QHash>
#include <QString>
#include <utility>

class ListBox;

// The running applications: lists the desktop's top-level windows as entries
// "class ¦ title" and remembers the window of every entry it has seen (colRunningApps). The table
// is shared by everything that dispatches phrases; it only grows, and the first window seen for an
// entry stays, even after that window closed.
class RunningApps
{
public:
    // How a record finds its window. A record names a window by class and title as they were
    // when it was added, but most programs change their title while they are used (a modified
    // document, another page), so by default a window of the record's class stands in for it.
    enum class WindowMatching
    {
        ClassFallback,
        ExactTitle
    };

    explicit RunningApps(WindowSystem &windows, int activationTimeoutMs = 500);

    WindowSystem &windowSystem() { return m_windows; }

    // Class names and titles of the desktop's windows as the data files hold them (Windows-1252,
    // at most 255 characters), so that they compare equal to the entries stored there.
    QList<TopLevelWindow> windows(WindowSystem::Order order = WindowSystem::Order::Listing);
    QString windowClassName(WindowId window);
    QString windowTitle(WindowId window);

    WindowMatching windowMatching() const { return m_matching; }
    void setWindowMatching(WindowMatching matching) { m_matching = matching; }
    // The window with exactly this class and title; failing that, unless titles must match
    // exactly, the window of this class raised last. 0 when there is none.
    WindowId findApplicationWindow(const QString &className, const QString &title);
    // Waits up to timeoutMs for a window of this class to be listed (a program just started
    // maps its window a moment later); 0 when none came.
    WindowId waitForWindowOfClass(const QString &className, int timeoutMs);
    // How long a phrase said right after a program was started by its name waits for the
    // program's window.
    int startWaitMs() const { return m_startWaitMs; }
    void setStartWaitMs(int milliseconds) { m_startWaitMs = milliseconds; }

    // Clears the list and fills it with the entries of the running applications; returns their
    // number.
    qint32 FillRunningApps(ListBox &list);
    bool EnumWindowsProc(const TopLevelWindow &window, ListBox &list);
    void AddRunningApp(WindowId lnghWnd, const QString &sAppText);
    // 0 when no window was seen for the entry (compared without regard to case).
    WindowId RunningAppWindow(const QString &sAppText) const;
    bool ForceForeground(WindowId lnghWnd);
    static bool ListFindExact(const ListBox &list, const QString &text);

    // "class ¦ title", and back: the class is the text before the first broken bar less its last
    // character, the title the text from the second character after it.
    static QString entryText(const QString &className, const QString &title);
    static std::pair<QString, QString> splitEntry(const QString &entry);

private:
    static QString storedText(const QString &text);
    WindowId findWindow(const QString &className, const QString &title);
    // The window of this class raised last; 0 when there is none.
    WindowId findWindowOfClass(const QString &className);

    WindowSystem &m_windows;
    int m_activationTimeoutMs;
    WindowMatching m_matching = WindowMatching::ClassFallback;
    int m_startWaitMs = 3000;
    QHash<QString, WindowId> m_colRunningApps; // keys case-folded
};
