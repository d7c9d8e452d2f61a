#include "CSimulatedFlash.h"

#include <algorithm>

namespace {

constexpr int MARKER_BYTE = 256;
constexpr int BANK_BYTE = 257;
constexpr int COUNT_BYTE = 259;
constexpr int CHECKED_BYTES = 264;
constexpr int CHECKSUM_BYTE = 266;
constexpr int EVENT_SPACING = 60; // seconds between generated events
constexpr int WRAP_NEWEST_BLOCKS = 100;
constexpr int WRAP_OLDER_BANKS = 4;

// Bands that the generated logs cycle through: the handset bands a user
// meets most.
constexpr int FILL_BANDS[] = { 1, 2, 3, 4, 7, 9, 12, 0, 8, 13 };

quint8 Checksum(const char* block)
{
    unsigned sum = 0;
    for (int i = 0; i < CHECKED_BYTES; ++i)
        sum += static_cast<quint8>(block[i]);
    return static_cast<quint8>(sum);
}

CSimulatedFlash::Event FillEvent(int serial, const QDateTime& when)
{
    CSimulatedFlash::Event event;
    event.band = FILL_BANDS[serial % std::size(FILL_BANDS)];
    event.threshold = 50;
    event.level = 52 + serial % 23;
    event.when = when;
    event.duration = 1 + serial % 90;
    return event;
}

} // namespace

CSimulatedFlash::CSimulatedFlash()
{
    Clear();
}

void CSimulatedFlash::Clear()
{
    const QByteArray erased = ErasedBlock();
    m_data.clear();
    m_data.reserve(BLOCKS * BLOCK_SIZE);
    for (int i = 0; i < BLOCKS; ++i)
        m_data.append(erased);
    m_next = 0;
    m_open = -1;
    m_used = 0;
}

void CSimulatedFlash::Add(int bank, const Event& event)
{
    if (m_open < 0) {
        OpenBlock(bank);
    } else {
        const char* block = BlockData(m_open);
        const int openBank = static_cast<quint8>(block[BANK_BYTE]) | (static_cast<quint8>(block[BANK_BYTE + 1]) << 8);
        if (openBank != (bank & 0xFFFF) || static_cast<quint8>(block[COUNT_BYTE]) >= ENTRIES)
            OpenBlock(bank);
    }
    char* block = BlockData(m_open);
    const int slot = static_cast<quint8>(block[COUNT_BYTE]);
    WriteEntry(m_open, slot, event);
    block[COUNT_BYTE] = static_cast<char>(slot + 1);
    Seal(m_open);
}

int CSimulatedFlash::Fill(int blocks, int banks, int firstBank, const QDateTime& end)
{
    Clear();
    blocks = std::clamp(blocks, 0, BLOCKS);
    banks = std::clamp(banks, 1, std::max(blocks, 1));
    const int events = blocks * ENTRIES;
    int serial = 0;
    int bank = firstBank;
    for (int b = 0; b < banks; ++b) {
        bank = firstBank + b;
        // Earlier banks take the even share; the last one the remainder.
        const int share = (b + 1 < banks) ? blocks / banks : blocks - (banks - 1) * (blocks / banks);
        for (int i = 0; i < share * ENTRIES; ++i, ++serial)
            Add(bank, FillEvent(serial, end.addSecs(qint64(serial - events) * EVENT_SPACING)));
    }
    return bank;
}

void CSimulatedFlash::FillWrapped(int newestBank, const QDateTime& end)
{
    Clear();
    // The ring was last written past its end exactly when the newest bank
    // began: its blocks lead the ring and the older banks follow in order.
    m_next = WRAP_NEWEST_BLOCKS;
    const int olderBlocks = (BLOCKS - WRAP_NEWEST_BLOCKS) / WRAP_OLDER_BANKS;
    const int events = BLOCKS * ENTRIES;
    int serial = 0;
    for (int b = WRAP_OLDER_BANKS; b >= 0; --b) {
        const int bank = (newestBank - b) & 0xFFFF;
        const int count = (b == 0) ? WRAP_NEWEST_BLOCKS : olderBlocks;
        for (int i = 0; i < count * ENTRIES; ++i, ++serial)
            Add(bank, FillEvent(serial, end.addSecs(qint64(serial - events) * EVENT_SPACING)));
    }
}

QByteArray CSimulatedFlash::Block(int index) const
{
    if (index < 0 || index >= BLOCKS)
        return ErasedBlock();
    return m_data.mid(index * BLOCK_SIZE, BLOCK_SIZE);
}

char* CSimulatedFlash::BlockData(int index)
{
    return m_data.data() + index * BLOCK_SIZE;
}

void CSimulatedFlash::OpenBlock(int bank)
{
    char* block = BlockData(m_next);
    std::fill(block, block + BLOCK_SIZE, 0);
    block[MARKER_BYTE] = static_cast<char>(MARKER);
    block[BANK_BYTE] = static_cast<char>(bank & 0xFF);
    block[BANK_BYTE + 1] = static_cast<char>((bank >> 8) & 0xFF);
    m_open = m_next;
    m_next = (m_next + 1) % BLOCKS;
    m_used = std::min(m_used + 1, BLOCKS);
}

void CSimulatedFlash::WriteEntry(int block, int slot, const Event& event)
{
    char* entry = BlockData(block) + slot * ENTRY_SIZE;
    const QDate date = event.when.date();
    const QTime time = event.when.time();
    const int duration = std::clamp(event.duration, 0, 0xFFFF);
    entry[0] = static_cast<char>(MARKER);
    entry[1] = static_cast<char>(event.band);
    entry[2] = static_cast<char>(event.level);
    entry[3] = static_cast<char>(event.threshold);
    entry[5] = static_cast<char>(time.hour());
    entry[6] = static_cast<char>(time.minute());
    entry[7] = static_cast<char>(time.second());
    entry[8] = static_cast<char>(date.day() - 1);
    entry[9] = static_cast<char>(date.month() - 1);
    entry[10] = static_cast<char>(duration & 0xFF);
    entry[11] = static_cast<char>(duration >> 8);
}

void CSimulatedFlash::Seal(int block)
{
    char* data = BlockData(block);
    data[CHECKSUM_BYTE] = static_cast<char>(Checksum(data));
}

QByteArray CSimulatedFlash::ErasedBlock()
{
    // Erased flash reads 0xFF; the detector still sends a valid checksum so
    // the host can tell a clean end of the log from a damaged block.
    QByteArray block(BLOCK_SIZE, static_cast<char>(0xFF));
    block[CHECKSUM_BYTE] = static_cast<char>(Checksum(block.constData()));
    return block;
}
