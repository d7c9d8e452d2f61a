#include "baseline/CBaselineCodec.h"

#include "files/CByteReader.h"
#include "files/CByteWriter.h"
#include "files/CRecordingFrames.h"
#include "sites/CSiteFolder.h"

#include <QSet>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

const char MAGIC[] = "ORZBAS";
const int MAGIC_SIZE = 6;
const int HEADER_SIZE = MAGIC_SIZE + 2;
// A counted text, read on its own (CByteReader shares a text equal to the
// last one, which here is none).
QString Text(CByteReader& reader)
{
    QByteArray none;
    return reader.GetText(none, QString());
}

// band, name count, three levels, samples: what each band takes at least.
const qsizetype MIN_BAND_BYTES = 4 + 2 + 3 * 8 + 8;

} // namespace

QByteArray CBaselineCodec::Encode(const CBaseline& baseline)
{
    CByteWriter payload;
    payload.PutText(baseline.site);
    payload.Put<qint64>(baseline.start.toMSecsSinceEpoch());
    payload.Put<qint64>(baseline.nSeconds);
    payload.PutText(baseline.device.left(MAX_NAME_CHARS));
    const QList<BAND_BASELINE> bands = baseline.bands.mid(0, MAX_BANDS);
    payload.Put<quint16>(quint16(bands.size()));
    for (const BAND_BASELINE& band : bands) {
        payload.Put<qint32>(band.band);
        payload.PutText(band.name.left(MAX_NAME_CHARS));
        payload.Put<double>(band.dMedian);
        payload.Put<double>(band.dP95);
        payload.Put<double>(band.dMax);
        payload.Put<qint64>(band.nSamples);
    }
    QByteArray bytes(MAGIC, MAGIC_SIZE);
    char version[2];
    qToLittleEndian<quint16>(VERSION, version);
    bytes.append(version, 2);
    return bytes + CRecordingFrames::Make(FRAME_KIND, payload.m_bytes);
}

CBaselineCodec::Status CBaselineCodec::Decode(QByteArrayView bytes, CBaseline& baseline)
{
    if (bytes.size() < HEADER_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_SIZE) != 0)
        return NotABaseline;
    const quint16 version = qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE);
    if (version > VERSION)
        return Newer;
    const QByteArrayView frame = bytes.sliced(HEADER_SIZE);
    const qsizetype payloadSize = frame.size() - CRecordingFrames::Size(0);
    QByteArrayView payload;
    CBaseline read;
    if (version != VERSION || payloadSize < 0 || !CRecordingFrames::AtEnd(frame, FRAME_KIND, payloadSize, payload)
        || !DecodePayload(payload, read))
        return Damaged;
    if (read.bands.isEmpty())
        return Empty;
    baseline = read;
    return Ok;
}

bool CBaselineCodec::DecodePayload(QByteArrayView payload, CBaseline& baseline)
{
    CByteReader reader(payload);
    QString error;
    baseline.site = Text(reader);
    baseline.start = QDateTime::fromMSecsSinceEpoch(reader.Get<qint64>(), Qt::UTC);
    baseline.nSeconds = reader.Get<qint64>();
    baseline.device = Text(reader);
    const int count = reader.Get<quint16>();
    if (!reader.Ok() || count > MAX_BANDS || reader.Left() < count * MIN_BAND_BYTES
        || !CSiteFolder::IsValidName(baseline.site, error) || !baseline.start.isValid() || baseline.nSeconds < 1
        || baseline.device.size() > MAX_NAME_CHARS)
        return false;
    QSet<int> seen;
    for (int i = 0; i < count; ++i) {
        BAND_BASELINE band;
        band.band = reader.Get<qint32>();
        band.name = Text(reader);
        band.dMedian = reader.Get<double>();
        band.dP95 = reader.Get<double>();
        band.dMax = reader.Get<double>();
        band.nSamples = reader.Get<qint64>();
        if (!reader.Ok() || !IsSound(band) || seen.contains(band.band))
            return false;
        seen.insert(band.band);
        baseline.bands.append(band);
    }
    return reader.AtEnd();
}

bool CBaselineCodec::IsSound(const BAND_BASELINE& band)
{
    return band.name.size() <= MAX_NAME_CHARS && std::isfinite(band.dMedian) && std::isfinite(band.dP95)
        && std::isfinite(band.dMax) && band.dMedian <= band.dP95 && band.dP95 <= band.dMax && band.nSamples > 0;
}
