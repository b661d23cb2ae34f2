#pragma once

#include <QList>
#include <QString>

// Reads keystroke text into the keys it types. The notation: "+" Shift, "^" Ctrl, "%" Alt for the
// next key or "( )" group; "~" Enter; "{NAME}" a named key or a single character, "{NAME n}" that
// key n times; "{+}", "{(}", "{{}", "{}}" and the like type the character itself. Everything else
// is typed as it is. Pure: no keyboard, no display.
class KeystrokeParser
{
public:
    enum class NamedKey
    {
        NoKey,
        Enter,
        Tab,
        Escape,
        Backspace,
        Delete,
        Insert,
        Home,
        End,
        PageUp,
        PageDown,
        Up,
        Down,
        Left,
        Right,
        F1,
        F2,
        F3,
        F4,
        F5,
        F6,
        F7,
        F8,
        F9,
        F10,
        F11,
        F12,
        F13,
        F14,
        F15,
        F16,
        CapsLock,
        NumLock,
        ScrollLock,
        Break,
        PrintScreen,
        Help,
        Add,
        Subtract,
        Multiply,
        Divide,
    };

    enum Modifier : unsigned
    {
        NoModifier = 0,
        Shift = 1,
        Ctrl = 2,
        Alt = 4
    };

    // One key typed: a character (whatever keys the keyboard layout needs for it) or a named key,
    // with the modifiers held down while it is typed.
    struct Stroke
    {
        char32_t character = 0;
        NamedKey key = NamedKey::NoKey;
        unsigned modifiers = NoModifier;

        bool operator==(const Stroke &) const = default;
    };
    // Strokes typed while their common modifiers stay down: a single key, or a group or repeat
    // together with the modifiers written before it. Between chords every modifier is released,
    // so "%f%o" presses Alt twice while "%(fo)" holds it once.
    using Chord = QList<Stroke>;

    struct Result
    {
        QList<Chord> chords;
        QString error; // empty when the text is well formed; chords is then empty too
    };

    // The highest repeat count "{NAME n}" accepts.
    static constexpr int maxRepeat = 1000;

    static Result parse(const QString &text);
    // The key for a name written in braces ("enter", "PGDN", "F5"), NoKey when there is none.
    static NamedKey namedKey(const QString &name);
};
