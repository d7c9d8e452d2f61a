#include "proxy/CRecordCursor.h"

#include "proxy/CMetaDevice.h"

#include <algorithm>
#include <stdexcept>

namespace {

// A plan goes wrong at most a few times in one Take: a restart or an
// overrun drops the record that could contradict it.
constexpr int MAX_REPLANS = 4;

bool SameRecord(const CRecord& a, const CRecord& b)
{
    if (a.time != b.time || a.band != b.band || a.duration != b.duration || a.values.size() != b.values.size())
        return false;
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        const RECORD_VALUE& x = a.values[i];
        const RECORD_VALUE& y = b.values[i];
        if (x.level != y.level || x.threshold != y.threshold || x.param1 != y.param1 || x.param2 != y.param2)
            return false;
    }
    return true;
}

void AddMissed(CRecordCursor::TAKEN& taken, qint64 count)
{
    taken.gap = true;
    if (taken.missed >= 0)
        taken.missed += count;
}

void AddUnknownGap(CRecordCursor::TAKEN& taken)
{
    taken.gap = true;
    taken.missed = -1;
}

} // namespace

CRecordCursor::CRecordCursor(int ringSize)
    : m_nRing(std::max(1, ringSize))
{
}

void CRecordCursor::Restart(int next)
{
    Reset(next);
    m_nCount = m_nNext;
}

void CRecordCursor::Reset(int next)
{
    m_nNext = std::clamp(next, 0, m_nRing - 1);
    m_bOldRound = false;
    m_eCheck = CheckNone;
    m_bSkipStale = false;
    m_bHaveLast = false;
}

void CRecordCursor::StartAt(int count)
{
    Restart(count);
}

bool CRecordCursor::CatchingUp() const
{
    return m_bOldRound || m_nNext < m_nCount;
}

CRecordCursor::TAKEN CRecordCursor::Take(CMetaDevice* device, int count, int limit)
{
    TAKEN taken;
    if (!device || limit <= 0)
        return taken;
    count = std::clamp(count, 0, m_nRing - 1);
    m_nCount = count;
    try {
        TakeInto(device, count, limit, taken);
    } catch (const std::exception&) {
        // The records read before the failure are ours already: handed
        // back, they would be lost. The next Take meets the failure again.
        if (taken.records.isEmpty() && !taken.gap && !taken.restarted)
            throw;
    }
    return taken;
}

void CRecordCursor::TakeInto(CMetaDevice* device, int count, int limit, TAKEN& taken)
{
    int read = 0;
    int replans = 0;
    while (read < limit && replans <= MAX_REPLANS) {
        // Below our place: the ring went round, or the device started anew.
        if (!m_bOldRound && count < m_nNext)
            EnterOldRound(m_nNext, CheckWrap, m_bHaveLast ? m_last.time : 0);
        if (m_bOldRound && m_nNext >= m_nRing) {
            LeaveOldRound();
            continue;
        }
        const int end = m_bOldRound ? m_nRing : count;
        if (m_nNext >= end)
            break;
        const Step step = ReadAt(device, count, std::min(end - m_nNext, limit - read), taken, read);
        if (step == StepStop)
            break;
        replans += step == StepReplanned;
    }
}

int CRecordCursor::ReadFirst() const
{
    // A read takes the slot before the place along.
    return m_nNext > 0 && m_nNext < m_nRing ? m_nNext - 1 : 0;
}

CRecordCursor::Step CRecordCursor::ReadAt(CMetaDevice* device, int count, int want, TAKEN& taken, int& read)
{
    const int at = m_nNext;
    const int before = (at + m_nRing - 1) % m_nRing;
    const bool compare = m_bHaveLast && m_nLastSlot == before;
    QList<CRecord> batch;
    CRecord overlap;
    bool haveOverlap = false;
    if (at > 0) {
        batch = device->GetRecords(at - 1, want + 1);
        haveOverlap = !batch.isEmpty();
        if (haveOverlap)
            overlap = batch.takeFirst();
    } else {
        // The ring's last slot cannot ride along with slot 0; within one
        // Take it was read a moment ago.
        if (compare && read == 0) {
            const QList<CRecord> last = device->GetRecords(before, 1);
            haveOverlap = !last.isEmpty();
            if (haveOverlap)
                overlap = last.first();
        }
        batch = device->GetRecords(0, want);
    }
    if (compare && haveOverlap && !SameRecord(overlap, m_last)) {
        OverlapBroken(overlap, count, taken);
        return StepReplanned;
    }
    if (m_eCheck != CheckNone && !Verified(batch, haveOverlap ? overlap.time : 0, taken))
        return StepReplanned;
    if (batch.isEmpty()) {
        if (!m_bOldRound)
            return StepStop;
        // A device that serves only the slots below its count (an older
        // server) cannot give the rest of the old round.
        AddMissed(taken, m_nRing - at);
        LeaveOldRound();
        return StepReplanned;
    }
    if (batch.size() > want)
        batch.resize(want);
    read += int(batch.size());
    HandOut(batch, taken);
    return StepRead;
}

void CRecordCursor::OverlapBroken(const CRecord& overlap, int count, TAKEN& taken)
{
    if (overlap.time == 0) {
        StartOver(taken); // cleared
        return;
    }
    // Overwritten: the device wrote more than a whole ring since, unless it
    // started anew and has passed our place already. A full ring has no
    // empty slot and nothing older than our record, so its oldest slot (at
    // the count) tells which.
    const quint64 lastTime = m_last.time;
    m_bHaveLast = false;
    EnterOldRound(count, CheckOverrun, lastTime);
}

bool CRecordCursor::Verified(const QList<CRecord>& records, quint64 overlapTime, TAKEN& taken)
{
    const Check check = m_eCheck;
    m_eCheck = CheckNone;
    if (records.isEmpty()) {
        if (check == CheckOverrun)
            AddUnknownGap(taken);
        return true;
    }
    // The clock set back between two reads would pass for a restart; it
    // costs the old round's records once, never a duplicate.
    const quint64 reference = m_nCheckTime ? m_nCheckTime : overlapTime;
    const quint64 first = records.first().time;
    if (first == 0 || first < reference) {
        StartOver(taken);
        return false;
    }
    if (check == CheckOverrun) {
        AddUnknownGap(taken);
        m_bSkipStale = true;
        m_nStaleBefore = reference;
    }
    return true;
}

void CRecordCursor::HandOut(const QList<CRecord>& records, TAKEN& taken)
{
    for (const CRecord& record : records) {
        const int slot = m_nNext++;
        if (m_bOldRound && m_bSkipStale && Stale(record))
            continue;
        taken.records.append(record);
        m_last = record;
        m_nLastSlot = slot;
        m_bHaveLast = true;
    }
}

bool CRecordCursor::Stale(const CRecord& record) const
{
    return record.time == 0 || record.time < m_nStaleBefore;
}

void CRecordCursor::EnterOldRound(int from, Check check, quint64 checkTime)
{
    m_nNext = from;
    m_bOldRound = true;
    m_eCheck = check;
    m_nCheckTime = checkTime;
    m_bSkipStale = false;
}

void CRecordCursor::LeaveOldRound()
{
    m_nNext = 0;
    m_bOldRound = false;
    m_eCheck = CheckNone;
    m_bSkipStale = false;
}

void CRecordCursor::StartOver(TAKEN& taken)
{
    taken.restarted = true;
    Reset(0);
}
