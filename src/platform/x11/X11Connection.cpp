#include "X11Connection.h"

#include <X11/Xlib.h>
#include <atomic>

namespace {

std::atomic<unsigned long> g_errorCount{0};

// Windows come and go while the program looks at them; an error about one must not end the
// program, as Xlib's default handler would.
int countError(Display *, XErrorEvent *)
{
    ++g_errorCount;
    return 0;
}

} // namespace

X11Connection::X11Connection(const QString &displayName) : m_displayName(displayName) {}

X11Connection::~X11Connection()
{
    if (m_display)
        XCloseDisplay(m_display);
}

Display *X11Connection::display()
{
    if (m_tried)
        return m_display;
    m_tried = true;
    const QByteArray name = m_displayName.toLocal8Bit();
    if (m_displayName.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY")) {
        m_reason = QStringLiteral("No X display: DISPLAY is not set.");
        return nullptr;
    }
    XInitThreads();
    m_display = XOpenDisplay(m_displayName.isEmpty() ? nullptr : name.constData());
    if (!m_display) {
        m_reason =
            QStringLiteral("The X display %1 cannot be opened.")
                .arg(m_displayName.isEmpty() ? qEnvironmentVariable("DISPLAY") : m_displayName);
        return nullptr;
    }
    XSetErrorHandler(countError);
    return m_display;
}

XWindow X11Connection::root()
{
    Display *d = display();
    return d ? DefaultRootWindow(d) : 0;
}

Atom X11Connection::atom(const char *name)
{
    const QByteArray key(name);
    if (const auto it = m_atoms.constFind(key); it != m_atoms.constEnd())
        return *it;
    Display *d = display();
    if (!d)
        return 0;
    const Atom value = XInternAtom(d, name, False);
    m_atoms.insert(key, value);
    return value;
}

unsigned long X11Connection::errorCount()
{
    return g_errorCount;
}

X11Connection::ErrorTrap::ErrorTrap(X11Connection &connection)
    : m_connection(connection), m_errorsBefore(g_errorCount)
{}

X11Connection::ErrorTrap::~ErrorTrap() = default;

bool X11Connection::ErrorTrap::failed()
{
    if (Display *d = m_connection.display())
        XSync(d, False);
    return g_errorCount != m_errorsBefore;
}
