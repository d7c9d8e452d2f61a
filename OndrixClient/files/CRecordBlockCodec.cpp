#include "files/CRecordBlockCodec.h"

#include "files/CByteReader.h"
#include "files/CByteWriter.h"

#include <QHash>

#include <cmath>
#include <cstring>

namespace {

using F = CRecordBlockCodec::Flag;

bool SameBits(double a, double b)
{
    // The bits, not the values: -0 and each NaN must come back as they went in.
    return std::memcmp(&a, &b, sizeof(double)) == 0; // NOLINT(bugprone-suspicious-memory-comparison)
}

// An integer level costs one or two bytes instead of eight; -0 is no
// integer here, or it would come back as 0.
bool IsWhole(double level)
{
    return std::isfinite(level) && std::fabs(level) < 0x1p62 && level == std::trunc(level)
        && !(level == 0.0 && std::signbit(level));
}

quint8 FlagsOf(const CRecord& record, const CRecord& previous)
{
    quint8 flags = 0;
    flags |= record.band == previous.band ? F::SAME_BAND : 0;
    flags |= record.bandName == previous.bandName ? F::SAME_NAME : 0;
    flags |= record.duration == previous.duration ? F::SAME_DURATION : 0;
    flags |= SameBits(record.value, previous.value) ? F::SAME_VALUE : 0;
    bool whole = true;
    for (const RECORD_VALUE& value : record.values)
        whole = whole && IsWhole(value.level);
    flags |= whole ? F::WHOLE_LEVELS : 0;
    if (record.values.size() != previous.values.size())
        return flags;
    bool thresholds = true;
    bool params = true;
    for (qsizetype i = 0; i < record.values.size(); ++i) {
        const RECORD_VALUE& a = record.values.at(i);
        const RECORD_VALUE& b = previous.values.at(i);
        thresholds = thresholds && SameBits(a.threshold, b.threshold);
        params = params && a.param1 == b.param1 && a.param2 == b.param2;
    }
    return flags | F::SAME_COUNT | (thresholds ? F::SAME_THRESHOLDS : 0) | (params ? F::SAME_PARAMS : 0);
}

// One block being filled; a record that does not fit leaves it as it was.
class CBlockEncoder
{
public:
    bool Add(const CRecord& record, qsizetype maxPayload);
    bool IsEmpty() const { return m_nCount == 0; }
    QByteArray Finish() const;

private:
    void PutValues(const CRecord& record, quint8 flags, CByteWriter& writer) const;

    CByteWriter m_body;
    CRecord m_previous;
    QHash<QString, quint64> m_names;
    quint64 m_nCount = 0;
};

bool CBlockEncoder::Add(const CRecord& record, qsizetype maxPayload)
{
    const quint8 flags = FlagsOf(record, m_previous);
    CByteWriter writer;
    writer.Put<quint8>(flags);
    writer.PutZigzag(qint64(record.time - m_previous.time));
    if (!(flags & F::SAME_BAND))
        writer.PutZigzag(record.band);
    const quint64 name = m_names.value(record.bandName, quint64(m_names.size()));
    if (!(flags & F::SAME_NAME)) {
        writer.PutVarint(name);
        if (name == quint64(m_names.size())) {
            const QByteArray utf8 = record.bandName.toUtf8();
            writer.PutVarint(quint64(utf8.size()));
            writer.m_bytes.append(utf8);
        }
    }
    if (!(flags & F::SAME_DURATION))
        writer.PutZigzag(record.duration);
    if (!(flags & F::SAME_VALUE))
        writer.Put<double>(record.value);
    if (!(flags & F::SAME_COUNT))
        writer.PutVarint(quint64(record.values.size()));
    PutValues(record, flags, writer);
    if (m_body.m_bytes.size() + writer.m_bytes.size() + CByteWriter::VarintSize(m_nCount + 1) > maxPayload)
        return false;
    if (!(flags & F::SAME_NAME) && name == quint64(m_names.size()))
        m_names.insert(record.bandName, name);
    m_body.m_bytes.append(writer.m_bytes);
    m_previous = record;
    ++m_nCount;
    return true;
}

void CBlockEncoder::PutValues(const CRecord& record, quint8 flags, CByteWriter& writer) const
{
    for (const RECORD_VALUE& value : record.values) {
        if (flags & F::WHOLE_LEVELS)
            writer.PutZigzag(qint64(value.level));
        else
            writer.Put<double>(value.level);
        if (!(flags & F::SAME_THRESHOLDS))
            writer.Put<double>(value.threshold);
        if (!(flags & F::SAME_PARAMS)) {
            writer.PutZigzag(value.param1);
            writer.PutZigzag(value.param2);
        }
    }
}

QByteArray CBlockEncoder::Finish() const
{
    CByteWriter writer;
    writer.PutVarint(m_nCount);
    writer.m_bytes.append(m_body.m_bytes);
    return writer.m_bytes;
}

// A record that no block holds on its own loses values, then name, until
// one does.
CRecord Fitted(CRecord record, qsizetype maxPayload)
{
    while (!CBlockEncoder().Add(record, maxPayload)) {
        if (!record.values.isEmpty())
            record.values.resize(record.values.size() / 2);
        else
            record.bandName.truncate(record.bandName.size() / 2);
    }
    return record;
}

bool GetInt(CByteReader& reader, int& value)
{
    const qint64 wide = reader.GetZigzag();
    value = int(wide);
    return wide == qint64(value);
}

} // namespace

