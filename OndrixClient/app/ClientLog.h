#pragma once

#include <QLoggingCategory>

// The client's diagnostics, silent unless QT_LOGGING_RULES switches them on:
// "ondrix.storage" for data files refused or not written, "ondrix.client"
// for lost connections and the recoveries from them.
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
Q_DECLARE_LOGGING_CATEGORY(lcClient)
