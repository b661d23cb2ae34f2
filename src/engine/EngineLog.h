#pragma once

#include <QLoggingCategory>

// Decisions and dropped errors of the voice command engine:
// QT_LOGGING_RULES="jev.engine.debug=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
