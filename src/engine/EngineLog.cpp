#include "EngineLog.h"

Q_LOGGING_CATEGORY(lcEngine, "jev.engine", QtWarningMsg)
