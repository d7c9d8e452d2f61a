#pragma once

#include "files/CRecordingCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The frames of a recording found in its bytes, one after the other, and
// the damage between them: a frame that fails its check or its length
// limit is skipped up to where a whole frame checks out again. With the
// sync marker (version 2 on) that is the next marker; in version 1 any
// later byte, where a frame of a known kind must check out.
class CRecordingFrames
{
public:
    struct FRAME
    {
        quint8 kind = 0;
        QByteArrayView payload;
        qsizetype offset = 0;
        qsizetype size = 0;
    };

    static constexpr char SYNC[4] = { char(0xB7), char(0x1D), char(0xE4), char(0x8A) };

    // toEnd: the bytes run to the end of the file, so what goes past them
    // was cut; otherwise it goes on in the next piece.
    CRecordingFrames(QByteArrayView bytes, quint16 version, bool toEnd);

    // The next whole frame that checks out; false at the end.
    bool Next(FRAME& frame);
    // A frame that checks out but has not its kind's form is damage.
    void Reject(const FRAME& frame) { AddDamage(frame.offset, frame.offset + frame.size); }
    CRecordingCodec::Status Status() const;
    qint64 ValidBytes() const { return m_nValid; }
    const QList<CRecordingCodec::DAMAGE>& Damage() const { return m_damage; }

    static QByteArray Make(quint8 kind, QByteArrayView payload);
    static qsizetype Size(qsizetype payload) { return HEAD + payload + CHECK; }
    // The payload of a frame of this kind and payload size that ends the
    // bytes and checks out.
    static bool AtEnd(QByteArrayView bytes, quint8 kind, qsizetype payloadSize, QByteArrayView& payload);

private:
    enum Check { Good, Bad, Beyond };  // Beyond: it would go past the bytes
    static constexpr int HEAD = 4 + 5; // sync, kind and length
    static constexpr int V1_HEAD = 5;
    static constexpr int CHECK = 4;

    Check At(qsizetype pos, bool anyKind, FRAME& frame) const;
    Check AtV1(qsizetype pos, bool anyKind, FRAME& frame) const;
    Check Checked(qsizetype pos, qsizetype head, FRAME& frame) const;
    // From a damaged frame at pos: true when reading goes on.
    bool Resync(qsizetype pos, bool cutHere);
    qsizetype NextCandidate(qsizetype pos) const;
    void AddDamage(qsizetype from, qsizetype to);
    void End(CRecordingCodec::Status status, qsizetype valid);

    QByteArrayView m_bytes;
    bool m_bSync;
    bool m_bToEnd;
    qsizetype m_nPos = 0;
    qint64 m_nValid = 0;
    bool m_bEnd = false;
    bool m_bCut = false;
    QList<CRecordingCodec::DAMAGE> m_damage;
};
