#pragma once

#include <QLoggingCategory>

// Records the data classes pass over on purpose (an unreadable record left out of the grammar):
// QT_LOGGING_RULES="jev.data.debug=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcData)
