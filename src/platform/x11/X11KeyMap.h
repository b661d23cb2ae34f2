#pragma once

#include "platform/KeyAction.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <optional>

class X11Connection;
struct _XkbDesc;

// Which key types a keysym (a character, a named key) on the keyboard layout in use: the current
// XKB group, with or without Shift, taking locked modifiers (Caps Lock) into account. A keysym
// that no key types that way is bound to a spare keycode (one without any symbol), which stays
// bound until this object ends: unbinding while the window in front may still be translating a
// key press loses the key.
class X11KeyMap
{
public:
    struct Key
    {
        unsigned char keycode = 0;
        bool shift = false;
    };

    explicit X11KeyMap(X11Connection &connection);
    ~X11KeyMap();
    X11KeyMap(const X11KeyMap &) = delete;
    X11KeyMap &operator=(const X11KeyMap &) = delete;

    // Reads the current group and locked modifiers, and the key map again when it has changed.
    // False when the server has no XKB.
    bool refresh();

    // The key typing keysym on the layout, else a spare keycode bound to it. Keycodes in `keep`
    // are not taken back from earlier bindings. Empty when every spare keycode is in `keep`.
    std::optional<Key> keyFor(unsigned long keysym, const QSet<unsigned char> &keep);
    // The same for a stroke's character or named key (its modifiers aside).
    std::optional<Key> keyFor(const KeyStroke &stroke, const QSet<unsigned char> &keep);
    // The key of a keysym on the layout only.
    std::optional<Key> find(unsigned long keysym) const;

private:
    void loadMap();
    void buildTable();
    std::optional<Key> bindSpare(unsigned long keysym, const QSet<unsigned char> &keep);

    X11Connection &m_connection;
    _XkbDesc *m_xkb = nullptr;
    int m_eventBase = -1;
    bool m_mapChanged = true;
    int m_group = -1;
    unsigned m_lockedModifiers = ~0u;
    QHash<unsigned long, Key> m_keys;
    // Keycodes this object bound, oldest use first, and what each types.
    QList<unsigned char> m_bound;
    QHash<unsigned char, unsigned long> m_boundKeysym;
    QList<unsigned char> m_spare;
};
