#include "DataLog.h"

Q_LOGGING_CATEGORY(lcData, "jev.data", QtWarningMsg)
