#include "X11WindowSystem.h"

#include "X11Connection.h"

#include <QDeadlineTimer>
#include <QThread>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int kPollMs = 5;
constexpr long kWmStateNormal = 1;
constexpr long kWmStateIconic = 3;

// One property of a window as raw items; empty when absent.
QByteArray property(Display *d, Window w, Atom name, Atom type, int *format = nullptr,
                    unsigned long *items = nullptr)
{
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    QByteArray bytes;
    if (XGetWindowProperty(d, w, name, 0, 1 << 16, False, type, &actualType, &actualFormat, &count,
                           &after, &data) == Success &&
        data && actualType != 0) {
        // Xlib hands 32-bit items back as longs.
        const int itemSize = actualFormat == 32 ? int(sizeof(long)) : actualFormat / 8;
        bytes = QByteArray(reinterpret_cast<const char *>(data), qsizetype(count) * itemSize);
        if (format)
            *format = actualFormat;
        if (items)
            *items = count;
    }
    if (data)
        XFree(data);
    return bytes;
}

QList<WindowId> windowsOf(const QByteArray &bytes)
{
    QList<WindowId> ids;
    const auto *values = reinterpret_cast<const unsigned long *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size() / qsizetype(sizeof(long)); ++i)
        ids.append(values[i]);
    return ids;
}

} // namespace

X11WindowSystem::X11WindowSystem(X11Connection &connection) : m_connection(connection) {}

bool X11WindowSystem::isAvailable(QString *reason)
{
    if (m_connection.display())
        return true;
    if (reason)
        *reason = m_connection.reason();
    return false;
}

bool X11WindowSystem::hasWindowManager()
{
    Display *d = m_connection.display();
    const QList<WindowId> check = windowsOf(
        property(d, m_connection.root(), m_connection.atom("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW));
    return !check.isEmpty();
}

QList<WindowId> X11WindowSystem::candidateWindows(bool managed, Order order)
{
    Display *d = m_connection.display();
    if (managed) {
        const char *list =
            order == Order::Stacking ? "_NET_CLIENT_LIST_STACKING" : "_NET_CLIENT_LIST";
        return windowsOf(property(d, m_connection.root(), m_connection.atom(list), XA_WINDOW));
    }
    // The root's children come bottom to top, which is both orders without a window manager.
    QList<WindowId> ids;
    Window rootReturn = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, m_connection.root(), &rootReturn, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            ids.append(children[i]);
    }
    if (children)
        XFree(children);
    return ids;
}

bool X11WindowSystem::isListed(WindowId window, bool managed)
{
    Display *d = m_connection.display();
    Window owner = 0;
    if (XGetTransientForHint(d, window, &owner))
        return false; // an owned dialog belongs to its application's main window
    if (!managed) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(d, window, &attributes) && attributes.map_state == IsViewable &&
               !attributes.override_redirect;
    }
    const Atom wmState = m_connection.atom("WM_STATE");
    const QByteArray state = property(d, window, wmState, wmState);
    if (state.size() < qsizetype(sizeof(long)))
        return false;
    const long value = *reinterpret_cast<const long *>(state.constData());
    return value == kWmStateNormal || value == kWmStateIconic;
}

QList<TopLevelWindow> X11WindowSystem::topLevelWindows(Order order)
{
    QList<TopLevelWindow> windows;
    if (!m_connection.display())
        return windows;
    const bool managed = hasWindowManager();
    for (WindowId id : candidateWindows(managed, order)) {
        if (!isListed(id, managed))
            continue;
        const QString title = windowTitle(id);
        if (!title.isEmpty())
            windows.append({id, windowClassName(id), title});
    }
    return windows;
}

QString X11WindowSystem::windowTitle(WindowId window)
{
    Display *d = m_connection.display();
    if (!d || !window)
        return {};
    const QByteArray utf8 =
        property(d, window, m_connection.atom("_NET_WM_NAME"), m_connection.atom("UTF8_STRING"));
    if (!utf8.isEmpty())
        return QString::fromUtf8(utf8);
    XTextProperty text{};
    QString title;
    if (XGetWMName(d, window, &text) && text.value) {
        char **list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(d, &text, &list, &count) >= Success && list && count > 0)
            title = QString::fromUtf8(list[0]);
        if (list)
            XFreeStringList(list);
        XFree(text.value);
    }
    return title;
}

QString X11WindowSystem::windowClassName(WindowId window)
{
    Display *d = m_connection.display();
    if (!d || !window)
        return {};
    XClassHint hint{};
    QString name;
    if (XGetClassHint(d, window, &hint)) {
        name = QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return name;
}

WindowId X11WindowSystem::activeWindow()
{
    Display *d = m_connection.display();
    const QList<WindowId> active = windowsOf(
        property(d, m_connection.root(), m_connection.atom("_NET_ACTIVE_WINDOW"), XA_WINDOW));
    return active.isEmpty() ? 0 : active.first();
}

WindowId X11WindowSystem::foregroundWindow()
{
    Display *d = m_connection.display();
    if (!d)
        return 0;
    if (hasWindowManager())
        return activeWindow();
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

bool X11WindowSystem::forceForeground(WindowId window, int timeoutMs)
{
    Display *d = m_connection.display();
    if (!d || !window)
        return false;
    if (foregroundWindow() == window)
        return true;
    X11Connection::ErrorTrap trap(m_connection);
    if (!hasWindowManager()) {
        XMapRaised(d, window);
        XSetInputFocus(d, window, RevertToParent, CurrentTime);
        return !trap.failed() && foregroundWindow() == window;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = m_connection.atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager: the window manager does not second-guess it
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, m_connection.root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    if (trap.failed())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    do {
        if (activeWindow() == window)
            return true;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return activeWindow() == window;
}
