#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"

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
//   frame:  kind (u8), payload length (u32), payload, CRC-32 (u32) of the
//           kind, length and payload bytes
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
// Frames are only ever appended, so a file cut at any byte still reads up
// to its last whole frame; a frame whose check fails ends the reading the
// same way. Unknown frame kinds of the same version are skipped, so that a
// later program may add kinds; a later version is refused whole.
class CRecordingCodec
{
public:
    static constexpr quint16 VERSION = 1;
    static constexpr int HEADER_SIZE = 8;
    // A point count that fits a byte, 255 left for "no spectrum".
    static constexpr int MAX_SPECTRUM_POINTS = 254;
    // Far beyond any honest frame: a longer one is taken for damage.
    static constexpr quint32 MAX_PAYLOAD = 64 * 1024;

    enum Status {
        Whole,     // every byte belongs to a whole frame
        Cut,       // ends inside a frame (a crash while writing)
        Damaged,   // a frame failed its check or its own form
        Newer,     // written by a later version: nothing read
        NotARecording
    };

    struct CONTENTS
    {
        Status status = NotARecording;
        QList<CRecord> records;
        QList<SPECTRUM_SWEEP> sweeps;
        QList<qsizetype> sweepPlaces; // per sweep, the records before it
        QString device;
        qint64 validBytes = 0; // the whole frames' end: where appending may go on
    };

    // The same frames reduced to what a replay is scheduled by: the time of
    // each record and of each sweep, and their order. Whatever would end a
    // decoding ends a scan at the same byte.
    struct TIMES
    {
        Status status = NotARecording;
        QList<quint64> records;
        QList<quint64> sweeps;
        QList<qsizetype> sweepPlaces;
        QString device;
        qint64 validBytes = 0;
        bool severalBands = false; // records of more than one band
        int firstBand = -1;
    };

    static QByteArray Header();
    static QByteArray RecordFrame(const CRecord& record);
    static QByteArray DeviceFrame(const QString& device);
    // Empty when the sweep has no points or more than the format holds.
    static QByteArray SweepFrame(const SPECTRUM_SWEEP& sweep);
    static CONTENTS Decode(QByteArrayView bytes);
    // The frames after the header, as far as they are whole: a recording
    // read piece by piece. Cut means that the last frame goes on in what
    // follows; validBytes counts from the first of these bytes.
    static CONTENTS DecodeFrames(QByteArrayView bytes);
    static TIMES ScanFrames(QByteArrayView bytes);
    static QString Describe(const CONTENTS& contents);
    // A recording keeps no mode of its own: records of more than one band
    // come from the automatic mode.
    static bool IsAutomatic(const QList<CRecord>& records);

private:
    static QByteArray Frame(quint8 kind, const QByteArray& payload);
    // Walks the whole frames, handing each checked one to take (kind,
    // payload), which says whether its payload has its form.
    template <typename Contents, typename Take>
    static Contents Walk(QByteArrayView bytes, Take take);
    static bool DecodeRecord(QByteArrayView payload, CRecord& record, QString& lastName, QByteArray& lastNameBytes);
    static bool DecodeSweep(QByteArrayView payload, SPECTRUM_SWEEP& sweep);
    // A record frame's payload has its form; its band on the way.
    static bool RecordShape(QByteArrayView payload, int& band);
};
