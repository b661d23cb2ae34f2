#include "WindowsLog.h"

Q_LOGGING_CATEGORY(lcWindows, "jev.windows", QtWarningMsg)
