#pragma once

#include "alerts/ALERT.h"

#include <QByteArray>

// An alert as one line of JSON, for scripts and mail relays reading
// `ondrixctl watch`: {"event": "start"|"end", "sequence", "detector",
// "band", "band_name", "condition": "alarm"|"baseline", "started" (ISO 8601
// UTC, ms), "level_dbm", "peak_dbm", and at the end "ended" and
// "duration_s"}. One line, no line breaks inside, ending in '\n'.
class CAlertJson
{
public:
    static QByteArray Line(const ALERT& alert);
};
