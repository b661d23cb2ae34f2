#pragma once

#include "platform/KeyAction.h"

#include <QString>

// Reads keystroke text into the key actions it types. The notation: "+" Shift, "^" Ctrl, "%" Alt
// for the next key or "( )" group; "~" Enter; "{NAME}" a named key or a single character,
// "{NAME n}" that key n times; "{+}", "{(}", "{{}", "{}}" and the like type the character itself.
// Everything else is typed as it is. Pure: no keyboard, no display.
class KeystrokeParser
{
public:
    struct Result
    {
        QList<KeyAction> actions;
        QString error; // empty when the text is well formed; actions is then empty too
    };

    // The highest repeat count "{NAME n}" accepts.
    static constexpr int maxRepeat = 1000;

    static Result parse(const QString &text);
    // The key for a name written in braces ("enter", "PGDN", "F5"), NoKey when there is none.
    static NamedKey namedKey(const QString &name);
};
