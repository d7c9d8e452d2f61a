#pragma once

#include "baseline/CBaseline.h"

#include <QByteArray>
#include <QByteArrayView>

// A baseline's bytes, as its file holds them. Little-endian:
//   header: "ORZBAS" (6 bytes), format version (u16)
//   then one frame, framed and checked as a recording's frames are
//   (CRecordingFrames: sync B7 1D E4 8A, kind FRAME_KIND (u8), payload
//   length (u32), payload, CRC-32 (u32) of kind, length and payload),
//   whose payload is:
//     site (u16 byte count, UTF-8), capture start (i64, milliseconds since
//     1970 UTC), capture length (i64, seconds), device (u16 byte count,
//     UTF-8), band count (u16), then per band: band (i32), name (u16 byte
//     count, UTF-8), median, 95th percentile and maximum (f64 each, dBm),
//     samples (i64)
// and nothing after it. Pure: bytes in, fields out. Bytes of any other
// form are refused whole, never read in part: a baseline compared in part
// would flag what it should not.
class CBaselineCodec
{
public:
    static constexpr quint16 VERSION = 1;
    static constexpr quint8 FRAME_KIND = 0x42;
    // Far beyond the detector's 31 bands, and all of them fit a frame.
    static constexpr int MAX_BANDS = 64;
    static constexpr int MAX_NAME_CHARS = 64;

    enum Status {
        Ok,
        NotABaseline, // no header of a baseline
        Newer,        // written by a later version
        Damaged,      // cut, failed its check, or fields out of their bounds
        Empty         // whole, but of no samples
    };

    static QByteArray Encode(const CBaseline& baseline);
    // On Ok fills baseline; otherwise leaves it as it was.
    static Status Decode(QByteArrayView bytes, CBaseline& baseline);

private:
    static bool DecodePayload(QByteArrayView payload, CBaseline& baseline);
    static bool IsSound(const BAND_BASELINE& band);
};
