#include "CLogBuffer.h"

#include "CLogParser.h"

#include <algorithm>
#include <cstring>

using namespace RZ450Layout::Log;

CLogBuffer::CLogBuffer()
    : m_aBlocks(new quint8[BLOCKS * BLOCK_SIZE]())
{
}

bool CLogBuffer::Store(int block, const quint8* data)
{
    quint8* stored = m_aBlocks.get() + block * BLOCK_SIZE;
    std::memcpy(stored, data, BLOCK_SIZE);
    if (!CLogParser::ChecksumOk(data))
        return false;
    ++m_nGoodBlocks;
    m_nProgress = std::min(PROGRESS_RUNNING_MAX, m_nGoodBlocks * 100 / PROGRESS_BLOCKS);
    if (data[BLOCK_MARKER] == MARKER)
        return true;
    // Blocks left over from an earlier, longer download must not come back
    // as events of this one.
    std::fill(stored + BLOCK_SIZE, m_aBlocks.get() + BLOCKS * BLOCK_SIZE, quint8(0));
    m_nGoodBlocks = BLOCKS;
    return false;
}

void CLogBuffer::Finish()
{
    m_nProgress = m_nGoodBlocks == BLOCKS ? PROGRESS_DONE : PROGRESS_FAILED;
}

std::vector<quint8> CLogBuffer::Copy() const
{
    return std::vector<quint8>(m_aBlocks.get(), m_aBlocks.get() + BLOCKS * BLOCK_SIZE);
}
