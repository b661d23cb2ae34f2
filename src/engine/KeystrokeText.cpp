#include "KeystrokeText.h"

#include "platform/KeystrokeParser.h"
#include "platform/KeystrokeSender.h"

bool sendKeystrokeText(KeystrokeSender &sender, const QString &text, QString *error)
{
    const KeystrokeParser::Result parsed = KeystrokeParser::parse(text);
    if (parsed.error.isEmpty())
        return sender.send(parsed.actions, error);
    if (error)
        *error = QStringLiteral("Bad keystrokes: ") + parsed.error;
    return false;
}
