#include "app/ClientLog.h"

// Critical and above only by default, and the client logs nothing critical.
Q_LOGGING_CATEGORY(lcStorage, "ondrix.storage", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcClient, "ondrix.client", QtCriticalMsg)
