#include "report/CReportBaseline.h"

#include "IDevice.h"
#include "app/CGuardedCall.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CBaselineRecordings.h"

#include <algorithm>

namespace {

REPORT_BASELINE Section(const CBaselineComparator& comparator)
{
    REPORT_BASELINE section;
    section.site = comparator.Baseline().site;
    section.captured = comparator.Baseline().start;
    section.dMargin = comparator.Margin();
    section.flags = comparator.Flags();
    section.nDropped = comparator.Dropped();
    return section;
}

} // namespace

bool CReportBaseline::FromFiles(const QString& storage, const QString& site, const QStringList& paths,
    const QString& deviceType, double marginDb, REPORT_BASELINE& section, QString& error)
{
    CBaseline baseline;
    if (!CBaselineFile::Latest(storage, site, baseline, error))
        return false;
    CBaselineComparator comparator(baseline, marginDb);
    if (!CBaselineRecordings::Compare(paths, deviceType, comparator, error))
        return false;
    section = Section(comparator);
    return true;
}

bool CReportBaseline::FromRecords(const QString& storage, const QString& site, const QList<CRecord>& records,
    double marginDb, REPORT_BASELINE& section, QString& error)
{
    CBaseline baseline;
    if (!CBaselineFile::Latest(storage, site, baseline, error))
        return false;
    QList<CRecord> ordered = records;
    // A ring that wrapped is not in time order.
    std::stable_sort(ordered.begin(), ordered.end(),
        [](const CRecord& a, const CRecord& b) { return a.time < b.time; });
    CBaselineComparator comparator(baseline, marginDb);
    for (const CRecord& record : ordered)
        comparator.Add(record);
    comparator.Finish();
    section = Section(comparator);
    return true;
}

bool CReportBaseline::FromDevice(const QString& storage, const QString& site, IDevice* device, double marginDb,
    REPORT_BASELINE& section, QString& error)
{
    if (!device) {
        error = tr("No device is connected.");
        return false;
    }
    QList<CRecord> records;
    if (!CGuardedCall::Run([&] { records = device->GetRealtimeRecords(); }, &error))
        return false;
    return FromRecords(storage, site, records, marginDb, section, error);
}
