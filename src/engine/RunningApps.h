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
    explicit RunningApps(WindowSystem &windows, int activationTimeoutMs = 500);

    WindowSystem &windowSystem() { return m_windows; }

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
    WindowSystem &m_windows;
    int m_activationTimeoutMs;
    QHash<QString, WindowId> m_colRunningApps; // keys case-folded
};
