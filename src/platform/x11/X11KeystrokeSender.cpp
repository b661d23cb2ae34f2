#include "X11KeystrokeSender.h"

#include "X11Connection.h"
#include "X11KeyMap.h"

#include <QDeadlineTimer>
#include <QThread>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <array>
#include <poll.h>

namespace {

struct Press
{
    unsigned char keycode;
    unsigned modifiers;
};
// The presses of each action, in order.
using Plan = QList<QList<Press>>;

struct ModifierKey
{
    unsigned modifier;
    KeySym keysym;
    KeyCode keycode;
};
// Pressed in this order, released in the reverse one.
using ModifierKeys = std::array<ModifierKey, 3>;

// Every key looked up (and spare keycodes bound) before the first is pressed, so actions that
// cannot be typed whole are not typed at all. Empty when the spare keycodes run out.
std::optional<Plan> planPresses(X11KeyMap &keyMap, const QList<KeyAction> &actions)
{
    Plan plan;
    QSet<unsigned char> used;
    for (const KeyAction &action : actions) {
        QList<Press> presses;
        for (const KeyStroke &stroke : action.strokes) {
            const std::optional<X11KeyMap::Key> key = keyMap.keyFor(stroke, used);
            if (!key)
                return std::nullopt;
            used.insert(key->keycode);
            presses.append(Press{key->keycode, stroke.modifiers |
                                                   (key->shift ? unsigned(KeyStroke::Shift) : 0u)});
        }
        plan.append(presses);
    }
    return plan;
}

bool needsModifier(const Plan &plan, unsigned modifier)
{
    return std::any_of(plan.cbegin(), plan.cend(), [&](const QList<Press> &presses) {
        return std::any_of(presses.cbegin(), presses.cend(),
                           [&](const Press &p) { return p.modifiers & modifier; });
    });
}

// Presses each key with its modifiers down; a modifier stays down while the next key of the
// same action needs it too, and every one is released at the end of an action.
void typePlan(Display *d, const Plan &plan, const ModifierKeys &modifierKeys)
{
    for (const QList<Press> &presses : plan) {
        unsigned held = 0;
        for (const Press &press : presses) {
            for (auto m = modifierKeys.crbegin(); m != modifierKeys.crend(); ++m) {
                if ((held & m->modifier) && !(press.modifiers & m->modifier))
                    XTestFakeKeyEvent(d, m->keycode, False, CurrentTime);
            }
            for (const ModifierKey &m : modifierKeys) {
                if (!(held & m.modifier) && (press.modifiers & m.modifier))
                    XTestFakeKeyEvent(d, m.keycode, True, CurrentTime);
            }
            held = press.modifiers;
            XTestFakeKeyEvent(d, press.keycode, True, CurrentTime);
            XTestFakeKeyEvent(d, press.keycode, False, CurrentTime);
        }
        for (auto m = modifierKeys.crbegin(); m != modifierKeys.crend(); ++m) {
            if (held & m->modifier)
                XTestFakeKeyEvent(d, m->keycode, False, CurrentTime);
        }
    }
}

struct PingReply
{
    Atom protocols;
    Atom ping;
    Window root;
    long firstStamp;
    long lastStamp;
};

// A _NET_WM_PING answer to one of our pings with a stamp in [firstStamp, lastStamp].
Bool isPingReply(Display *, XEvent *event, XPointer arg)
{
    const auto *want = reinterpret_cast<const PingReply *>(arg);
    if (event->type != ClientMessage)
        return False;
    const XClientMessageEvent &m = event->xclient;
    return m.window == want->root && m.message_type == want->protocols && m.format == 32 &&
           Atom(m.data.l[0]) == want->ping && m.data.l[1] >= want->firstStamp &&
           m.data.l[1] <= want->lastStamp;
}

// Events that reach us only because we listened on the root window while waiting for pings: its
// structure events and every ping answer.
Bool cameThroughPingWait(Display *, XEvent *event, XPointer arg)
{
    const auto *want = reinterpret_cast<const PingReply *>(arg);
    switch (event->type) {
    case CreateNotify:
    case DestroyNotify:
    case UnmapNotify:
    case MapNotify:
    case ReparentNotify:
    case ConfigureNotify:
    case GravityNotify:
    case CirculateNotify:
        return event->xany.window == want->root;
    case ClientMessage:
        return event->xclient.window == want->root &&
               event->xclient.message_type == want->protocols &&
               Atom(event->xclient.data.l[0]) == want->ping;
    default:
        return False;
    }
}

// Stamps of our pings stay clear of the server times other clients put in theirs for a long
// while (and below 2^31: Xlib sign-extends 32-bit message data).
constexpr long firstPingStamp = 0x7e000000;
// Between the answer to the first ping and the second. Measured with a Qt window: without it
// about one text in 25 came back before its keys were handled, with it none in several hundred.
constexpr unsigned long pingGapUs = 1000;

} // namespace

X11KeystrokeSender::X11KeystrokeSender(X11Connection &connection)
    : m_connection(connection), m_keyMap(std::make_unique<X11KeyMap>(connection)),
      m_pingStamp(firstPingStamp)
{}

X11KeystrokeSender::~X11KeystrokeSender() = default;

