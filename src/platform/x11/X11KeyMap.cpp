#include "X11KeyMap.h"

#include "X11Connection.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

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
