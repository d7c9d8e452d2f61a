#pragma once

#include "CRecord.h"
#include "GuiKitExport.h"
#include "RZ450Layout.h"

#include <QList>

class CMetaDevice;

// A reader's place in the driver's live record ring. The count alone cannot
// tell a wrap from a restart, nor a reader that fell a whole ring behind, so
// each read also takes the slot before the place: if it still holds the last
// record handed out, nothing was overwritten. That costs one record per read,
// never an extra exchange (except once per round at the ring's end).
class GUIKIT_EXPORT CRecordCursor
{
public:
    struct TAKEN
    {
        QList<CRecord> records;
        qint64 missed = 0; // records known lost; -1: some, how many unknown
        bool gap = false;
        bool restarted = false; // the device started its records anew (cleared, a new connection)
    };

    explicit CRecordCursor(int ringSize = RZ450Layout::RECORD_RING);

    // Nothing seen: the next read starts at next (0 after a mode change or
    // our own Clear).
    void Restart(int next = 0);
    // Skips what the device already holds.
    void StartAt(int count);
    // What is new since the last Take, in the order the device wrote it, at
    // most limit records read; the rest comes at later calls even if count
    // stays. count: the device's GetCurrentRecordIndex() of this tick.
    TAKEN Take(CMetaDevice* device, int count, int limit);
    // Records are pending from an earlier Take.
    bool CatchingUp() const;
    int Next() const { return m_nNext; }
    // The first slot the next Take reads, as a hint to the link.
    int ReadFirst() const;

private:
    // What the first record read behind a suspected wrap or overrun must
    // show before its slots are believed to be newer than ours.
    enum Check { CheckNone, CheckWrap, CheckOverrun };
    enum Step { StepRead, StepReplanned, StepStop };

    void Reset(int next);
    void TakeInto(CMetaDevice* device, int count, int limit, TAKEN& taken);
    Step ReadAt(CMetaDevice* device, int count, int want, TAKEN& taken, int& read);
    void OverlapBroken(const CRecord& overlap, int count, TAKEN& taken);
    bool Verified(const QList<CRecord>& records, quint64 overlapTime, TAKEN& taken);
    void HandOut(const QList<CRecord>& records, TAKEN& taken);
    void EnterOldRound(int from, Check check, quint64 checkTime);
    void LeaveOldRound();
    void StartOver(TAKEN& taken);
    bool Stale(const CRecord& record) const;

    int m_nRing;
    int m_nNext = 0;
    int m_nCount = 0; // the device's count at the last Take
    // The place is behind a wrap: slots [next, ring) come before [0, count).
    bool m_bOldRound = false;
    Check m_eCheck = CheckNone;
    quint64 m_nCheckTime = 0;
    // After an overrun the old round may hold slots never written, or
    // written before our last record: they are passed over.
    bool m_bSkipStale = false;
    quint64 m_nStaleBefore = 0;
    bool m_bHaveLast = false;
    int m_nLastSlot = 0;
    CRecord m_last;
};
