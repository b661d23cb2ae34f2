#pragma once

#include <QList>

// The keys the keystroke notation names, besides the characters.
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

// One key typed: a character (whatever keys the keyboard layout needs for it) or a named key,
// with the modifiers held down while it is typed.
struct KeyStroke
{
    enum Modifier : unsigned
    {
        NoModifier = 0,
        Shift = 1,
        Ctrl = 2,
        Alt = 4
    };

    char32_t character = 0;
    NamedKey key = NamedKey::NoKey;
    unsigned modifiers = NoModifier;

    bool operator==(const KeyStroke &) const = default;
};

// What the keystroke sender executes: strokes typed while their common modifiers stay down (a
// single key, or a group or repeat together with the modifiers written before it). Between
// actions every modifier is released, so "%f%o" presses Alt twice while "%(fo)" holds it once.
struct KeyAction
{
    QList<KeyStroke> strokes;

    bool operator==(const KeyAction &) const = default;
};
