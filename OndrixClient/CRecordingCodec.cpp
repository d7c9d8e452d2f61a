#include "CRecordingCodec.h"

#include <QCoreApplication>
#include <QSet>
#include <QtEndian>

#include <array>
#include <cstring>

namespace {

const char MAGIC[] = "ORZREC";
const int MAGIC_SIZE = 6;
const quint8 KIND_RECORD = 1;
const quint8 KIND_SPECTRUM = 2;
const quint8 KIND_DEVICE = 3;
const int FRAME_HEAD = 5; // kind and length
const int FRAME_CHECK = 4;
const int VALUE_SIZE = 24; // a record's level, threshold and two parameters
const int SWEEP_HEAD = 8 + 7 * 4; // a sweep's time and numbers before its points
// The sweep's numbers in the order a frame holds them.
int SPECTRUM_SWEEP::*const SWEEP_FIELDS[] = { &SPECTRUM_SWEEP::rangeStartMhz, &SPECTRUM_SWEEP::rangeEndMhz,
    &SPECTRUM_SWEEP::signalFreq, &SPECTRUM_SWEEP::levelMinDbm, &SPECTRUM_SWEEP::signalLevel,
    &SPECTRUM_SWEEP::noiseLevel, &SPECTRUM_SWEEP::signalNo };

// Eight tables: eight bytes a step, as a recording of a weekend is
// gigabytes and a replay checks all of it before it starts.
using CrcTables = std::array<std::array<quint32, 256>, 8>;

CrcTables MakeCrcTables()
{
    CrcTables tables {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][i] = c;
    }
    for (quint32 i = 0; i < 256; ++i)
        for (int t = 1; t < 8; ++t)
            tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
    return tables;
}

quint32 Crc32(QByteArrayView bytes)
{
    static const CrcTables t = MakeCrcTables();
    quint32 crc = 0xFFFFFFFFu;
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    for (; left >= 8; left -= 8, p += 8) {
        const quint32 low = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 high = qFromLittleEndian<quint32>(p + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24]
            ^ t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; left > 0; --left, ++p)
        crc = t[0][(crc ^ quint8(*p)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Appends fixed-size little-endian values and counted texts.
class CWriter
{
public:
    template <typename Value>
    void Put(Value value)
    {
        char bytes[sizeof(Value)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(Value));
    }
    void PutText(const QString& text)
    {
        const QByteArray utf8 = text.toUtf8().left(0xFFFF);
        Put<quint16>(quint16(utf8.size()));
        m_bytes.append(utf8);
    }
    QByteArray m_bytes;
};

// Reads them back; every read past the end fails and is remembered.
class CReader
{
public:
    explicit CReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    template <typename Value>
    Value Get()
    {
        if (m_bytes.size() - m_nPos < qsizetype(sizeof(Value))) {
            m_bOk = false;
            return Value();
        }
        const Value value = qFromLittleEndian<Value>(m_bytes.data() + m_nPos);
        m_nPos += qsizetype(sizeof(Value));
        return value;
    }
    // The text, or last again when its bytes are the same: a band's name
    // comes with each of its records, and shared it costs no memory.
    QString GetText(QByteArray& lastBytes, const QString& last)
    {
        const quint16 size = Get<quint16>();
        if (!m_bOk || m_bytes.size() - m_nPos < size) {
            m_bOk = false;
            return QString();
        }
        const QByteArrayView bytes = m_bytes.sliced(m_nPos, size);
        m_nPos += size;
        if (bytes == lastBytes)
            return last;
        lastBytes = bytes.toByteArray();
        return QString::fromUtf8(bytes);
    }
    QByteArrayView Rest() const { return m_bytes.sliced(m_nPos); }
    bool AtEnd() const { return m_nPos == m_bytes.size(); }
    bool Ok() const { return m_bOk; }

private:
    QByteArrayView m_bytes;
    qsizetype m_nPos = 0;
    bool m_bOk = true;
};

} // namespace

QByteArray CRecordingCodec::Header()
{
    CWriter writer;
    writer.m_bytes.append(MAGIC, MAGIC_SIZE);
    writer.Put<quint16>(VERSION);
    return writer.m_bytes;
}

QByteArray CRecordingCodec::RecordFrame(const CRecord& record)
{
    CWriter writer;
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
    return Frame(KIND_RECORD, writer.m_bytes);
}

QByteArray CRecordingCodec::DeviceFrame(const QString& device)
{
    return Frame(KIND_DEVICE, device.toUtf8().left(int(MAX_PAYLOAD)));
}

QByteArray CRecordingCodec::SweepFrame(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.points.isEmpty() || sweep.points.size() > MAX_SPECTRUM_POINTS)
        return QByteArray();
    CWriter writer;
    writer.Put<quint64>(sweep.time);
    for (int SPECTRUM_SWEEP::*field : SWEEP_FIELDS)
        writer.Put<qint32>(qint32(sweep.*field));
    writer.m_bytes.append(sweep.points);
    return Frame(KIND_SPECTRUM, writer.m_bytes);
}

QByteArray CRecordingCodec::Frame(quint8 kind, const QByteArray& payload)
{
    CWriter writer;
    writer.Put<quint8>(kind);
    writer.Put<quint32>(quint32(payload.size()));
    writer.m_bytes.append(payload);
    writer.Put<quint32>(Crc32(writer.m_bytes));
    return writer.m_bytes;
}

CRecordingCodec::CONTENTS CRecordingCodec::Decode(QByteArrayView bytes)
{
    CONTENTS contents;
    if (bytes.size() < HEADER_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_SIZE) != 0)
        return contents;
    if (qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE) > VERSION) {
        contents.status = Newer;
        return contents;
    }
    contents = DecodeFrames(bytes.sliced(HEADER_SIZE));
    contents.validBytes += HEADER_SIZE;
    return contents;
}

