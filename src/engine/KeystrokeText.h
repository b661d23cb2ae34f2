#pragma once

#include <QString>

class KeystrokeSender;

// Sends keystroke notation ("^a", "%fo", "{ENTER}") to the window in front. The text is read
// whole first: malformed text sends nothing, and the error says why.
bool sendKeystrokeText(KeystrokeSender &sender, const QString &text, QString *error = nullptr);
