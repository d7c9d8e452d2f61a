// Fuzz target: any bytes, cut into whole flash blocks, must parse without a
// read outside them and without an event too many.
#include "CLogParser.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int blocks = static_cast<int>(size / CLogParser::BLOCK_SIZE);
    // An exact-size copy, so that the sanitizers see a read past the end.
    std::vector<quint8> exact(data, data + static_cast<std::size_t>(blocks) * CLogParser::BLOCK_SIZE);
    const QList<CLogRecord> banks = CLogParser::Parse(exact.data(), blocks, 2026);
    qsizetype events = 0;
    for (const CLogRecord& bank : banks) {
        if (bank.records.isEmpty() || bank.type != 2)
            std::abort();
        events += bank.records.size();
    }
    if (events > qsizetype(blocks) * CLogParser::ENTRIES_PER_BLOCK)
        std::abort();
    return 0;
}
