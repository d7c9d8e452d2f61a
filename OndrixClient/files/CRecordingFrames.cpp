#include "files/CRecordingFrames.h"

#include "files/CByteWriter.h"

#include "Crc32.h"

#include <QtEndian>

namespace {

const QByteArrayView SYNC_VIEW(CRecordingFrames::SYNC, sizeof(CRecordingFrames::SYNC));

} // namespace

CRecordingFrames::CRecordingFrames(QByteArrayView bytes, quint16 version, bool toEnd)
    : m_bytes(bytes)
    , m_bSync(version >= 2)
    , m_bToEnd(toEnd)
{
}

QByteArray CRecordingFrames::Make(quint8 kind, QByteArrayView payload)
{
    CByteWriter writer;
    writer.m_bytes.reserve(Size(payload.size()));
    writer.m_bytes.append(SYNC_VIEW);
    writer.Put<quint8>(kind);
    writer.Put<quint32>(quint32(payload.size()));
    writer.m_bytes.append(payload);
    writer.Put<quint32>(Crc32::Of(QByteArrayView(writer.m_bytes).sliced(SYNC_VIEW.size())));
    return writer.m_bytes;
}

bool CRecordingFrames::AtEnd(QByteArrayView bytes, quint8 kind, qsizetype payloadSize, QByteArrayView& payload)
{
    const qsizetype size = Size(payloadSize);
    if (bytes.size() < size)
        return false;
    const CRecordingFrames frames(bytes.last(size), CRecordingCodec::VERSION, true);
    FRAME frame;
    if (frames.At(0, true, frame) != Good || frame.kind != kind || frame.size != size)
        return false;
    payload = frame.payload;
    return true;
}

CRecordingCodec::Status CRecordingFrames::Status() const
{
    if (!m_damage.isEmpty())
        return CRecordingCodec::Damaged;
    return m_bCut ? CRecordingCodec::Cut : CRecordingCodec::Whole;
}

bool CRecordingFrames::Next(FRAME& frame)
{
    while (!m_bEnd) {
        if (m_nPos >= m_bytes.size()) {
            End(CRecordingCodec::Whole, m_nPos);
            break;
        }
        const Check check = At(m_nPos, true, frame);
        if (check == Good) {
            m_nPos += frame.size;
            m_nValid = m_nPos;
            return true;
        }
        if (check == Beyond && !m_bToEnd)
            End(CRecordingCodec::Cut, m_nPos); // goes on in the next piece
        else
            Resync(m_nPos, check == Beyond);
    }
    return false;
}

// A frame going past the end (cutHere) was cut while being written, unless
// a whole one checks out after it: then its length was damaged.
bool CRecordingFrames::Resync(qsizetype pos, bool cutHere)
{
    qsizetype firstBeyond = -1;
    FRAME frame;
    for (qsizetype c = NextCandidate(pos + 1); c < m_bytes.size(); c = NextCandidate(c + 1)) {
        const Check check = At(c, false, frame);
        if (check == Good) {
            AddDamage(pos, c);
            m_nPos = c;
            return true;
        }
        if (check == Beyond && !m_bToEnd) {
            // Decided by the bytes that follow: the next piece starts here.
            AddDamage(pos, c);
            End(CRecordingCodec::Cut, c);
            return false;
        }
        if (check == Beyond && firstBeyond < 0)
            firstBeyond = c;
    }
    if (cutHere) {
        End(CRecordingCodec::Cut, pos);
    } else if (!m_bToEnd) {
        AddDamage(pos, m_bytes.size());
        End(CRecordingCodec::Cut, m_bytes.size());
    } else if (firstBeyond >= 0) {
        // Damage, then the frame being written when the file was cut.
        AddDamage(pos, firstBeyond);
        End(CRecordingCodec::Cut, firstBeyond);
    } else {
        AddDamage(pos, m_bytes.size());
        End(CRecordingCodec::Damaged, pos);
    }
    return false;
}

qsizetype CRecordingFrames::NextCandidate(qsizetype pos) const
{
    if (!m_bSync || pos >= m_bytes.size())
        return pos;
    const qsizetype found = m_bytes.indexOf(SYNC_VIEW, pos);
    if (found >= 0)
        return found;
    // A marker cut by the end of the bytes.
    for (qsizetype p = std::max(pos, m_bytes.size() - SYNC_VIEW.size() + 1); p < m_bytes.size(); ++p)
        if (SYNC_VIEW.startsWith(m_bytes.sliced(p)))
            return p;
    return m_bytes.size();
}

CRecordingFrames::Check CRecordingFrames::At(qsizetype pos, bool anyKind, FRAME& frame) const
{
    if (!m_bSync)
        return AtV1(pos, anyKind, frame);
    const QByteArrayView rest = m_bytes.sliced(pos);
    if (rest.size() < SYNC_VIEW.size())
        return SYNC_VIEW.startsWith(rest) ? Beyond : Bad;
    if (rest.first(SYNC_VIEW.size()) != SYNC_VIEW)
        return Bad;
    return Checked(pos, HEAD, frame);
}

CRecordingFrames::Check CRecordingFrames::AtV1(qsizetype pos, bool anyKind, FRAME& frame) const
{
    // The cheap filter first: most bytes are no kind version 1 had.
    const quint8 kind = quint8(m_bytes.at(pos));
    if (!anyKind && (kind == 0 || kind > CRecordingCodec::KIND_DEVICE))
        return Bad;
    return Checked(pos, V1_HEAD, frame);
}

CRecordingFrames::Check CRecordingFrames::Checked(qsizetype pos, qsizetype head, FRAME& frame) const
{
    const qsizetype left = m_bytes.size() - pos;
    if (left < head)
        return Beyond;
    const char* kindAt = m_bytes.data() + pos + head - V1_HEAD;
    const quint32 length = qFromLittleEndian<quint32>(kindAt + 1);
    if (length > CRecordingCodec::MAX_PAYLOAD)
        return Bad;
    const qsizetype size = head + qsizetype(length) + CHECK;
    if (left < size)
        return Beyond;
    if (qFromLittleEndian<quint32>(kindAt + V1_HEAD + length) != Crc32::Of(QByteArrayView(kindAt, V1_HEAD + length)))
        return Bad;
    frame = FRAME { quint8(*kindAt), m_bytes.sliced(pos + head, length), pos, size };
    return Good;
}

void CRecordingFrames::AddDamage(qsizetype from, qsizetype to)
{
    if (!m_damage.isEmpty() && m_damage.last().offset + m_damage.last().bytes == from)
        m_damage.last().bytes += to - from;
    else
        m_damage.append({ from, to - from });
}

void CRecordingFrames::End(CRecordingCodec::Status status, qsizetype valid)
{
    m_bEnd = true;
    m_bCut = status == CRecordingCodec::Cut;
    m_nValid = valid;
}
