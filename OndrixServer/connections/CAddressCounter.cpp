#include "connections/CAddressCounter.h"

#include "security/CPeerPolicy.h"

#include <algorithm>

CAddressCounter::CAddressCounter(int total, int perOrigin)
    : m_nTotal(total)
    , m_nPerOrigin(std::max(1, std::min(perOrigin, total / 2)))
{
}

CAddressCounter::Admission CAddressCounter::Add(const QHostAddress& peer)
{
    if (m_nCount >= m_nTotal)
        return ServerFull;
    int& count = m_byOrigin[CPeerPolicy::Origin(peer)];
    if (count >= m_nPerOrigin)
        return AddressFull;
    ++count;
    ++m_nCount;
    return Admitted;
}

void CAddressCounter::Remove(const QHostAddress& peer)
{
    const auto it = m_byOrigin.find(CPeerPolicy::Origin(peer));
    if (it == m_byOrigin.end())
        return;
    --m_nCount;
    // Forgotten once it holds none, so the table never outgrows the
    // connections.
    if (--it.value() <= 0)
        m_byOrigin.erase(it);
}

void CAddressCounter::Clear()
{
    m_byOrigin.clear();
    m_nCount = 0;
}
