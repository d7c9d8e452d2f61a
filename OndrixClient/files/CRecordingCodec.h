#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"
#include "files/NOTE.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The live recording: what the detector sends while it is live, appended to
// a file as it arrives, so that a crash or a power cut loses no more than
// the last unflushed moment.
//
// The file is a header and then frames, nothing else; every integer is
// little-endian.
//   header: "ORZREC" (6 bytes), format version (u16)
//   frame:  the sync marker B7 1D E4 8A, kind (u8), payload length (u32),
//           payload, CRC-32 (u32) of the kind, length and payload bytes
//   kind 1, a live record: time (u64, seconds since 1970 UTC), band (i32),
//           duration (i32), value (f64), band name (u16 byte count, UTF-8),
//           value count (u16), then per value level (f64), threshold (f64),
//           param1 (i32), param2 (i32)
//   kind 2, a sweep of the scan band: time (u64), range start and end (MHz),
//           signal frequency (MHz), lowest level (dBm), signal level (dBm),
//           noise level (dBm), signal number (seven i32), then its points,
//           one byte each (1 to MAX_SPECTRUM_POINTS of them)
//   kind 3, the device the records come from: its ID as UTF-8, the type a
//           data file made of the recording carries
//   kind 4, a block of records, as CRecordBlockCodec describes it: a line
//           rate of records costs a few bytes each instead of a frame each.
//           A block decodes on its own, so reading can start at any block.
//   kind 5, a gap, records the program knows it lost: from and to (u64
//           times), records missed (i64, -1 unknown), reason (u8, GapReason)
//   kind 6, the summary that closes a recording: first and last record time
//           (u64), records and sweeps (i64), automatic (u8), damaged bytes
//           (i64), damaged places (i32), gaps (i32). A fixed size, so that
//           the end of the file alone tells what it holds.
//   kind 7, a note the operator took: time (u64, milliseconds since 1970
//           UTC), text (u16 byte count, UTF-8), as CNoteCodec describes it
// Frames are only ever appended, so a file cut at any byte still reads up
// to its last whole frame. A frame that fails its check, its form or its
// length limit is damage: reading goes on at the next sync marker where a
// whole frame checks out, and the damage is reported with where and how
// much it was. Unknown frame kinds of the same version are skipped, so
// that a later program may add kinds; a later version is refused whole.
//
// Version 1 files are still read: their frames are the same without the
// sync marker, and only of kinds 1 to 3. Past damage in them, reading
// goes on at the next byte where a frame of a known kind checks out.
class CRecordingCodec
{
public:
    static constexpr quint16 VERSION = 2;
    static constexpr int HEADER_SIZE = 8;
    static constexpr int MAX_SPECTRUM_POINTS = SPECTRUM_SWEEP::MAX_POINTS;
    // Far beyond any honest frame: a longer one is taken for damage.
    static constexpr quint32 MAX_PAYLOAD = 64 * 1024;

    enum Kind : quint8 {
        KIND_RECORD = 1,
        KIND_SPECTRUM = 2,
        KIND_DEVICE = 3, // the last kind version 1 knew
        KIND_RECORD_BLOCK = 4,
        KIND_GAP = 5,
        KIND_SUMMARY = 6,
        KIND_NOTE = 7
    };

    enum Status {
        Whole,   // every byte belongs to a whole frame
        Cut,     // ends inside a frame (a crash while writing)
        Damaged, // a frame failed its check or its own form
        Newer,   // written by a later version: nothing read
        NotARecording
    };

    enum GapReason : quint8 { UnknownReason = 0, RingOverrun = 1, ConnectionLost = 2, DiskFull = 3 };

    struct GAP
    {
        quint64 from = 0;
        quint64 to = 0;
        qint64 missed = -1; // -1: unknown
        quint8 reason = UnknownReason;
    };

    struct SUMMARY
    {
        quint64 first = 0, last = 0;
        qint64 records = 0, sweeps = 0;
        bool automatic = false;
        qint64 damagedBytes = 0;
        int damagedPlaces = 0;
        int gaps = 0;
    };

