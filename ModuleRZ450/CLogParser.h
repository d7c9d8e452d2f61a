#pragma once

#include "CLogRecord.h"
#include "RZ450Layout.h"

#include <QtGlobal>

// Turns the downloaded flash blocks into log banks. A pure codec: it reads
// only inside the blocks it is given, whatever they hold.
class CLogParser
{
public:
    static constexpr int BLOCK_SIZE = RZ450Layout::Log::BLOCK_SIZE;
    static constexpr int ENTRY_SIZE = RZ450Layout::Log::ENTRY_SIZE;
    static constexpr int ENTRIES_PER_BLOCK = RZ450Layout::Log::ENTRIES_PER_BLOCK;
    static constexpr int BLOCK_MARKER = RZ450Layout::Log::BLOCK_MARKER;
    static constexpr int BLOCK_BANK = RZ450Layout::Log::BLOCK_BANK;
    static constexpr int BLOCK_ENTRY_COUNT = RZ450Layout::Log::BLOCK_ENTRY_COUNT;
    static constexpr int BLOCK_CHECKSUM = RZ450Layout::Log::BLOCK_CHECKSUM;
    static constexpr int CHECKSUM_SPAN = RZ450Layout::Log::CHECKSUM_SPAN;
    static constexpr quint8 MARKER = RZ450Layout::Log::MARKER;

    static bool ChecksumOk(const quint8* block);
    static quint8 Checksum(const quint8* block);
    // year: the PC's current year, which the detector does not store.
    static QList<CLogRecord> Parse(const quint8* blocks, int blockCount, int year);
};
