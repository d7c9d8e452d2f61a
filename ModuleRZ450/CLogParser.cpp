#include "CLogParser.h"

#include "CRecordConverter.h"
#include "RAW_RECORD_SLOT.h"

#include <algorithm>

using namespace RZ450Layout::Log;

namespace {

bool InUse(const quint8* block)
{
    return block[CLogParser::BLOCK_MARKER] == CLogParser::MARKER;
}

int BankOf(const quint8* block)
{
    return block[CLogParser::BLOCK_BANK] | (block[CLogParser::BLOCK_BANK + 1] << 8);
}

RAW_RECORD_SLOT SlotOf(const quint8* entry)
{
    RAW_RECORD_SLOT slot;
    slot.marker = entry[ENTRY_MARKER];
    slot.band = entry[ENTRY_BAND];
    slot.level = entry[ENTRY_LEVEL];
    slot.threshold = entry[ENTRY_THRESHOLD];
    slot.hour = entry[ENTRY_HOUR];
    slot.minute = entry[ENTRY_MINUTE];
    slot.second = entry[ENTRY_SECOND];
    slot.day = static_cast<quint8>(entry[ENTRY_DAY] + 1);
    slot.month = static_cast<quint8>(entry[ENTRY_MONTH] + 1);
    slot.duration = static_cast<quint16>(entry[ENTRY_DURATION] | (entry[ENTRY_DURATION + 1] << 8));
    slot.stamp = slot.hour * 3600 + slot.minute * 60 + slot.second;
    return slot;
}

QString BankName(const RAW_RECORD_SLOT& first)
{
    auto two = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("log_") + two(first.month) + two(first.day) + QLatin1Char('_') + two(first.hour)
        + two(first.minute) + QStringLiteral(".ldf");
}

class CBankCollector
{
public:
    explicit CBankCollector(int year)
        : m_converter(year)
    {
    }

    void Block(const quint8* block)
    {
        const int bank = BankOf(block);
        if (bank != m_nBank) {
            Flush();
            m_nBank = bank;
        }
        // A count above eight would reach past the entries into the block's
        // trailer.
        const int entries = std::min<int>(block[CLogParser::BLOCK_ENTRY_COUNT], CLogParser::ENTRIES_PER_BLOCK);
        for (int k = 0; k < entries; ++k) {
            const quint8* entry = block + k * CLogParser::ENTRY_SIZE;
            if (entry[ENTRY_MARKER] == CLogParser::MARKER)
                Event(SlotOf(entry));
        }
    }

    // A bank without events has no name to be stored under; it is dropped.
    void Flush()
    {
        if (!m_current.records.isEmpty())
            m_output.append(m_current);
        m_current = CLogRecord();
    }

    void Start(int bank) { m_nBank = bank; }
    QList<CLogRecord> Output() const { return m_output; }

private:
    void Event(const RAW_RECORD_SLOT& slot)
    {
        if (m_current.records.isEmpty()) {
            m_current.name = BankName(slot);
            m_current.type = 2;
        }
        m_current.records.append(m_converter.Convert(slot));
    }

    CRecordConverter m_converter;
    QList<CLogRecord> m_output;
    CLogRecord m_current;
    int m_nBank = -1;
};

} // namespace

quint8 CLogParser::Checksum(const quint8* block)
{
    unsigned sum = 0;
    for (int i = 0; i < CHECKSUM_SPAN; ++i)
        sum += block[i];
    return static_cast<quint8>(sum & 0xFF);
}

bool CLogParser::ChecksumOk(const quint8* block)
{
    return Checksum(block) == block[BLOCK_CHECKSUM];
}

QList<CLogRecord> CLogParser::Parse(const quint8* blocks, int blockCount, int year)
{
    if (!blocks || blockCount <= 0)
        return {};
    auto block = [blocks](int j) { return blocks + static_cast<size_t>(j) * BLOCK_SIZE; };

    // When the last block is in use the detector has written the ring all
    // the way round: the oldest data then starts after the run of blocks
    // that carry the bank of block 0, and the reading goes round from there.
    int start = 0;
    if (InUse(block(blockCount - 1))) {
        const int newestBank = BankOf(block(0));
        while (start < blockCount && InUse(block(start)) && BankOf(block(start)) == newestBank)
            ++start;
        if (start == blockCount)
            start = 0;
    }

    CBankCollector collector(year);
    collector.Start(BankOf(block(start)));
    for (int n = 0; n < blockCount; ++n) {
        const quint8* b = block((start + n) % blockCount);
        if (InUse(b))
            collector.Block(b);
    }
    collector.Flush();
    return collector.Output();
}
