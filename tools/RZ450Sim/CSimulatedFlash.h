#pragma once

#include <QByteArray>
#include <QDateTime>

// The detector's event log flash: a ring of 267-byte blocks, each holding up
// to eight 32-byte event entries of one bank. Not thread-safe on its own; the
// simulator guards it with its mutex.
class CSimulatedFlash
{
public:
    static constexpr int BLOCKS = 1000;
    static constexpr int BLOCK_SIZE = 267;
    static constexpr int ENTRIES = 8;
    static constexpr int ENTRY_SIZE = 32;
    static constexpr quint8 MARKER = 0xAE;

    struct Event
    {
        int band = 0;
        int level = 0;
        int threshold = 0;
        QDateTime when;
        int duration = 0;
    };

    CSimulatedFlash();

    void Clear();
    // Appends to the block being filled while it belongs to `bank` and has a
    // free entry; otherwise opens the next block of the ring.
    void Add(int bank, const Event& event);
    // `blocks` full blocks spread over `banks` consecutive banks starting at
    // `firstBank`; returns the last bank used.
    int Fill(int blocks, int banks, int firstBank, const QDateTime& end);
    // Every block in use, the newest bank `newestBank` at the front of the ring.
    void FillWrapped(int newestBank, const QDateTime& end);

    int UsedBlocks() const { return m_used; }
    bool Wrapped() const { return m_used == BLOCKS; }
    // Block `index` exactly as the detector sends it; past the ring an erased
    // block, which reads as the end of the log.
    QByteArray Block(int index) const;

private:
    char* BlockData(int index);
    void OpenBlock(int bank);
    void WriteEntry(int block, int slot, const Event& event);
    void Seal(int block);
    static QByteArray ErasedBlock();

    QByteArray m_data;
    int m_next = 0;  // block the ring writes next
    int m_open = -1; // block being filled, -1 none
    int m_used = 0;
};
