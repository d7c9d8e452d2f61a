#pragma once

#include "alerts/ALERT.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The alert log's bytes, kept with the recordings and only ever appended
// to, so that a crash loses no more than the entry being written.
// Little-endian:
//   header: "ORZALR" (6 bytes), format version (u16)
//   then one frame per entry, framed and checked as a recording's frames
//   are (CRecordingFrames), of kind FRAME_KIND, whose payload is:
//     entry (u8: 1 started, 2 ended, 3 acknowledged), sequence (u64),
//     detector (u16 byte count, UTF-8), band (i32), band name (u16 + UTF-8),
//     started and ended (i64 each, ms since 1970 UTC; ended 0 while it
//     lasts), level and peak (i32 each, dBm), over the baseline (u8),
//     acknowledged by (u16 + UTF-8), acknowledged at (i64 ms)
// A damaged frame loses that entry only: the others are read on past it.
// Pure: bytes in, entries out.
class CAlertLogCodec
{
public:
    static constexpr quint16 VERSION = 1;
    static constexpr quint8 FRAME_KIND = 0x41;

    enum Entry : quint8 { Started = 1, Ended = 2, Acknowledged = 3 };

    struct ENTRY
    {
        Entry entry = Started;
        ALERT alert;
    };

    struct CONTENTS
    {
        bool ok = false; // an alert log of this version, whatever its damage
        QList<ENTRY> entries;
        int damagedPlaces = 0;
    };

    static QByteArray Header();
    static QByteArray Encode(const ENTRY& entry);
    static CONTENTS Decode(QByteArrayView bytes);

private:
    static bool DecodeEntry(QByteArrayView payload, ENTRY& entry);
};