template <typename Contents, typename Take>
Contents CRecordingCodec::Walk(QByteArrayView bytes, Take take)
{
    Contents contents;
    contents.status = Whole;
    for (qsizetype pos = 0; pos < bytes.size();) {
        CReader head(bytes.sliced(pos));
        const quint8 kind = head.Get<quint8>();
        const quint32 length = head.Get<quint32>();
        if (head.Ok() && length > MAX_PAYLOAD) {
            contents.status = Damaged;
            break;
        }
        const qsizetype frameSize = FRAME_HEAD + qsizetype(length) + FRAME_CHECK;
        if (!head.Ok() || bytes.size() - pos < frameSize) {
            contents.status = Cut;
            break;
        }
        const QByteArrayView frame = bytes.sliced(pos, frameSize);
        const QByteArrayView payload = frame.sliced(FRAME_HEAD, length);
        const bool checked = qFromLittleEndian<quint32>(frame.data() + FRAME_HEAD + length)
            == Crc32(frame.first(FRAME_HEAD + length));
        if (!checked || !take(contents, kind, payload)) {
            contents.status = Damaged;
            break;
        }
        if (kind == KIND_DEVICE)
            contents.device = QString::fromUtf8(payload.data(), payload.size());
        pos += frameSize;
        contents.validBytes = pos;
    }
    return contents;
}

CRecordingCodec::CONTENTS CRecordingCodec::DecodeFrames(QByteArrayView bytes)
{
    QString lastName;
    QByteArray lastNameBytes;
    return Walk<CONTENTS>(bytes, [&](CONTENTS& contents, quint8 kind, QByteArrayView payload) {
        if (kind == KIND_RECORD) {
            CRecord record;
            if (!DecodeRecord(payload, record, lastName, lastNameBytes))
                return false;
            contents.records.append(record);
        } else if (kind == KIND_SPECTRUM) {
            SPECTRUM_SWEEP sweep;
            if (!DecodeSweep(payload, sweep))
                return false;
            contents.sweeps.append(sweep);
            contents.sweepPlaces.append(contents.records.size());
        }
        return true;
    });
}

CRecordingCodec::TIMES CRecordingCodec::ScanFrames(QByteArrayView bytes)
{
    return Walk<TIMES>(bytes, [](TIMES& times, quint8 kind, QByteArrayView payload) {
        if (kind == KIND_RECORD) {
            int band = 0;
            if (!RecordShape(payload, band))
                return false;
            times.records.append(qFromLittleEndian<quint64>(payload.data()));
            times.severalBands = times.severalBands || (times.firstBand >= 0 && band != times.firstBand);
            times.firstBand = times.firstBand >= 0 ? times.firstBand : band;
        } else if (kind == KIND_SPECTRUM) {
            if (payload.size() <= SWEEP_HEAD || payload.size() > SWEEP_HEAD + MAX_SPECTRUM_POINTS)
                return false;
            times.sweeps.append(qFromLittleEndian<quint64>(payload.data()));
            times.sweepPlaces.append(times.records.size());
        }
        return true;
    });
}

bool CRecordingCodec::RecordShape(QByteArrayView payload, int& band)
{
    CReader reader(payload);
    reader.Get<quint64>();
    band = reader.Get<qint32>();
    reader.Get<qint32>();
    reader.Get<double>();
    const quint16 nameSize = reader.Get<quint16>();
    if (!reader.Ok() || reader.Rest().size() < nameSize)
        return false;
    CReader rest(reader.Rest().sliced(nameSize));
    const quint16 count = rest.Get<quint16>();
    return rest.Ok() && rest.Rest().size() == qsizetype(count) * VALUE_SIZE;
}

bool CRecordingCodec::DecodeRecord(QByteArrayView payload, CRecord& record, QString& lastName, QByteArray& lastNameBytes)
{
    CReader reader(payload);
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
    CReader reader(payload);
    sweep.time = reader.Get<quint64>();
    for (int SPECTRUM_SWEEP::*field : SWEEP_FIELDS)
        sweep.*field = reader.Get<qint32>();
    if (!reader.Ok())
        return false;
    const QByteArrayView points = reader.Rest();
    if (points.isEmpty() || points.size() > MAX_SPECTRUM_POINTS)
        return false;
    sweep.points = points.toByteArray();
    return true;
}

QString CRecordingCodec::Describe(const CONTENTS& contents)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("CRecordingCodec", text); };
    switch (contents.status) {
    case Whole: return tr("The recording is whole.");
    case Cut: return tr("The recording ends inside a record; everything before it was kept.");
    case Damaged: return tr("The recording is damaged after byte %1; everything before it was kept.").arg(contents.validBytes);
    case Newer: return tr("The recording was written by a newer version of the program and cannot be read.");
    case NotARecording: break;
    }
    return tr("The file is not a recording.");
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
