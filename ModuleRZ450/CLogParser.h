#pragma once

#include "CLogRecord.h"

#include <QtGlobal>

// Turns the downloaded flash blocks into log banks. A pure codec: it reads
// only inside the blocks it is given, whatever they hold.
class CLogParser
{
public:
    static constexpr int BLOCK_SIZE = 267;
    static constexpr int ENTRY_SIZE = 32;
    static constexpr int ENTRIES_PER_BLOCK = 8;
    static constexpr int BLOCK_MARKER = 256;
    static constexpr int BLOCK_BANK = 257;
    static constexpr int BLOCK_ENTRY_COUNT = 259;
    static constexpr int BLOCK_CHECKSUM = 266;
    static constexpr int CHECKSUM_SPAN = 264;
    static constexpr quint8 MARKER = 0xAE;

    static bool ChecksumOk(const quint8* block);
    static quint8 Checksum(const quint8* block);
    // year: the PC's current year, which the detector does not store.
    static QList<CLogRecord> Parse(const quint8* blocks, int blockCount, int year);
};
