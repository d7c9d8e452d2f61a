#pragma once

#include "RZ450Layout.h"

#include <QtGlobal>

#include <memory>
#include <vector>

// The event log as the last download left it: the detector's flash blocks in
// order, and the progress figure the client polls. Not thread-safe by
// itself; the device guards it.
class CLogBuffer
{
public:
    static constexpr int BLOCKS = RZ450Layout::Log::BLOCKS;
    static constexpr int BLOCK_SIZE = RZ450Layout::Log::BLOCK_SIZE;

    CLogBuffer();

    // A download posted: a client polling right after posting must not read
    // the previous download's final figure.
    void Post() { m_nProgress = 0; }
    void Begin() { m_nGoodBlocks = 0; }
    // Keeps the block as it arrived; false when the download ends with it:
    // a bad checksum, or the end of the log.
    bool Store(int block, const quint8* data);
    // Done when the end of the log or the last block was reached.
    void Finish();

    int Progress() const { return m_nProgress; }
    std::vector<quint8> Copy() const;

private:
    std::unique_ptr<quint8[]> m_aBlocks;
    int m_nGoodBlocks = 0;
    int m_nProgress = 0;
};
