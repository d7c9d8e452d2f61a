#include "CRecordRing.h"

#include <algorithm>

CRecordRing::CRecordRing()
    : m_aSlots(new RAW_RECORD_SLOT[CAPACITY])
{
}

void CRecordRing::Append(RAW_RECORD_SLOT slot)
{
    slot.index = static_cast<quint16>(m_nCount);
    m_aSlots[m_nCount] = slot;
    if (++m_nCount >= CAPACITY)
        m_nCount = 0;
}

void CRecordRing::Clear()
{
    std::fill(m_aSlots.get(), m_aSlots.get() + CAPACITY, RAW_RECORD_SLOT());
    m_nCount = 0;
}

bool CRecordRing::Slot(int index, RAW_RECORD_SLOT& slot) const
{
    if (index < 0 || index >= CAPACITY)
        return false;
    slot = m_aSlots[index];
    return true;
}

void CRecordRing::CopySlots(int first, int last, std::vector<RAW_RECORD_SLOT>& out) const
{
    first = std::clamp(first, 0, CAPACITY);
    last = std::clamp(last, first, CAPACITY);
    out.insert(out.end(), m_aSlots.get() + first, m_aSlots.get() + last);
}

void CRecordRing::SetCount(int count)
{
    m_nCount = std::clamp(count, 0, CAPACITY - 1);
}
