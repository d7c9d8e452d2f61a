#include "CRecordingReader.h"

#include <algorithm>

CRecordingReader::CRecordingReader(qint64 chunkBytes)
    : m_nChunkBytes(std::max<qint64>(1, chunkBytes))
{
}

bool CRecordingReader::Open(const QString& path)
{
    m_file.close();
    m_file.setFileName(path);
    m_rest.clear();
    m_strDevice.clear();
    m_bEnd = true;
    m_eStatus = CRecordingCodec::NotARecording;
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    m_eStatus = CRecordingCodec::Decode(m_file.read(CRecordingCodec::HEADER_SIZE)).status;
    m_bEnd = m_eStatus != CRecordingCodec::Whole;
    return !m_bEnd;
}

bool CRecordingReader::Next(CRecordingCodec::CONTENTS& piece)
{
    if (m_bEnd)
        return false;
    const QByteArray chunk = m_file.read(m_nChunkBytes);
    const QByteArray bytes = m_rest + chunk;
    piece = CRecordingCodec::DecodeFrames(bytes);
    if (!piece.device.isEmpty())
        m_strDevice = piece.device;
    m_rest = bytes.sliced(piece.validBytes);
    // A cut frame is only a cut at the end of the file; before, it goes on
    // in the next chunk.
    if (piece.status == CRecordingCodec::Damaged || chunk.isEmpty()) {
        m_bEnd = true;
        m_eStatus = piece.status;
    }
    return true;
}
