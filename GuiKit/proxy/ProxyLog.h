#pragma once

#include <QLoggingCategory>

// The network proxy's diagnostics (servers not reached, time-outs, broken
// and wrong answers): silent unless QT_LOGGING_RULES switches
// "ondrix.proxy" on.
Q_DECLARE_LOGGING_CATEGORY(lcProxy)
