#include "files/CRecordingCodec.h"

#include "files/CByteReader.h"
#include "files/CByteWriter.h"
#include "files/CNoteCodec.h"
#include "files/CRecordBlockCodec.h"
#include "files/CRecordingFrames.h"

#include <QCoreApplication>
#include <QSet>
#include <QtEndian>

#include <cstring>

namespace {

const char MAGIC[] = "ORZREC";
const int MAGIC_SIZE = 6;
const int VALUE_SIZE = 24;        // a record's level, threshold and two parameters
const int SWEEP_HEAD = 8 + 7 * 4; // a sweep's time and numbers before its points
const int GAP_SIZE = 8 + 8 + 8 + 1;
const int SUMMARY_SIZE = 8 + 8 + 8 + 8 + 1 + 8 + 4 + 4;
// The sweep's numbers in the order a frame holds them.
int SPECTRUM_SWEEP::*const SWEEP_FIELDS[] = { &SPECTRUM_SWEEP::rangeStartMhz, &SPECTRUM_SWEEP::rangeEndMhz,
    &SPECTRUM_SWEEP::signalFreq, &SPECTRUM_SWEEP::levelMinDbm, &SPECTRUM_SWEEP::signalLevel,
    &SPECTRUM_SWEEP::noiseLevel, &SPECTRUM_SWEEP::signalNo };

} // namespace

QByteArray CRecordingCodec::Header()
{
    CByteWriter writer;
    writer.m_bytes.append(MAGIC, MAGIC_SIZE);
    writer.Put<quint16>(VERSION);
    return writer.m_bytes;
}

QByteArray CRecordingCodec::RecordFrame(const CRecord& record)
{
    CByteWriter writer;
    writer.Put<quint64>(record.time);
    writer.Put<qint32>(record.band);
    writer.Put<qint32>(record.duration);
    writer.Put<double>(record.value);
    writer.PutText(record.bandName);
    const int count = int(qMin<qsizetype>(record.values.size(), 0xFFFF));
    writer.Put<quint16>(quint16(count));
    for (int i = 0; i < count; ++i) {
        const RECORD_VALUE& value = record.values.at(i);
        writer.Put<double>(value.level);
        writer.Put<double>(value.threshold);
        writer.Put<qint32>(value.param1);
        writer.Put<qint32>(value.param2);
    }
    return CRecordingFrames::Make(KIND_RECORD, writer.m_bytes);
}

QByteArray CRecordingCodec::RecordBlockFrames(const QList<CRecord>& records)
{
    QByteArray frames;
    for (const QByteArray& payload : CRecordBlockCodec::Encode(records, MAX_PAYLOAD))
        frames += CRecordingFrames::Make(KIND_RECORD_BLOCK, payload);
    return frames;
}

QByteArray CRecordingCodec::DeviceFrame(const QString& device)
{
    return CRecordingFrames::Make(KIND_DEVICE, device.toUtf8().left(int(MAX_PAYLOAD)));
}

QByteArray CRecordingCodec::SweepFrame(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.points.isEmpty() || sweep.points.size() > MAX_SPECTRUM_POINTS)
        return QByteArray();
    CByteWriter writer;
    writer.Put<quint64>(sweep.time);
    for (int SPECTRUM_SWEEP::*field : SWEEP_FIELDS)
        writer.Put<qint32>(qint32(sweep.*field));
    writer.m_bytes.append(sweep.points);
    return CRecordingFrames::Make(KIND_SPECTRUM, writer.m_bytes);
}

QByteArray CRecordingCodec::GapFrame(const GAP& gap)
{
    CByteWriter writer;
    writer.Put<quint64>(gap.from);
    writer.Put<quint64>(gap.to);
    writer.Put<qint64>(gap.missed);
    writer.Put<quint8>(gap.reason);
    return CRecordingFrames::Make(KIND_GAP, writer.m_bytes);
}

QByteArray CRecordingCodec::SummaryFrame(const SUMMARY& summary)
{
    CByteWriter writer;
    writer.Put<quint64>(summary.first);
    writer.Put<quint64>(summary.last);
    writer.Put<qint64>(summary.records);
    writer.Put<qint64>(summary.sweeps);
    writer.Put<quint8>(summary.automatic ? 1 : 0);
    writer.Put<qint64>(summary.damagedBytes);
    writer.Put<qint32>(summary.damagedPlaces);
    writer.Put<qint32>(summary.gaps);
    return CRecordingFrames::Make(KIND_SUMMARY, writer.m_bytes);
}

QByteArray CRecordingCodec::NoteFrame(const NOTE& note)
{
    return CRecordingFrames::Make(KIND_NOTE, CNoteCodec::Encode(note));
}

