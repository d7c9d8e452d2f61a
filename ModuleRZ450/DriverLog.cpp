#include "DriverLog.h"

// Critical and above only by default, and the driver logs nothing critical.
Q_LOGGING_CATEGORY(lcDriver, "ondrix.driver", QtCriticalMsg)
