#pragma once

#include <QString>
#include <functional>

// A key combination that reaches this program whichever window has the keyboard focus.
class GlobalShortcut
{
public:
    virtual ~GlobalShortcut() = default;

    // Takes the combination, written as Qt writes key sequences ("Ctrl+Alt+Space": the
    // modifiers Ctrl, Alt, Shift, Meta and one key), in place of any earlier one; onPressed runs
    // on the user-interface thread each time it is pressed (holding it down counts once). False,
    // with a message for the user, when the text names no key of this keyboard or another
    // program already holds the combination.
    virtual bool grab(const QString &keys, std::function<void()> onPressed, QString *error) = 0;
    // Gives the combination back; harmless when none is held.
    virtual void release() = 0;
};
