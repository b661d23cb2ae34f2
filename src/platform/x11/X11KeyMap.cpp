#include "X11KeyMap.h"

#include "X11Connection.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

namespace {

KeySym namedKeysym(NamedKey key)
{
    switch (key) {
    case NamedKey::NoKey:
        break;
    case NamedKey::Enter:
        return XK_Return;
    case NamedKey::Tab:
        return XK_Tab;
    case NamedKey::Escape:
        return XK_Escape;
    case NamedKey::Backspace:
        return XK_BackSpace;
    case NamedKey::Delete:
        return XK_Delete;
    case NamedKey::Insert:
        return XK_Insert;
    case NamedKey::Home:
        return XK_Home;
    case NamedKey::End:
        return XK_End;
    case NamedKey::PageUp:
        return XK_Prior;
    case NamedKey::PageDown:
        return XK_Next;
    case NamedKey::Up:
        return XK_Up;
    case NamedKey::Down:
        return XK_Down;
    case NamedKey::Left:
        return XK_Left;
    case NamedKey::Right:
        return XK_Right;
    case NamedKey::F1:
    case NamedKey::F2:
    case NamedKey::F3:
    case NamedKey::F4:
    case NamedKey::F5:
    case NamedKey::F6:
    case NamedKey::F7:
    case NamedKey::F8:
    case NamedKey::F9:
    case NamedKey::F10:
    case NamedKey::F11:
    case NamedKey::F12:
    case NamedKey::F13:
    case NamedKey::F14:
    case NamedKey::F15:
    case NamedKey::F16:
        return XK_F1 + (int(key) - int(NamedKey::F1));
    case NamedKey::CapsLock:
        return XK_Caps_Lock;
    case NamedKey::NumLock:
        return XK_Num_Lock;
    case NamedKey::ScrollLock:
        return XK_Scroll_Lock;
    case NamedKey::Break:
        return XK_Break;
    case NamedKey::PrintScreen:
        return XK_Print;
    case NamedKey::Help:
        return XK_Help;
    case NamedKey::Add:
        return XK_KP_Add;
    case NamedKey::Subtract:
        return XK_KP_Subtract;
    case NamedKey::Multiply:
        return XK_KP_Multiply;
    case NamedKey::Divide:
        return XK_KP_Divide;
    }
    return NoSymbol;
}

// Unicode keysyms (0x01000000 + code point) for characters that also have an older keysym: a
// layout may use either.
KeySym unicodeKeysym(char32_t c)
{
    return 0x01000000 | c;
}

} // namespace

X11KeyMap::X11KeyMap(X11Connection &connection) : m_connection(connection) {}

X11KeyMap::~X11KeyMap()
{
    Display *d = m_bound.isEmpty() ? nullptr : m_connection.display();
    if (d) {
        // The keys typed through them have been processed by now: give the keycodes back.
        KeySym none[2] = {NoSymbol, NoSymbol};
        for (unsigned char keycode : std::as_const(m_bound))
            XChangeKeyboardMapping(d, keycode, 2, none, 1);
        XSync(d, False);
    }
    if (m_xkb)
        XkbFreeKeyboard(m_xkb, 0, True);
}

bool X11KeyMap::refresh()
{
    Display *d = m_connection.display();
    if (!d)
        return false;
    if (m_eventBase < 0) {
        int opcode = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (!XkbQueryExtension(d, &opcode, &m_eventBase, &errorBase, &major, &minor)) {
            m_eventBase = -1;
            return false;
        }
        // Told about layout changes instead of reading the whole map before every text.
        const unsigned long mask = XkbMapNotifyMask | XkbNewKeyboardNotifyMask;
        XkbSelectEvents(d, XkbUseCoreKbd, mask, mask);
    }
    XEvent event;
    while (XCheckTypedEvent(d, m_eventBase, &event))
        m_mapChanged = true;
    while (XCheckTypedEvent(d, MappingNotify, &event)) {
        XRefreshKeyboardMapping(&event.xmapping);
        m_mapChanged = true;
    }
    if (m_mapChanged)
        loadMap();

    XkbStateRec state{};
    XkbGetState(d, XkbUseCoreKbd, &state);
    if (m_mapChanged || state.group != m_group || state.locked_mods != m_lockedModifiers) {
        m_group = state.group;
        m_lockedModifiers = state.locked_mods;
        buildTable();
    }
    m_mapChanged = false;
    return m_xkb != nullptr;
}

