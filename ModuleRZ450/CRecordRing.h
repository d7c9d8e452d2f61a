#pragma once

#include "RAW_RECORD_SLOT.h"
#include "RZ450Layout.h"

#include <memory>
#include <vector>

// The live record store: a fixed ring that never allocates after
// construction. Not thread-safe by itself; the device guards it.
class CRecordRing
{
public:
    static constexpr int CAPACITY = RZ450Layout::RECORD_RING;

    CRecordRing();

    int Count() const { return m_nCount; }
    // Writes the slot at the count and advances it, wrapping to 0.
    void Append(RAW_RECORD_SLOT slot);
    void Restart() { m_nCount = 0; }
    void Clear();
    // False for an index outside the ring.
    bool Slot(int index, RAW_RECORD_SLOT& slot) const;
    // Slots [first, last) appended to out.
    void CopySlots(int first, int last, std::vector<RAW_RECORD_SLOT>& out) const;
    // Test hook: pretend the ring has been filled up to count.
    void SetCount(int count);

private:
    std::unique_ptr<RAW_RECORD_SLOT[]> m_aSlots;
    int m_nCount = 0;
};