    // Bytes skipped as damage, from the start of the bytes decoded.
    struct DAMAGE
    {
        qint64 offset = 0;
        qint64 bytes = 0;
    };

    struct CONTENTS
    {
        Status status = NotARecording;
        QList<CRecord> records;
        QList<SPECTRUM_SWEEP> sweeps;
        QList<qsizetype> sweepPlaces; // per sweep, the records before it
        QList<GAP> gaps;
        QList<qsizetype> gapPlaces; // per gap, the records before it
        QList<NOTE> notes;
        QList<DAMAGE> damage;
        QString device;
        // The whole frames' end (or where a cut one starts): where
        // appending may go on, and where the next piece of a file starts.
        qint64 validBytes = 0;
    };

    // The same frames reduced to what a replay is scheduled by: the time of
    // each record and of each sweep, and their order. Whatever would end a
    // decoding ends a scan at the same byte, and the damage is the same.
    struct TIMES
    {
        Status status = NotARecording;
        QList<quint64> records;
        QList<quint64> sweeps;
        QList<qsizetype> sweepPlaces;
        QList<DAMAGE> damage;
        QList<NOTE> notes; // few: a replay keeps them all
        int gaps = 0;
        QString device;
        qint64 validBytes = 0;
        bool severalBands = false; // records of more than one band
        int firstBand = -1;
    };

    static QByteArray Header();
    static QByteArray RecordFrame(const CRecord& record);
    // One or more whole frames holding the records in their order. A
    // record too large for a frame on its own loses values from its end.
    static QByteArray RecordBlockFrames(const QList<CRecord>& records);
    static QByteArray DeviceFrame(const QString& device);
    // Empty when the sweep has no points or more than the format holds.
    static QByteArray SweepFrame(const SPECTRUM_SWEEP& sweep);
    static QByteArray GapFrame(const GAP& gap);
    static QByteArray SummaryFrame(const SUMMARY& summary);
    static QByteArray NoteFrame(const NOTE& note);
    // True when tail, the last bytes of a file, ends with a whole summary
    // frame that checks out; only those bytes are looked at.
    static bool ReadSummary(QByteArrayView tail, SUMMARY& summary);
    // The version a header declares; 0 for bytes that are no recording.
    static quint16 HeaderVersion(QByteArrayView bytes);

    static CONTENTS Decode(QByteArrayView bytes);
    // The frames after a header of this version: a recording read piece by
    // piece. toEnd says that the bytes run to the end of the file; when
    // they do not, Cut means that the last frame (or the search for a frame
    // past damage) goes on in what follows, at validBytes.
    static CONTENTS DecodeFrames(QByteArrayView bytes, quint16 version = VERSION, bool toEnd = true);
    static TIMES ScanFrames(QByteArrayView bytes, quint16 version = VERSION, bool toEnd = true);
    static QString Describe(const CONTENTS& contents);
    // A recording keeps no mode of its own: records of more than one band
    // come from the automatic mode.
    static bool IsAutomatic(const QList<CRecord>& records);

private:
    // Walks the whole frames, handing each checked one to take (kind,
    // payload), which says whether its payload has its form.
    template <typename Contents, typename Take>
    static Contents Walk(QByteArrayView bytes, quint16 version, bool toEnd, Take take);
    static bool DecodeRecord(QByteArrayView payload, CRecord& record, QString& lastName, QByteArray& lastNameBytes);
    static bool DecodeSweep(QByteArrayView payload, SPECTRUM_SWEEP& sweep);
    static bool DecodeGap(QByteArrayView payload, GAP& gap);
    static bool DecodeSummary(QByteArrayView payload, SUMMARY& summary);
    // A record frame's payload has its form; its band on the way.
    static bool RecordShape(QByteArrayView payload, int& band);
    static bool SweepShape(QByteArrayView payload);
};