void X11KeyMap::loadMap()
{
    if (m_xkb)
        XkbFreeKeyboard(m_xkb, 0, True);
    m_xkb = XkbGetMap(m_connection.display(), XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    m_spare.clear();
    if (!m_xkb)
        return;
    for (int keycode = m_xkb->min_key_code; keycode <= m_xkb->max_key_code; ++keycode) {
        if (XkbKeyNumSyms(m_xkb, keycode) == 0)
            m_spare.append(keycode);
    }
}

void X11KeyMap::buildTable()
{
    m_keys.clear();
    if (!m_xkb)
        return;
    // Unshifted first, so a keysym that two keys type comes from the one that needs no Shift.
    for (const unsigned extra : {0u, unsigned(ShiftMask)}) {
        for (int keycode = m_xkb->min_key_code; keycode <= m_xkb->max_key_code; ++keycode) {
            unsigned consumed = 0;
            KeySym keysym = NoSymbol;
            const unsigned state = XkbBuildCoreState(m_lockedModifiers | extra, m_group);
            if (!XkbTranslateKeyCode(m_xkb, keycode, state, &consumed, &keysym) ||
                keysym == NoSymbol || m_keys.contains(keysym))
                continue;
            m_keys.insert(keysym, Key{static_cast<unsigned char>(keycode), extra != 0});
        }
    }
}

std::optional<X11KeyMap::Key> X11KeyMap::find(unsigned long keysym) const
{
    if (const auto it = m_keys.constFind(keysym); it != m_keys.constEnd())
        return *it;
    return std::nullopt;
}

std::optional<X11KeyMap::Key> X11KeyMap::keyFor(unsigned long keysym,
                                                const QSet<unsigned char> &keep)
{
    std::optional<Key> key = find(keysym);
    if (!key)
        return bindSpare(keysym, keep);
    if (m_boundKeysym.contains(key->keycode)) {
        // Most recently used last: the oldest binding is the one taken back when none is free.
        m_bound.removeOne(key->keycode);
        m_bound.append(key->keycode);
    }
    return key;
}

std::optional<X11KeyMap::Key> X11KeyMap::keyFor(const KeyStroke &stroke,
                                                const QSet<unsigned char> &keep)
{
    if (stroke.key != NamedKey::NoKey)
        return keyFor(namedKeysym(stroke.key), keep);
    // A character that has both a Unicode and an older keysym may be on the layout under either.
    if (std::optional<Key> key = find(unicodeKeysym(stroke.character)))
        return key;
    const KeySym keysym = xkb_utf32_to_keysym(stroke.character);
    return keyFor(keysym != NoSymbol ? keysym : unicodeKeysym(stroke.character), keep);
}

std::optional<X11KeyMap::Key> X11KeyMap::bindSpare(unsigned long keysym,
                                                   const QSet<unsigned char> &keep)
{
    unsigned char keycode = 0;
    for (unsigned char spare : std::as_const(m_spare)) {
        if (!m_boundKeysym.contains(spare)) {
            keycode = spare;
            break;
        }
    }
    if (!keycode) {
        // All spare keycodes are bound: rebind the one used longest ago, unless the text being
        // sent needs it.
        for (unsigned char bound : std::as_const(m_bound)) {
            if (!keep.contains(bound)) {
                keycode = bound;
                break;
            }
        }
        if (!keycode)
            return std::nullopt;
        m_keys.remove(m_boundKeysym.value(keycode));
        m_bound.removeOne(keycode);
    }
    // Both levels, so Shift held for the text around it does not change what it types.
    KeySym symbols[2] = {keysym, keysym};
    XChangeKeyboardMapping(m_connection.display(), keycode, 2, symbols, 1);
    m_bound.append(keycode);
    m_boundKeysym.insert(keycode, keysym);
    const Key key{keycode, false};
    m_keys.insert(keysym, key);
    return key;
}
