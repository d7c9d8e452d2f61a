#include "files/CRecordingReader.h"

#include <algorithm>

CRecordingReader::CRecordingReader(qint64 chunkBytes)
    : m_nChunkBytes(std::max<qint64>(1, chunkBytes))
{
}

bool CRecordingReader::Open(const QString& path)
{
    m_file.close();
    m_file.setFileName(path);
    m_strDevice.clear();
    m_damage.clear();
    m_bEnd = true;
    m_nOffset = CRecordingCodec::HEADER_SIZE;
    m_eStatus = CRecordingCodec::NotARecording;
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = m_file.read(CRecordingCodec::HEADER_SIZE);
    m_eStatus = CRecordingCodec::Decode(header).status;
    m_nVersion = CRecordingCodec::HeaderVersion(header);
    m_bEnd = m_eStatus != CRecordingCodec::Whole;
    return !m_bEnd;
}

bool CRecordingReader::Next(CRecordingCodec::CONTENTS& piece)
{
    return Read(piece, &CRecordingCodec::DecodeFrames);
}

bool CRecordingReader::Next(CRecordingCodec::TIMES& piece)
{
    return Read(piece, &CRecordingCodec::ScanFrames);
}

void CRecordingReader::SeekTo(qint64 offset)
{
    m_nOffset = std::max<qint64>(CRecordingCodec::HEADER_SIZE, offset);
    m_damage.clear();
    m_bEnd = !m_file.isOpen();
    m_eStatus = m_bEnd ? CRecordingCodec::NotARecording : CRecordingCodec::Whole;
}

template <typename Piece, typename Decode>
bool CRecordingReader::Read(Piece& piece, Decode decode)
{
    if (m_bEnd)
        return false;
    // A frame longer than a chunk is read with a chunk large enough.
    for (qint64 size = m_nChunkBytes;; size *= 2) {
        const QByteArray bytes = m_file.seek(m_nOffset) ? m_file.read(size) : QByteArray();
        const bool atEnd = bytes.size() < size;
        piece = decode(bytes, m_nVersion, atEnd);
        if (piece.status == CRecordingCodec::Cut && piece.validBytes == 0 && !atEnd)
            continue;
        if (!piece.device.isEmpty())
            m_strDevice = piece.device;
        AddDamage(piece.damage);
        m_nOffset += piece.validBytes;
        // A cut frame is only a cut at the end of the file; before, it goes
        // on in the next piece.
        if (atEnd) {
            m_bEnd = true;
            m_eStatus = m_damage.isEmpty() ? piece.status : CRecordingCodec::Damaged;
        }
        return true;
    }
}

// To file offsets; damage running on from the last piece is one place.
void CRecordingReader::AddDamage(QList<CRecordingCodec::DAMAGE>& damage)
{
    for (CRecordingCodec::DAMAGE& place : damage) {
        place.offset += m_nOffset;
        if (!m_damage.isEmpty() && m_damage.last().offset + m_damage.last().bytes == place.offset)
            m_damage.last().bytes += place.bytes;
        else
            m_damage.append(place);
    }
}