bool CRecordingCodec::ReadSummary(QByteArrayView tail, SUMMARY& summary)
{
    QByteArrayView payload;
    SUMMARY read;
    if (!CRecordingFrames::AtEnd(tail, KIND_SUMMARY, SUMMARY_SIZE, payload) || !DecodeSummary(payload, read))
        return false;
    summary = read;
    return true;
}

quint16 CRecordingCodec::HeaderVersion(QByteArrayView bytes)
{
    if (bytes.size() < HEADER_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_SIZE) != 0)
        return 0;
    return qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE);
}

CRecordingCodec::CONTENTS CRecordingCodec::Decode(QByteArrayView bytes)
{
    CONTENTS contents;
    const quint16 version = HeaderVersion(bytes);
    if (version == 0)
        return contents;
    if (version > VERSION) {
        contents.status = Newer;
        return contents;
    }
    contents = DecodeFrames(bytes.sliced(HEADER_SIZE), version);
    contents.validBytes += HEADER_SIZE;
    for (DAMAGE& damage : contents.damage)
        damage.offset += HEADER_SIZE;
    return contents;
}

template <typename Contents, typename Take>
Contents CRecordingCodec::Walk(QByteArrayView bytes, quint16 version, bool toEnd, Take take)
{
    Contents contents;
    CRecordingFrames frames(bytes, version, toEnd);
    CRecordingFrames::FRAME frame;
    while (frames.Next(frame)) {
        if (!take(contents, frame.kind, frame.payload))
            frames.Reject(frame);
        else if (frame.kind == KIND_DEVICE)
            contents.device = QString::fromUtf8(frame.payload.data(), frame.payload.size());
    }
    contents.status = frames.Status();
    contents.validBytes = frames.ValidBytes();
    contents.damage = frames.Damage();
    return contents;
}

CRecordingCodec::CONTENTS CRecordingCodec::DecodeFrames(QByteArrayView bytes, quint16 version, bool toEnd)
{
    QString lastName;
    QByteArray lastNameBytes;
    return Walk<CONTENTS>(bytes, version, toEnd, [&](CONTENTS& contents, quint8 kind, QByteArrayView payload) {
        switch (kind) {
        case KIND_RECORD: {
            CRecord record;
            if (!DecodeRecord(payload, record, lastName, lastNameBytes))
                return false;
            contents.records.append(record);
            return true;
        }
        case KIND_RECORD_BLOCK: return CRecordBlockCodec::Decode(payload, contents.records);
        case KIND_SPECTRUM: {
            SPECTRUM_SWEEP sweep;
            if (!DecodeSweep(payload, sweep))
                return false;
            contents.sweeps.append(sweep);
            contents.sweepPlaces.append(contents.records.size());
            return true;
        }
        case KIND_GAP: {
            GAP gap;
            if (!DecodeGap(payload, gap))
                return false;
            contents.gaps.append(gap);
            contents.gapPlaces.append(contents.records.size());
            return true;
        }
        case KIND_SUMMARY: {
            SUMMARY summary;
            return DecodeSummary(payload, summary);
        }
        case KIND_NOTE: {
            NOTE note;
            if (!CNoteCodec::Decode(payload, note))
                return false;
            contents.notes.append(note);
            return true;
        }
        default: return true;
        }
    });
}

CRecordingCodec::TIMES CRecordingCodec::ScanFrames(QByteArrayView bytes, quint16 version, bool toEnd)
{
    return Walk<TIMES>(bytes, version, toEnd, [](TIMES& times, quint8 kind, QByteArrayView payload) {
        switch (kind) {
        case KIND_RECORD: {
            int band = 0;
            if (!RecordShape(payload, band))
                return false;
            times.records.append(qFromLittleEndian<quint64>(payload.data()));
            times.severalBands = times.severalBands || (times.firstBand >= 0 && band != times.firstBand);
            times.firstBand = times.firstBand >= 0 ? times.firstBand : band;
            return true;
        }
        case KIND_RECORD_BLOCK:
            return CRecordBlockCodec::Scan(payload, times.records, times.firstBand, times.severalBands);
        case KIND_SPECTRUM:
            if (!SweepShape(payload))
                return false;
            times.sweeps.append(qFromLittleEndian<quint64>(payload.data()));
            times.sweepPlaces.append(times.records.size());
            return true;
        case KIND_GAP: times.gaps += payload.size() == GAP_SIZE ? 1 : 0; return payload.size() == GAP_SIZE;
        case KIND_SUMMARY: return payload.size() == SUMMARY_SIZE;
        case KIND_NOTE: {
            NOTE note;
            if (!CNoteCodec::Decode(payload, note))
                return false;
            times.notes.append(note);
            return true;
        }
        default: return true;
        }
    });
}

