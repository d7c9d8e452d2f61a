#pragma once

#include "CRecord.h"
#include "baseline/CBaseline.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

// Sums up live records into a baseline, record by record, in memory that
// does not grow with the capture's length: the detector reports whole dBm
// from a byte (raw - 102), so each band keeps a count per level, not its
// samples. Median and 95th percentile are nearest-rank (the lowest level
// at or under which that share of the samples lies); the maximum is the
// highest level seen as it was. Records without a finite level are left
// out; so are bands past MAX_BANDS, which no detector has.
// Plain C++, no thread of its own; one thread at a time.
class CBaselineStats
{
    Q_DECLARE_TR_FUNCTIONS(CBaselineStats)

public:
    static constexpr int MIN_LEVEL = -102; // raw byte 0
    static constexpr int LEVELS = 256;     // raw bytes 0 to 255

    void Add(const CRecord& record);
    void SetDevice(const QString& device) { m_strDevice = device; }
    qint64 Samples() const { return m_nSamples; }

    // The site's baseline of what was added; false, with error for the
    // user, when nothing was: a baseline of no samples compares nothing.
    bool Result(const QString& site, CBaseline& baseline, QString& error) const;

private:
    struct BAND
    {
        int band = 0;
        QString name;
        std::array<qint64, LEVELS> counts {};
        qint64 samples = 0;
        double max = 0.0;
    };

    static int Bin(double level);
    // The level under which fraction of the band's samples lie.
    static double Rank(const BAND& band, double fraction);
    BAND* Band(const CRecord& record);

    std::vector<BAND> m_bands;
    QHash<int, int> m_index; // band number to its place in m_bands
    qint64 m_nSamples = 0;
    quint64 m_nFirst = 0;
    quint64 m_nLast = 0;
    QString m_strDevice;
};
