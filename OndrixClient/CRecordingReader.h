#pragma once

#include "CRecordingCodec.h"

#include <QFile>

// A recording read a piece at a time: a weekend's recording is gigabytes,
// and its records decoded at once would not fit in memory.
class CRecordingReader
{
public:
    static constexpr qint64 CHUNK_BYTES = 8 << 20;

    explicit CRecordingReader(qint64 chunkBytes = CHUNK_BYTES);

    // Reads the header; false for a file that is no recording of this
    // version (Status tells which).
    bool Open(const QString& path);
    // The frames of the next chunk; false once the end was reached before.
    bool Next(CRecordingCodec::CONTENTS& piece);
    // After the end: Whole, Cut or Damaged; before Open succeeded, why not.
    CRecordingCodec::Status Status() const { return m_eStatus; }
    QString Device() const { return m_strDevice; }

private:
    qint64 m_nChunkBytes;
    QFile m_file;
    QByteArray m_rest; // the start of a frame that goes on in the next chunk
    CRecordingCodec::Status m_eStatus = CRecordingCodec::NotARecording;
    QString m_strDevice;
    bool m_bEnd = true;
};
