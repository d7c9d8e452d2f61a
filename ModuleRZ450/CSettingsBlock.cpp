#include "CSettingsBlock.h"

#include <cstring>

quint8 CSettingsBlock::operator[](int index) const
{
    return index >= 0 && index < SIZE ? m_aBytes[index] : 0;
}

void CSettingsBlock::Set(int index, quint8 value)
{
    if (index < 0 || index >= SIZE)
        return;
    m_aBytes[index] = value;
    if (index < SENT)
        m_held.set(index);
}

bool CSettingsBlock::SetData(const QByteArray& data)
{
    if (data.size() != SIZE)
        return false;
    std::memcpy(m_aBytes.data(), data.constData(), SIZE);
    m_held.set();
    return true;
}

QByteArray CSettingsBlock::Data() const
{
    return QByteArray(reinterpret_cast<const char*>(m_aBytes.data()), SIZE);
}

void CSettingsBlock::ApplyReported(const quint8* settings)
{
    const std::bitset<SENT> kept = m_held | m_inFlight;
    for (int i = 0; i < SENT; ++i) {
        if (!kept.test(i))
            m_aBytes[i] = settings[i];
    }
}

void CSettingsBlock::TakeWrite(char* out)
{
    std::memcpy(out, m_aBytes.data(), SENT);
    m_inFlight |= m_held;
    m_held.reset();
}

void CSettingsBlock::FinishWrite(bool sent)
{
    if (!sent)
        m_held |= m_inFlight;
    m_inFlight.reset();
}
