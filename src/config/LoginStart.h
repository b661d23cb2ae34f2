#pragma once

#include <QString>

// Starting the program when the user logs in: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/jev.desktop (~/.config/autostart/jev.desktop), that every desktop
// following the XDG rules reads at login. There is none until the user asks for it.
class LoginStart
{
public:
    static QString entryPath();
    static bool isEnabled();
    // Writes the entry (whole, or not at all) to start this program as it runs now, or removes
    // it. False, with the reason, when that cannot be done.
    static bool setEnabled(bool enabled, QString *error);
    // The entry's text for a program at this path.
    static QByteArray entryText(const QString &programPath);
};
