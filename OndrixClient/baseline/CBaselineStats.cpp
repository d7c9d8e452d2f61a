#include "baseline/CBaselineStats.h"

#include "baseline/CBaselineCodec.h"

#include <algorithm>
#include <cmath>

namespace {

// A file may hold any time; a date past the year 9999 is none.
constexpr quint64 LAST_SECOND = 253402300799;

} // namespace

void CBaselineStats::Add(const CRecord& record)
{
    if (record.values.isEmpty() || !std::isfinite(record.values.at(0).level))
        return;
    BAND* band = Band(record);
    if (!band)
        return;
    const double level = record.values.at(0).level;
    ++band->counts[size_t(Bin(level))];
    band->max = band->samples == 0 ? level : std::max(band->max, level);
    ++band->samples;
    if (m_nSamples == 0 || record.time < m_nFirst)
        m_nFirst = record.time;
    m_nLast = std::max(m_nLast, record.time);
    ++m_nSamples;
}

CBaselineStats::BAND* CBaselineStats::Band(const CRecord& record)
{
    const auto it = m_index.constFind(record.band);
    if (it != m_index.cend())
        return &m_bands[size_t(*it)];
    if (int(m_bands.size()) >= CBaselineCodec::MAX_BANDS)
        return nullptr;
    m_index.insert(record.band, int(m_bands.size()));
    BAND band;
    band.band = record.band;
    band.name = record.bandName.left(CBaselineCodec::MAX_NAME_CHARS);
    m_bands.push_back(band);
    return &m_bands.back();
}

int CBaselineStats::Bin(double level)
{
    return int(std::clamp<long>(std::lround(level) - MIN_LEVEL, 0, LEVELS - 1));
}

double CBaselineStats::Rank(const BAND& band, double fraction)
{
    const qint64 rank = std::max<qint64>(1, qint64(std::ceil(fraction * double(band.samples))));
    qint64 below = 0;
    for (int bin = 0; bin < LEVELS; ++bin) {
        below += band.counts[size_t(bin)];
        if (below >= rank)
            // A level the histogram rounded up is never over the true maximum.
            return std::min(double(bin + MIN_LEVEL), band.max);
    }
    return band.max;
}

bool CBaselineStats::Result(const QString& site, CBaseline& baseline, QString& error) const
{
    if (m_nSamples == 0) {
        error = tr("No level was measured during the capture, so there is no baseline to keep. Check that the "
                   "detector sends live data and capture again.");
        return false;
    }
    CBaseline result;
    result.site = site;
    result.start = QDateTime::fromSecsSinceEpoch(qint64(std::min(m_nFirst, LAST_SECOND)), Qt::UTC);
    result.nSeconds = qint64(std::min(m_nLast - m_nFirst, LAST_SECOND)) + 1;
    result.device = m_strDevice;
    for (const BAND& band : m_bands)
        result.bands.append({ band.band, band.name, Rank(band, 0.5), Rank(band, 0.95), band.max, band.samples });
    std::sort(result.bands.begin(), result.bands.end(),
        [](const BAND_BASELINE& a, const BAND_BASELINE& b) { return a.band < b.band; });
    baseline = result;
    return true;
}