QList<QByteArray> CRecordBlockCodec::Encode(const QList<CRecord>& records, qsizetype maxPayload)
{
    QList<QByteArray> payloads;
    CBlockEncoder block;
    for (const CRecord& record : records) {
        if (block.Add(record, maxPayload))
            continue;
        if (!block.IsEmpty())
            payloads.append(block.Finish());
        block = CBlockEncoder();
        if (!block.Add(record, maxPayload))
            block.Add(Fitted(record, maxPayload), maxPayload);
    }
    if (!block.IsEmpty())
        payloads.append(block.Finish());
    return payloads;
}

bool CRecordBlockCodec::Decode(QByteArrayView payload, QList<CRecord>& records)
{
    const qsizetype before = records.size();
    if (Walk<true>(payload, [&records](const CRecord& record) { records.append(record); }))
        return true;
    records.resize(before);
    return false;
}

bool CRecordBlockCodec::Scan(QByteArrayView payload, QList<quint64>& times, int& firstBand, bool& severalBands)
{
    const qsizetype before = times.size();
    int first = firstBand;
    bool several = severalBands;
    const bool ok = Walk<false>(payload, [&](const CRecord& record) {
        times.append(record.time);
        several = several || (first >= 0 && record.band != first);
        first = first >= 0 ? first : record.band;
    });
    if (!ok) {
        times.resize(before);
        return false;
    }
    firstBand = first;
    severalBands = several;
    return true;
}

// Full: the names and values too; otherwise they are only stepped over,
// with the same checks, so that a scan fails where a decoding fails.
template <bool Full, typename Take>
bool CRecordBlockCodec::Walk(QByteArrayView payload, Take take)
{
    CByteReader reader(payload);
    const quint64 count = reader.GetVarint();
    // A record takes two bytes at least: no count promises more.
    if (!reader.Ok() || count > quint64(reader.Left() / 2))
        return false;
    CRecord record;
    QList<QString> names;
    quint64 nameCount = 0;
    quint64 valueCount = 0;
    for (quint64 i = 0; i < count; ++i) {
        const quint8 flags = reader.Get<quint8>();
        record.time += quint64(reader.GetZigzag());
        if (!(flags & SAME_BAND) && !GetInt(reader, record.band))
            return false;
        if (!(flags & SAME_NAME)) {
            const quint64 name = reader.GetVarint();
            if (name > nameCount)
                return false;
            if (name == nameCount) {
                ++nameCount;
                const QByteArrayView utf8 = reader.Take(reader.GetVarint());
                if constexpr (Full)
                    names.append(QString::fromUtf8(utf8));
            }
            if constexpr (Full)
                record.bandName = names.value(qsizetype(name));
        }
        if (!(flags & SAME_DURATION) && !GetInt(reader, record.duration))
            return false;
        if (!(flags & SAME_VALUE))
            record.value = reader.Get<double>();
        if (!(flags & SAME_COUNT)) {
            // Thresholds and parameters repeat only a list of the same size.
            valueCount = reader.GetVarint();
            if ((flags & (SAME_THRESHOLDS | SAME_PARAMS)) || valueCount > quint64(reader.Left()))
                return false;
            if constexpr (Full)
                record.values.resize(qsizetype(valueCount));
        }
        for (quint64 v = 0; v < valueCount; ++v) {
            RECORD_VALUE ignored;
            RECORD_VALUE& value = Full ? record.values[qsizetype(v)] : ignored;
            value.level = (flags & WHOLE_LEVELS) ? double(reader.GetZigzag()) : reader.Get<double>();
            if (!(flags & SAME_THRESHOLDS))
                value.threshold = reader.Get<double>();
            if (!(flags & SAME_PARAMS) && !(GetInt(reader, value.param1) && GetInt(reader, value.param2)))
                return false;
        }
        if (!reader.Ok())
            return false;
        take(record);
    }
    return reader.AtEnd();
}
