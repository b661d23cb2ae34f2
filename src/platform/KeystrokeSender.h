#pragma once

#include <QString>

// Sends keystroke text ("^a", "%fo", "{ENTER}", "+(abc)") to the window in front and returns once
// the window has processed them. Malformed text sends nothing and returns false with the reason.
class KeystrokeSender
{
public:
    virtual ~KeystrokeSender() = default;

    virtual bool sendKeys(const QString &keys, QString *error = nullptr) = 0;
};
