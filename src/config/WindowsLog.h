#pragma once

#include <QLoggingCategory>

// Errors the windows drop on purpose, when nobody is left to be shown them:
// QT_LOGGING_RULES="jev.windows.debug=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcWindows)
