#pragma once

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <memory>

// A private X server with a window manager for one test: Xvfb on a free display (-displayfd),
// openbox on it, and the key-logging target windows the test starts. The process's DISPLAY
// points at it while the session lives; everything is stopped when it ends.
class XvfbSession
{
public:
    XvfbSession() = default;
    ~XvfbSession();
    XvfbSession(const XvfbSession &) = delete;
    XvfbSession &operator=(const XvfbSession &) = delete;

    // False, with what to install or what went wrong. Without a window manager only Xvfb runs.
    bool start(QString *error, bool withWindowManager = true, const QString &screen = "1280x800");
    QString displayName() const { return m_display; }

    // Starts a target window with this class and title logging to logPath, and waits until the
    // window manager lists it. Null, with the reason, when it does not appear.
    QProcess *startTarget(const QString &className, const QString &title, const QString &logPath,
                          const QStringList &extraArgs = {}, QString *error = nullptr);
    // Waits until a window with this title is listed by the window manager (without one: mapped
    // on the root).
    bool waitForTitle(const QString &title, int timeoutMs = 5000);
    // The X window id of the listed window with this title, 0 when there is none.
    quint64 windowWithTitle(const QString &title);
    // The listed windows (see waitForTitle) with their titles.
    QList<std::pair<quint64, QString>> listedWindows();
    // The window the window manager has in front (_NET_ACTIVE_WINDOW), 0 when there is none.
    quint64 activeWindow();

    // The client area of a listed window in screen coordinates; empty when there is none.
    QRect clientGeometry(quint64 window);
    // Real pointer events through XTest: the pointer moves to `to` in `steps` steps (a drag
    // sees the way), the left button goes down or up where the pointer is.
    bool movePointer(const QPoint &to, int steps = 1);
    bool setButton(bool down);
    // A click, returned once the program under the pointer has it: the window manager holds a
    // press on a client window until it has looked at it (click to focus), while keys sent after
    // it go straight to the window in front and would overtake it.
    bool click(const QPoint &at);
    // A program has started a drag: it owns the XDND selection.
    bool dragStarted();

    // Key lines of a target's log: "<combination>\t<text>", without the time stamps.
    static QStringList keysLogged(const QString &logPath);
    static QString targetBinary();
    // Writes an executable script that starts such a target window, as a record's path would.
    static bool writeTargetScript(const QString &path, const QString &className,
                                  const QString &title, const QString &logPath);

private:
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_openbox;
    QList<QProcess *> m_targets;
    QString m_display;
    bool m_managed = true;
    QByteArray m_oldDisplay;
};
