#include "X11GlobalShortcut.h"

#include <QHash>
#include <QSocketNotifier>
#include <QStringList>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Caps Lock and Num Lock change the state a key is pressed in, not what the user meant.
constexpr unsigned int kLockMasks[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

unsigned int modifierMask(const QString &name)
{
    static const QHash<QString, unsigned int> masks{
        {QStringLiteral("ctrl"), ControlMask}, {QStringLiteral("control"), ControlMask},
        {QStringLiteral("alt"), Mod1Mask},     {QStringLiteral("shift"), ShiftMask},
        {QStringLiteral("meta"), Mod4Mask},    {QStringLiteral("super"), Mod4Mask}};
    return masks.value(name.toLower(), 0);
}

// Qt's names of keys where X11's differ; the others are the same in either case ("F5", "a").
KeySym keysymOf(const QString &name)
{
    static const QHash<QString, QString> qtToX11{
        {QStringLiteral("esc"), QStringLiteral("Escape")},
        {QStringLiteral("del"), QStringLiteral("Delete")},
        {QStringLiteral("ins"), QStringLiteral("Insert")},
        {QStringLiteral("pgup"), QStringLiteral("Prior")},
        {QStringLiteral("pgdown"), QStringLiteral("Next")},
        {QStringLiteral("backspace"), QStringLiteral("BackSpace")},
        {QStringLiteral("enter"), QStringLiteral("KP_Enter")},
        {QStringLiteral("print"), QStringLiteral("Print")}};
    const QString x11Name = qtToX11.value(name.toLower(), name);
    for (const QString &candidate : {x11Name, x11Name.toLower()}) {
        const KeySym keysym = XStringToKeysym(candidate.toLatin1().constData());
        if (keysym != NoSymbol)
            return keysym;
    }
    return NoSymbol;
}

} // namespace

X11GlobalShortcut::X11GlobalShortcut(const QString &displayName) : m_connection(displayName) {}

X11GlobalShortcut::~X11GlobalShortcut()
{
    release();
}

std::optional<X11GlobalShortcut::Combination> X11GlobalShortcut::parse(const QString &keys)
{
    QStringList parts = keys.trimmed().split(QLatin1Char('+'));
    // "Ctrl++" ends in the plus key itself.
    if (parts.size() >= 2 && parts.last().isEmpty() && parts.at(parts.size() - 2).isEmpty()) {
        parts.removeLast();
        parts.last() = QStringLiteral("plus");
    }
    Combination combination;
    const QString key = parts.takeLast().trimmed();
    for (const QString &part : std::as_const(parts)) {
        const unsigned int mask = modifierMask(part.trimmed());
        if (!mask)
            return std::nullopt;
        combination.modifiers |= mask;
    }
    combination.keysym = key.isEmpty() ? NoSymbol : keysymOf(key);
    if (combination.keysym == NoSymbol)
        return std::nullopt;
    return combination;
}

bool X11GlobalShortcut::grab(const QString &keys, std::function<void()> onPressed, QString *error)
{
    release();
    const std::optional<Combination> combination = parse(keys);
    Display *d = m_connection.display();
    if (!combination) {
        *error =
            QStringLiteral("\"%1\" is no key combination: write it like Ctrl+Alt+Space.").arg(keys);
        return false;
    }
    if (!d) {
        *error = m_connection.reason() + QStringLiteral(" The listening key does not work.");
        return false;
    }
    m_keycode = XKeysymToKeycode(d, combination->keysym);
    if (!m_keycode) {
        *error = QStringLiteral("The listening key %1 is not on this keyboard.").arg(keys);
        return false;
    }
    m_modifiers = combination->modifiers;
    X11Connection::ErrorTrap trap(m_connection);
    setGrabbed(true);
    if (trap.failed()) {
        setGrabbed(false);
        m_keycode = 0;
        *error = QStringLiteral("Another program already uses %1. Close it or choose another "
                                "listening key in the sound meter window.")
                     .arg(keys);
        return false;
    }
    // Held down, the key repeats as presses alone, which count once.
    XkbSetDetectableAutoRepeat(d, True, nullptr);
    m_onPressed = std::move(onPressed);
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(d), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    return true;
}

void X11GlobalShortcut::setGrabbed(bool grabbed)
{
    Display *d = m_connection.display();
    for (const unsigned int locks : kLockMasks) {
        if (grabbed)
            XGrabKey(d, m_keycode, m_modifiers | locks, m_connection.root(), False, GrabModeAsync,
                     GrabModeAsync);
        else
            XUngrabKey(d, m_keycode, m_modifiers | locks, m_connection.root());
    }
    XFlush(d);
}

void X11GlobalShortcut::release()
{
    m_notifier.reset();
    if (m_keycode && m_connection.display())
        setGrabbed(false);
    m_keycode = 0;
    m_held = false;
    m_onPressed = nullptr;
}

void X11GlobalShortcut::readEvents()
{
    Display *d = m_connection.display();
    while (XPending(d)) {
        XEvent event;
        XNextEvent(d, &event);
        if (event.type != KeyPress && event.type != KeyRelease)
            continue;
        if (int(event.xkey.keycode) != m_keycode)
            continue;
        if (event.type == KeyRelease) {
            m_held = false;
        } else if (!m_held) {
            m_held = true;
            if (m_onPressed)
                m_onPressed();
        }
    }
}
