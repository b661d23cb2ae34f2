#pragma once

#include "platform/KeyAction.h"

#include <QString>

// Key actions as text tests can compare: actions separated by " | " ("Alt+f | o"), the strokes of
// one action by blanks, named keys in angle brackets ("Shift+<Tab> Shift+<Tab>").
QString keyActionText(const QList<KeyAction> &actions);
