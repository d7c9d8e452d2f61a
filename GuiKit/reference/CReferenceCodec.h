#pragma once

#include "GuiKitExport.h"
#include "reference/CSpectrumReference.h"

#include <QByteArray>
#include <QByteArrayView>

// A spectrum reference's bytes, as its file holds them. Little-endian:
//   "ORZREF" (6 bytes), format version (u16, 1)
//   name (u16 byte count, UTF-8), site (u16 byte count, UTF-8): each a
//     valid site name (CSiteFolder::IsValidName), at most MAX_TEXT_BYTES
//   saved (i64, milliseconds since 1970 UTC)
//   trace (u8, CSpectrumReference::Trace)
//   range start, range end (i32 each, MHz; end above start)
//   point count (u16, 1 .. MAX_POINTS)
//   levels (f32 each, dBm, finite), one per point
//   CRC-32 (u32, Crc32.h) of every byte before it
// and nothing after it. Levels are f32: an average trace's fractions of a
// dB stay as they were seen. Pure: bytes in, fields out; bytes of any other
// form are refused whole.
class GUIKIT_EXPORT CReferenceCodec
{
public:
    static constexpr quint16 VERSION = 1;
    // A name of CSiteFolder::MAX_NAME characters of four UTF-8 bytes each.
    static constexpr int MAX_TEXT_BYTES = 256;

    enum Status {
        Ok,
        NotAReference, // no header of a reference
        OtherVersion,  // a format this program does not read
        Damaged        // cut, trailing bytes, failed its check or fields out of bounds
    };

    // The reference must be sound (CSpectrumReference::IsSound).
    static QByteArray Encode(const CSpectrumReference& reference);
    // On Ok fills reference; otherwise leaves it as it was.
    static Status Decode(QByteArrayView bytes, CSpectrumReference& reference);

private:
    static bool DecodeFields(QByteArrayView fields, CSpectrumReference& reference);
};