bool X11KeystrokeSender::send(const QList<KeyAction> &actions, QString *error)
{
    QString ignored;
    QString &message = error ? *error : ignored;
    message.clear();
    if (!canType(message))
        return false;
    const std::optional<Plan> plan = planPresses(*m_keyMap, actions);
    if (!plan) {
        message = QStringLiteral("Keystrokes cannot be sent: no free keycode is left for all the "
                                 "characters to type.");
        return false;
    }
    Display *d = m_connection.display();
    ModifierKeys modifierKeys{{{KeyStroke::Shift, XK_Shift_L, 0},
                               {KeyStroke::Ctrl, XK_Control_L, 0},
                               {KeyStroke::Alt, XK_Alt_L, 0}}};
    for (ModifierKey &m : modifierKeys) {
        m.keycode = XKeysymToKeycode(d, m.keysym);
        if (!m.keycode && needsModifier(*plan, m.modifier)) {
            message = QStringLiteral("Keystrokes cannot be sent: the keyboard map has no %1 key.")
                          .arg(QString::fromLatin1(XKeysymToString(m.keysym)));
            return false;
        }
    }
    typePlan(d, *plan, modifierKeys);
    waitUntilProcessed();
    return true;
}

bool X11KeystrokeSender::canType(QString &message)
{
    Display *d = m_connection.display();
    if (!d) {
        message = QStringLiteral("Keystrokes cannot be sent: ") + m_connection.reason();
        return false;
    }
    if (!m_checkedXTest) {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        m_hasXTest = XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor);
        m_checkedXTest = true;
    }
    if (!m_hasXTest) {
        message = QStringLiteral("Keystrokes cannot be sent: the X server has no XTEST extension.");
        return false;
    }
    if (!m_keyMap->refresh()) {
        message = QStringLiteral("Keystrokes cannot be sent: the X server has no keyboard map "
                                 "(XKB).");
        return false;
    }
    return true;
}

void X11KeystrokeSender::waitUntilProcessed()
{
    Display *d = m_connection.display();
    XSync(d, False); // the server has delivered the keys
    const Window window = windowInFront();
    if (!window || !answersPing(window))
        return;

    // Answers to pings go to the root window: Qt sends them for StructureNotify listeners, GTK
    // and others for SubstructureNotify ones.
    const Window root = m_connection.root();
    XWindowAttributes attributes{};
    XGetWindowAttributes(d, root, &attributes);
    const long listening = StructureNotifyMask | SubstructureNotifyMask;
    const long missing = listening & ~attributes.your_event_mask;
    if (missing)
        XSelectInput(d, root, attributes.your_event_mask | listening);

    // The window answers the first ping when it reads it, possibly in the same pass as the keys
    // before them and before it handled those; the second is read only in a later pass. Qt keeps
    // reading while events arrive and hands the keys on only when the pass ends, so a second
    // ping sent the moment the first is answered can join that pass: give the pass time to end.
    if (ping(window)) {
        QThread::usleep(pingGapUs);
        ping(window);
    }

    PingReply ours{m_connection.atom("WM_PROTOCOLS"), m_connection.atom("_NET_WM_PING"), root,
                   firstPingStamp, long(m_pingStamp)};
    XEvent event;
    if (missing)
        XSelectInput(d, root, attributes.your_event_mask);
    if (missing == listening) {
        // Nobody else on this connection listens there: drop what came in while we did.
        XSync(d, False);
        while (XCheckIfEvent(d, &event, cameThroughPingWait, reinterpret_cast<XPointer>(&ours)))
            ;
    } else {
        while (XCheckIfEvent(d, &event, isPingReply, reinterpret_cast<XPointer>(&ours)))
            ;
    }
}

unsigned long X11KeystrokeSender::windowInFront()
{
    Display *d = m_connection.display();
    Window window = 0;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(d, m_connection.root(), m_connection.atom("_NET_ACTIVE_WINDOW"), 0, 1,
                           False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        window = *reinterpret_cast<const unsigned long *>(data);
    if (data)
        XFree(data);
    if (!window) {
        int revert = 0;
        XGetInputFocus(d, &window, &revert);
        if (window == PointerRoot)
            window = 0;
    }
    return window;
}

bool X11KeystrokeSender::answersPing(unsigned long window)
{
    Display *d = m_connection.display();
    X11Connection::ErrorTrap trap(m_connection); // the window may be gone already
    Atom *protocols = nullptr;
    int count = 0;
    bool found = false;
    if (XGetWMProtocols(d, window, &protocols, &count)) {
        const Atom ping = m_connection.atom("_NET_WM_PING");
        found = std::find(protocols, protocols + count, ping) != protocols + count;
        XFree(protocols);
    }
    return !trap.failed() && found;
}

bool X11KeystrokeSender::ping(unsigned long window)
{
    Display *d = m_connection.display();
    const Window root = m_connection.root();
    const long stamp = long(++m_pingStamp);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = m_connection.atom("WM_PROTOCOLS");
    message.xclient.format = 32;
    message.xclient.data.l[0] = long(m_connection.atom("_NET_WM_PING"));
    message.xclient.data.l[1] = stamp;
    message.xclient.data.l[2] = long(window);
    XSendEvent(d, window, False, NoEventMask, &message);
    XFlush(d);

    PingReply reply{m_connection.atom("WM_PROTOCOLS"), m_connection.atom("_NET_WM_PING"), root,
                    stamp, stamp};
    QDeadlineTimer deadline(m_pingTimeoutMs);
    XEvent event;
    while (!XCheckIfEvent(d, &event, isPingReply, reinterpret_cast<XPointer>(&reply))) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        poll(&fd, 1, int(left));
    }
    return true;
}
