#pragma once

#include "RZ450Layout.h"

#include <QtGlobal>

// One live or log record in the compact form the driver keeps; converted to
// CRecord only when a caller asks for it.
struct RAW_RECORD_SLOT
{
    // As a log entry in use is marked.
    static constexpr quint8 MARKER = RZ450Layout::Log::MARKER;

    quint8 marker = 0;
    quint8 band = 0;
    quint8 level = 0;     // raw, dBm = value - DBM_OFFSET
    quint8 threshold = 0; // raw, dBm = value - DBM_OFFSET
    quint8 month = 0;     // from 1
    quint8 day = 0;       // from 1
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 second = 0;
    quint16 duration = 0;
    qint32 stamp = 0; // only its remainder modulo 86400 (time of day) counts
    quint16 index = 0;
};
