#include "replay/CReplaySource.h"

#include "IDevice.h"
#include "files/CDataFile.h"
#include "files/CNotesFile.h"
#include "files/CRecordingReader.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A device type from the file goes into a message: a sane length only.
const int MAX_TYPE_SHOWN = 64;

bool IsRecording(QFile& file)
{
    // The header alone decodes as an empty recording (or a newer one);
    // anything else is taken for a data file.
    const CRecordingCodec::CONTENTS head = CRecordingCodec::Decode(file.peek(CRecordingCodec::HEADER_SIZE));
    return head.status != CRecordingCodec::NotARecording;
}

QList<quint64> TimesOf(const QList<CRecord>& records)
{
    QList<quint64> times;
    times.reserve(records.size());
    for (const CRecord& record : records)
        times.append(record.time);
    return times;
}

} // namespace

CReplaySource::CReplaySource(qint64 pieceBytes)
    : m_nPieceBytes(pieceBytes)
{
}

bool CReplaySource::Load(const QString& path, const QString& deviceType, QString& error)
{
    *this = CReplaySource(m_nPieceBytes);
    m_strPath = path;
    m_strName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("%1 cannot be opened: %2").arg(m_strName, file.errorString());
        return false;
    }
    m_bRecording = IsRecording(file);
    file.close();
    bool loaded = m_bRecording ? LoadRecording(deviceType, error) : LoadDataFile(deviceType, error);
    if (loaded && m_pieces.isEmpty()) {
        error = tr("%1 holds nothing to replay.").arg(m_strName);
        loaded = false;
    }
    if (!loaded)
        *this = CReplaySource(m_nPieceBytes);
    return loaded;
}

bool CReplaySource::LoadRecording(const QString& deviceType, QString& error)
{
    CRecordingReader reader(m_nPieceBytes);
    if (!reader.Open(m_strPath)) {
        CRecordingCodec::CONTENTS head;
        head.status = reader.Status();
        error = m_strName + QStringLiteral(": ") + CRecordingCodec::Describe(head);
        return false;
    }
    CRecordingCodec::TIMES piece;
    bool severalBands = false;
    int firstBand = -1;
    for (qint64 offset = reader.Offset(); reader.Next(piece); offset = reader.Offset()) {
        AddPiece(offset, piece.records, piece.sweeps, piece.sweepPlaces);
        m_notes += piece.notes;
        severalBands = severalBands || piece.severalBands
            || (firstBand >= 0 && piece.firstBand >= 0 && piece.firstBand != firstBand);
        firstBand = firstBand >= 0 ? firstBand : piece.firstBand;
    }
    // A recording cut before its device frame names no device: its records
    // are taken for this one's.
    if (!reader.Device().isEmpty() && reader.Device() != deviceType) {
        error = WrongDevice(reader.Device());
        return false;
    }
    if (reader.Status() != CRecordingCodec::Whole) {
        CRecordingCodec::CONTENTS end;
        end.status = reader.Status();
        end.validBytes = reader.Offset();
        end.damage = reader.Damage();
        m_strNote = CRecordingCodec::Describe(end);
    }
    m_nMode = severalBands ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
    return true;
}

bool CReplaySource::LoadDataFile(const QString& deviceType, QString& error)
{
    if (QFileInfo(m_strPath).size() > MAX_DATA_FILE_BYTES) {
        error = tr("%1 is larger than %2 MiB and is not replayed.").arg(m_strName).arg(MAX_DATA_FILE_BYTES >> 20);
        return false;
    }
    qint32 kind = 0;
    QString type;
    switch (CDataFile::Load(m_strPath, deviceType, m_records, kind, &type)) {
    case CDataFile::Ok:
        m_nMode = ModeOfKind(kind);
        AddPiece(0, TimesOf(m_records), {}, {});
        // Damaged notes cost the notes, never the replay.
        CNotesFile::Load(m_strPath, m_notes, m_strNote);
        return true;
    case CDataFile::WrongDevice: error = WrongDevice(type); return false;
    case CDataFile::OpenFailed: error = tr("%1 cannot be read.").arg(m_strName); return false;
    case CDataFile::Corrupt: break;
    }
    error = tr("%1 is neither a live recording nor a realtime data file, or it is damaged.").arg(m_strName);
    return false;
}

void CReplaySource::AddPiece(qint64 offset, const QList<quint64>& records, const QList<quint64>& sweeps,
    const QList<qsizetype>& places)
{
    if (records.isEmpty() && sweeps.isEmpty())
        return;
    PIECE piece { offset, m_state, 0, 0, m_nEntries };
    bool first = true;
    CReplaySchedule::Merge(m_state, records, sweeps, places, [&piece, &first](qint64 at, quint64 time, int, bool) {
        if (!first)
            return;
        piece.firstAt = at;
        piece.firstTime = time;
        first = false;
    });
    m_pieces.append(piece);
    m_nLength = m_state.at;
    m_nRecords += records.size();
    m_nSweeps += sweeps.size();
    m_nEntries += records.size() + sweeps.size();
}

bool CReplaySource::Read(int piece, CRecordingCodec::CONTENTS& contents) const
{
    contents = CRecordingCodec::CONTENTS();
    if (piece < 0 || piece >= m_pieces.size())
        return false;
    if (!m_bRecording) {
        contents.records = m_records;
        return true;
    }
    CRecordingReader reader(m_nPieceBytes);
    if (!reader.Open(m_strPath))
        return false;
    reader.SeekTo(m_pieces.at(piece).offset);
    return reader.Next(contents);
}

QString CReplaySource::WrongDevice(const QString& type) const
{
    return tr("%1 comes from a device of another type (%2).").arg(m_strName, type.left(MAX_TYPE_SHOWN));
}

int CReplaySource::ModeOfKind(int kind)
{
    return kind == 1 || kind == 2 ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
}
