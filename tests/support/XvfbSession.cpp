#include "XvfbSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// A connection of its own for one query; X errors (a window that went away) are ignored meanwhile.
class Connection
{
public:
    explicit Connection(const QString &display)
        : m_display(XOpenDisplay(display.toLatin1().constData())),
          m_oldHandler(XSetErrorHandler(ignoreErrors))
    {}
    ~Connection()
    {
        if (m_display)
            XCloseDisplay(m_display);
        XSetErrorHandler(m_oldHandler);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    operator Display *() const { return m_display; }

private:
    Display *m_display;
    XErrorHandler m_oldHandler;
};

// A property's items as bytes: an 8-bit item takes one byte, a 32-bit one a long.
QByteArray property(Display *d, Window w, const char *name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 4096, False, type, &actualType,
                           &format, &count, &after, &data) != Success ||
        !data)
        return {};
    const QByteArray bytes(reinterpret_cast<const char *>(data),
                           qsizetype(count) * qsizetype(format == 32 ? sizeof(long) : 1));
    XFree(data);
    return bytes;
}

// Reads a window-valued property list of the root window.
QList<Window> windowList(Display *d, const char *name)
{
    const QByteArray bytes = property(d, DefaultRootWindow(d), name, XA_WINDOW);
    const auto *ids = reinterpret_cast<const unsigned long *>(bytes.constData());
    return QList<Window>(ids, ids + bytes.size() / qsizetype(sizeof(long)));
}

// openbox announces itself before it has finished starting, and a window mapped meanwhile can be
// left unmanaged for good: a window of our own is mapped, again if need be, until it is managed.
bool managesNewWindows(Display *d, const QDeadlineTimer &deadline)
{
    const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XStoreName(d, probe, "session probe");
    bool listed = false;
    while (!listed && !deadline.hasExpired()) {
        XMapWindow(d, probe);
        XFlush(d);
        for (int i = 0; i < 10 && !listed; ++i) {
            QThread::msleep(20);
            listed = windowList(d, "_NET_CLIENT_LIST").contains(probe);
        }
    }
    XDestroyWindow(d, probe);
    XSync(d, False);
    while (listed && windowList(d, "_NET_CLIENT_LIST").contains(probe) && !deadline.hasExpired())
        QThread::msleep(20);
    return listed;
}

} // namespace

XvfbSession::~XvfbSession()
{
    for (QProcess *target : std::as_const(m_targets)) {
        target->kill();
        target->waitForFinished(2000);
        delete target;
    }
    for (QProcess *p : {m_openbox.get(), m_xvfb.get()}) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(2000))
                p->kill(), p->waitForFinished(2000);
        }
    }
    if (!m_display.isEmpty()) {
        if (m_oldDisplay.isEmpty())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", m_oldDisplay);
    }
}

bool XvfbSession::start(QString *error, bool withWindowManager, const QString &screen)
{
    m_managed = withWindowManager;
    for (const char *tool : {"Xvfb", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *error = QStringLiteral("%1 is missing: install the packages xvfb and openbox "
                                    "(./test.sh installs them)")
                         .arg(QString::fromLatin1(tool));
            return false;
        }
    }
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb->start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen + "x24",
                                           "-nolisten", "tcp", "-noreset"});
    QDeadlineTimer deadline(10000);
    while (!m_xvfb->canReadLine() && !deadline.hasExpired() &&
           m_xvfb->state() != QProcess::NotRunning)
        m_xvfb->waitForReadyRead(100);
    const QByteArray number = m_xvfb->readLine().trimmed();
    if (number.isEmpty()) {
        *error = QStringLiteral("Xvfb did not start: ") +
                 QString::fromLocal8Bit(m_xvfb->readAllStandardError());
        return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    m_oldDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", m_display.toLatin1());

    if (!withWindowManager)
        return true;
    m_openbox = std::make_unique<QProcess>();
    m_openbox->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_openbox->setStandardOutputFile(QProcess::nullDevice());
    m_openbox->start(QStringLiteral("openbox"), {"--sm-disable"});
    const Connection d(m_display);
    if (!d) {
        *error = QStringLiteral("cannot connect to Xvfb on ") + m_display;
        return false;
    }
    bool managed = false;
    while (!managed && !deadline.hasExpired()) {
        managed = !windowList(d, "_NET_SUPPORTING_WM_CHECK").isEmpty();
        if (!managed)
            QThread::msleep(20);
    }
    managed = managed && managesNewWindows(d, deadline);
    if (!managed)
        *error = QStringLiteral("openbox did not take over the display");
    return managed;
}