bool CRecordingCodec::RecordShape(QByteArrayView payload, int& band)
{
    CByteReader reader(payload);
    reader.Get<quint64>();
    band = reader.Get<qint32>();
    reader.Get<qint32>();
    reader.Get<double>();
    const quint16 nameSize = reader.Get<quint16>();
    if (!reader.Ok() || reader.Rest().size() < nameSize)
        return false;
    CByteReader rest(reader.Rest().sliced(nameSize));
    const quint16 count = rest.Get<quint16>();
    return rest.Ok() && rest.Rest().size() == qsizetype(count) * VALUE_SIZE;
}

bool CRecordingCodec::SweepShape(QByteArrayView payload)
{
    return payload.size() > SWEEP_HEAD && payload.size() <= SWEEP_HEAD + MAX_SPECTRUM_POINTS;
}

bool CRecordingCodec::DecodeRecord(QByteArrayView payload, CRecord& record, QString& lastName,
    QByteArray& lastNameBytes)
{
    CByteReader reader(payload);
    record.time = reader.Get<quint64>();
    record.band = reader.Get<qint32>();
    record.duration = reader.Get<qint32>();
    record.value = reader.Get<double>();
    record.bandName = reader.GetText(lastNameBytes, lastName);
    lastName = record.bandName;
    const quint16 count = reader.Get<quint16>();
    // A count the payload cannot hold is damage.
    if (!reader.Ok() || reader.Rest().size() != qsizetype(count) * VALUE_SIZE)
        return false;
    record.values.reserve(count);
    for (int i = 0; i < count; ++i) {
        RECORD_VALUE value;
        value.level = reader.Get<double>();
        value.threshold = reader.Get<double>();
        value.param1 = reader.Get<qint32>();
        value.param2 = reader.Get<qint32>();
        record.values.append(value);
    }
    return reader.Ok() && reader.AtEnd();
}

bool CRecordingCodec::DecodeSweep(QByteArrayView payload, SPECTRUM_SWEEP& sweep)
{
    if (!SweepShape(payload))
        return false;
    CByteReader reader(payload);
    sweep.time = reader.Get<quint64>();
    for (int SPECTRUM_SWEEP::*field : SWEEP_FIELDS)
        sweep.*field = reader.Get<qint32>();
    sweep.points = reader.Rest().toByteArray();
    return reader.Ok();
}

bool CRecordingCodec::DecodeGap(QByteArrayView payload, GAP& gap)
{
    CByteReader reader(payload);
    gap.from = reader.Get<quint64>();
    gap.to = reader.Get<quint64>();
    gap.missed = reader.Get<qint64>();
    gap.reason = reader.Get<quint8>();
    return reader.Ok() && reader.AtEnd();
}

bool CRecordingCodec::DecodeSummary(QByteArrayView payload, SUMMARY& summary)
{
    CByteReader reader(payload);
    summary.first = reader.Get<quint64>();
    summary.last = reader.Get<quint64>();
    summary.records = reader.Get<qint64>();
    summary.sweeps = reader.Get<qint64>();
    const quint8 automatic = reader.Get<quint8>();
    summary.automatic = automatic != 0;
    summary.damagedBytes = reader.Get<qint64>();
    summary.damagedPlaces = reader.Get<qint32>();
    summary.gaps = reader.Get<qint32>();
    return reader.Ok() && reader.AtEnd() && automatic <= 1;
}

QString CRecordingCodec::Describe(const CONTENTS& contents)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("CRecordingCodec", text); };
    switch (contents.status) {
    case Whole: return tr("The recording is whole.");
    case Cut: return tr("The recording ends inside a record; everything before it was kept.");
    case Damaged: break;
    case Newer: return tr("The recording was written by a newer version of the program and cannot be read.");
    case NotARecording: return tr("The file is not a recording.");
    }
    if (contents.damage.isEmpty())
        return tr("The recording is damaged after byte %1; everything before it was kept.").arg(contents.validBytes);
    qint64 bytes = 0;
    for (const DAMAGE& damage : contents.damage)
        bytes += damage.bytes;
    return tr("The recording is damaged in %1 place(s), %2 bytes in all, the first at byte %3; "
              "everything else was kept.")
        .arg(contents.damage.size())
        .arg(bytes)
        .arg(contents.damage.first().offset);
}

bool CRecordingCodec::IsAutomatic(const QList<CRecord>& records)
{
    QSet<int> bands;
    for (const CRecord& record : records) {
        bands.insert(record.band);
        if (bands.size() > 1)
            return true;
    }
    return false;
}
