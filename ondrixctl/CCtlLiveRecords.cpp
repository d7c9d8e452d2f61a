#include "CCtlLiveRecords.h"

#include "CCtlConsole.h"
#include "proxy/CMetaDevice.h"

#include <algorithm>

void CCtlLiveRecords::Start(CMetaDevice* device)
{
    m_cursor.StartAt(device->GetCurrentRecordIndex());
}

QList<CRecord> CCtlLiveRecords::Take(CMetaDevice* device, CCtlConsole& console)
{
    // A whole ring at most: more cannot be pending, and a stalled
    // connection catches up in one go.
    const CRecordCursor::TAKEN taken = m_cursor.Take(device, device->GetCurrentRecordIndex(), RZ450Layout::RECORD_RING);
    if (taken.restarted)
        console.Note(tr("The detector started its live records anew."));
    if (taken.missed > 0)
        console.Warning(tr("%n record(s) lost: the detector overwrote them before they were read.", nullptr,
            int(std::min<qint64>(taken.missed, RZ450Layout::RECORD_RING))));
    else if (taken.gap)
        console.Warning(tr("Records lost: the detector wrote more than its %1 slots between two reads.")
                            .arg(RZ450Layout::RECORD_RING));
    return taken.records;
}