QProcess *XvfbSession::startTarget(const QString &className, const QString &title,
                                   const QString &logPath, const QStringList &extraArgs,
                                   QString *error)
{
    auto *target = new QProcess;
    m_targets.append(target);
    target->setProcessChannelMode(QProcess::ForwardedChannels);
    const QStringList args =
        QStringList{"--class", className, "--title", title, "--log", logPath} + extraArgs;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("XDG_SESSION_TYPE"));
    target->setProcessEnvironment(env);
    target->start(targetBinary(), args);
    if (!target->waitForStarted(5000) || !waitForTitle(title, 30000)) {
        QStringList listed;
        for (const auto &[window, listedTitle] : listedWindows())
            listed.append(QStringLiteral("0x%1 \"%2\"").arg(window, 0, 16).arg(listedTitle));
        if (error)
            *error = QStringLiteral("the target window \"%1\" did not appear (target %2, exit "
                                    "code %3; listed: %4)")
                         .arg(title)
                         .arg(target->state() == QProcess::Running ? "running" : "not running")
                         .arg(target->exitCode())
                         .arg(listed.join(QStringLiteral(", ")));
        return nullptr;
    }
    return target;
}

QList<std::pair<quint64, QString>> XvfbSession::listedWindows()
{
    QList<std::pair<quint64, QString>> listed;
    const Connection d(m_display);
    if (!d)
        return listed;
    QList<Window> windows;
    if (m_managed) {
        windows = windowList(d, "_NET_CLIENT_LIST");
    } else {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(d, XDefaultRootWindow(d), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count; ++i) {
                XWindowAttributes a;
                if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable)
                    windows.append(children[i]);
            }
        }
        if (children)
            XFree(children);
    }
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    for (Window w : std::as_const(windows))
        listed.append({w, QString::fromUtf8(property(d, w, "_NET_WM_NAME", utf8))});
    return listed;
}

quint64 XvfbSession::windowWithTitle(const QString &title)
{
    for (const auto &[window, listedTitle] : listedWindows()) {
        if (listedTitle == title)
            return window;
    }
    return 0;
}

quint64 XvfbSession::activeWindow()
{
    const Connection d(m_display);
    return d ? windowList(d, "_NET_ACTIVE_WINDOW").value(0, 0) : 0;
}

bool XvfbSession::waitForTitle(const QString &title, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (windowWithTitle(title))
            return true;
        QThread::msleep(20);
    }
    return false;
}

QStringList XvfbSession::keysLogged(const QString &logPath)
{
    QFile log(logPath);
    QStringList keys;
    if (!log.open(QIODevice::ReadOnly))
        return keys;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (!line.isEmpty())
            keys.append(QString::fromUtf8(line).section(QLatin1Char('\t'), 1));
    }
    return keys;
}

QString XvfbSession::targetBinary()
{
    return QStringLiteral(JEV_KEYLOG_TARGET);
}

bool XvfbSession::writeTargetScript(const QString &path, const QString &className,
                                    const QString &title, const QString &logPath)
{
    QFile script(path);
    return script.open(QIODevice::WriteOnly) &&
           script.write("#!/bin/sh\nexec '" + targetBinary().toUtf8() + "' --class '" +
                        className.toUtf8() + "' --title '" + title.toUtf8() + "' --log '" +
                        logPath.toUtf8() + "'\n") > 0 &&
           script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

QRect XvfbSession::clientGeometry(quint64 window)
{
    const Connection d(m_display);
    if (!d)
        return {};
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    QRect geometry;
    if (XGetGeometry(d, window, &root, &x, &y, &width, &height, &border, &depth) &&
        XTranslateCoordinates(d, window, root, 0, 0, &x, &y, &child))
        geometry = QRect(x, y, int(width), int(height));
    return geometry;
}

bool XvfbSession::movePointer(const QPoint &to, int steps)
{
    const Connection d(m_display);
    if (!d)
        return false;
    Window root = 0, child = 0;
    int x = 0, y = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    XQueryPointer(d, XDefaultRootWindow(d), &root, &child, &x, &y, &winX, &winY, &mask);
    for (int i = 1; i <= steps; ++i) {
        XTestFakeMotionEvent(d, -1, x + (to.x() - x) * i / steps, y + (to.y() - y) * i / steps,
                             CurrentTime);
        XSync(d, False);
    }
    return true;
}

bool XvfbSession::setButton(bool down)
{
    const Connection d(m_display);
    if (d) {
        XTestFakeButtonEvent(d, 1, down ? True : False, CurrentTime);
        XSync(d, False);
    }
    return d;
}

bool XvfbSession::click(const QPoint &at)
{
    if (!movePointer(at) || !setButton(true) || !setButton(false))
        return false;
    const Connection d(m_display);
    if (!d)
        return false;
    // The pointer can be grabbed once no one holds it: the window manager has passed the press
    // on and the program's own grab ended with the release.
    QDeadlineTimer deadline(5000);
    while (XGrabPointer(d, XDefaultRootWindow(d), False, 0, GrabModeAsync, GrabModeAsync, None,
                        None, CurrentTime) != GrabSuccess) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    XUngrabPointer(d, CurrentTime);
    XSync(d, False);
    return true;
}

bool XvfbSession::dragStarted()
{
    const Connection d(m_display);
    return d && XGetSelectionOwner(d, XInternAtom(d, "XdndSelection", False)) != None;
}
