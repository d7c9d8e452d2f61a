#pragma once

#include <QLoggingCategory>

// The driver's diagnostics (links opened and dropped, resyncs, failed
// writes and downloads): silent unless QT_LOGGING_RULES switches
// "ondrix.driver" on.
Q_DECLARE_LOGGING_CATEGORY(lcDriver)
