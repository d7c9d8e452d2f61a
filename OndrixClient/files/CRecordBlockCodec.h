#pragma once

#include "CRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The payload of a block of records: what a line rate of records repeats
// is written once. Every integer is a variable-length one (seven bits a
// byte, low first; signed ones zigzag):
//   record count, then per record
//   flags (u8): which fields repeat the previous record's (SAME_...), and
//           WHOLE_LEVELS when every level is an integer
//   time: the difference to the previous record's (signed)
//   band (signed), unless SAME_BAND
//   name, unless SAME_NAME: its index among the block's names; the next
//           index brings a new one, byte count and UTF-8
//   duration (signed), unless SAME_DURATION
//   value (f64), unless SAME_VALUE
//   value count, unless SAME_COUNT
//   per value: level (signed with WHOLE_LEVELS, else f64), threshold (f64)
//           unless SAME_THRESHOLDS, param1 and param2 (signed) unless
//           SAME_PARAMS
// The first record of a block follows a record of zeros and no name, so
// that each block decodes on its own. Doubles repeat only bit for bit, so
// that every double (NaN and -0 too) comes back as it was.
class CRecordBlockCodec
{
public:
    enum Flag : quint8 {
        SAME_BAND = 0x01,
        SAME_NAME = 0x02,
        SAME_DURATION = 0x04,
        SAME_VALUE = 0x08,
        SAME_COUNT = 0x10,
        SAME_THRESHOLDS = 0x20,
        SAME_PARAMS = 0x40,
        WHOLE_LEVELS = 0x80
    };

    // Payloads of the records in their order, none longer than maxPayload.
    static QList<QByteArray> Encode(const QList<CRecord>& records, qsizetype maxPayload);
    // Appends the block's records; false, with nothing appended, for a
    // payload without its form.
    static bool Decode(QByteArrayView payload, QList<CRecord>& records);
    // The same walk keeping the times and bands only.
    static bool Scan(QByteArrayView payload, QList<quint64>& times, int& firstBand, bool& severalBands);

private:
    template <bool Full, typename Take>
    static bool Walk(QByteArrayView payload, Take take);
};
