#pragma once

#include "RZ450Layout.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <bitset>

// The driver's copy of the detector's settings block. Status reports keep
// the bytes that travel current, except those the host has set: they are
// held against the reports until the write that carries them has gone out.
// Otherwise a report parsed between a change and its write puts the
// detector's old value back, and the write sends that.
class CSettingsBlock
{
public:
    static constexpr int SIZE = RZ450Layout::MENU_SIZE;
    // The first bytes come with every report and go with every write; the
    // rest never leave the PC.
    static constexpr int SENT = RZ450Layout::SETTINGS_SENT;

    // Out of range: 0, and setting it changes nothing.
    quint8 operator[](int index) const;
    void Set(int index, quint8 value);
    // Exactly SIZE bytes, or nothing changes.
    bool SetData(const QByteArray& data);
    QByteArray Data() const;

    // The SENT settings bytes of a status report.
    void ApplyReported(const quint8* settings);
    // The SENT bytes a write sends; the host's bytes among them are then in
    // flight until FinishWrite.
    void TakeWrite(char* out);
    // Not sent: the bytes stay held for the next write. A byte the host set
    // again while the write was on its way stays held either way.
    void FinishWrite(bool sent);

private:
    std::array<quint8, SIZE> m_aBytes {};
    std::bitset<SENT> m_held;
    std::bitset<SENT> m_inFlight;
};
