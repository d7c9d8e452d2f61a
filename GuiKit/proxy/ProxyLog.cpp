#include "proxy/ProxyLog.h"

// Critical and above only by default, and the proxy logs nothing critical.
Q_LOGGING_CATEGORY(lcProxy, "ondrix.proxy", QtCriticalMsg)
