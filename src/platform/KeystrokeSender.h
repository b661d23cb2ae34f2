#pragma once

#include "platform/KeyAction.h"

#include <QString>

// Types key actions into the window in front and returns once that window has processed them.
// Actions that cannot be typed whole are not typed at all: false, with the reason.
class KeystrokeSender
{
public:
    virtual ~KeystrokeSender() = default;

    virtual bool send(const QList<KeyAction> &actions, QString *error = nullptr) = 0;
};
