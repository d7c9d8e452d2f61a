#include "alerts/CLookJudge.h"

#include "CRecord.h"
#include "RZ450Alarm.h"
#include "RZ450Layout.h"
#include "alerts/CAlertTracker.h"
#include "baseline/CBaselineComparator.h"
#include "protocol/CBandName.h"

namespace {

QString NameOf(const QStringList& names, int band)
{
    const QString name = CBandName::Plain(names.value(band));
    return name.isEmpty() ? QStringLiteral("Band %1").arg(band) : name;
}

bool OverBaseline(CBaselineComparator& comparator, int band, int levelDbm, int thresholdDbm, qint64 nowMs)
{
    CRecord record;
    record.time = quint64(nowMs / 1000);
    record.band = band;
    record.values = { { double(levelDbm), double(thresholdDbm), 0, 0 } };
    comparator.Add(record);
    return comparator.IsFlagged(band);
}

} // namespace

QList<ALERT> CLookJudge::Judge(const RZ450_LOOK& look, const QStringList& names, CAlertTracker& tracker,
    CBaselineComparator* comparator, qint64 nowMs)
{
    QList<ALERT> events;
    if (!IsWhole(look)) {
        tracker.EndAll(nowMs, events);
        return events;
    }
    for (int band = 0; band < RZ450Layout::BAND_COUNT; ++band) {
        const int raw = quint8(look.levels.at(band));
        const int rawThreshold = quint8(look.thresholds.at(band));
        const bool measured = RZ450Alarm::IsMeasured(look.mode, band, look.band, raw, rawThreshold);
        CAlertTracker::SAMPLE sample;
        sample.band = band;
        sample.name = NameOf(names, band);
        sample.levelDbm = RZ450Alarm::Dbm(raw);
        const int thresholdDbm = RZ450Alarm::Dbm(rawThreshold);
        sample.alarm = RZ450Alarm::IsAlarm(band, look.band, look.flags, sample.levelDbm, thresholdDbm);
        if (comparator && measured)
            sample.overBaseline = OverBaseline(*comparator, band, sample.levelDbm, thresholdDbm, nowMs);
        if (measured || sample.alarm || tracker.IsAlerting(band))
            tracker.Update(sample, nowMs, events);
    }
    return events;
}

// A look that lost its bands on the way is judged as no look.
bool CLookJudge::IsWhole(const RZ450_LOOK& look)
{
    return look.online && look.levels.size() == RZ450Layout::BAND_COUNT
        && look.thresholds.size() == RZ450Layout::BAND_COUNT;
}

int CLookJudge::FirstAlarm(const RZ450_LOOK& look)
{
    if (!IsWhole(look))
        return -1;
    for (int band = 0; band < RZ450Layout::BAND_COUNT; ++band) {
        const int level = RZ450Alarm::Dbm(quint8(look.levels.at(band)));
        const int threshold = RZ450Alarm::Dbm(quint8(look.thresholds.at(band)));
        if (RZ450Alarm::IsAlarm(band, look.band, look.flags, level, threshold))
            return band;
    }
    return -1;
}
