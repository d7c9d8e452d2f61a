#pragma once

#include "files/CRecordingCodec.h"

#include <QFile>

// A recording read a piece at a time: a weekend's recording is gigabytes,
// and its records decoded at once would not fit in memory. A piece is the
// whole frames of one chunk of bytes from where the last piece ended, so
// reading again from a piece's offset gives the same piece. Damage does not
// end the reading: a piece ends where the search for the next good frame
// needs the bytes that follow, and the next piece goes on from there.
class CRecordingReader
{
public:
    static constexpr qint64 CHUNK_BYTES = 8 << 20;

    explicit CRecordingReader(qint64 chunkBytes = CHUNK_BYTES);

    // Reads the header; false for a file that is no recording of this
    // version (Status tells which).
    bool Open(const QString& path);
    // The frames of the next piece; false once the end was reached before.
    bool Next(CRecordingCodec::CONTENTS& piece);
    // The same piece with its times only, for an index of the file.
    bool Next(CRecordingCodec::TIMES& piece);
    // Where the next piece starts.
    qint64 Offset() const { return m_nOffset; }
    // Reading goes on from a piece's offset, as Offset gave it.
    void SeekTo(qint64 offset);
    // After the end: Whole, Cut or Damaged (damage anywhere); before Open
    // succeeded, why not.
    CRecordingCodec::Status Status() const { return m_eStatus; }
    // The damage passed since Open or SeekTo, in file offsets; a piece's own
    // damage comes in file offsets too.
    const QList<CRecordingCodec::DAMAGE>& Damage() const { return m_damage; }
    QString Device() const { return m_strDevice; }
    QString ErrorString() const { return m_file.errorString(); }

private:
    template <typename Piece, typename Decode>
    bool Read(Piece& piece, Decode decode);
    void AddDamage(QList<CRecordingCodec::DAMAGE>& damage);

    qint64 m_nChunkBytes;
    QFile m_file;
    qint64 m_nOffset = 0;
    CRecordingCodec::Status m_eStatus = CRecordingCodec::NotARecording;
    QString m_strDevice;
    QList<CRecordingCodec::DAMAGE> m_damage;
    quint16 m_nVersion = CRecordingCodec::VERSION;
    bool m_bEnd = true;
};
