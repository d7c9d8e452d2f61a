#include "CRecordingRecovery.h"

#include "CDataFile.h"
#include "ClientLog.h"
#include "CLiveRecorder.h"
#include "CRealtimeFileName.h"
#include "CRecordingCodec.h"
#include "CRecordingReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>

#include <algorithm>

namespace {

// The closing summary frame is far shorter: whatever follows it says that
// it does not close the file.
const qint64 TAIL_BYTES = 256;
// The header and the device frame the recorder writes first.
const qint64 DEVICE_BYTES = 4096;

QString Stamp(quint64 time)
{
    return QDateTime::fromSecsSinceEpoch(qint64(time)).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// What the codec says of a recording that has nothing to keep.
QString Describe(CRecordingCodec::Status status)
{
    CRecordingCodec::CONTENTS contents;
    contents.status = status;
    return CRecordingCodec::Describe(contents);
}

} // namespace

void CRecordingRecovery::Offer(QWidget* parent, const QString& folder)
{
    const QString title = QCoreApplication::applicationName();
    const QStringList names = QDir(folder).entryList({ QStringLiteral("*.") + QLatin1String(CLiveRecorder::EXTENSION) },
        QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name);
        // Held until the user has answered, so that two clients started
        // together do not both offer it.
        const std::unique_ptr<QLockFile> lock = CLiveRecorder::Claim(path);
        if (!lock) {
            qCInfo(lcStorage) << "Left alone, another running client records it:" << path;
            continue;
        }
        const RECORDING recorded = Summarize(path);
        const CRecordingCodec::SUMMARY& summary = recorded.summary;
        if (recorded.status == CRecordingCodec::Newer || recorded.status == CRecordingCodec::NotARecording) {
            QMessageBox::warning(parent, title, path + QLatin1Char('\n') + Describe(recorded.status));
            continue;
        }
        if (summary.records == 0) {
            QFile::remove(path);
            continue;
        }
        const QString question = tr("The live session was interrupted. Its recording holds %1 records from %2 to %3.\n"
                                    "Keep it as a data file?")
                                     .arg(summary.records)
                                     .arg(Stamp(summary.first), Stamp(summary.last));
        if (QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            QFile::remove(path);
            continue;
        }
        QString savedAs;
        QString error;
        if (!Keep(path, recorded, savedAs, error, PIECE_RECORDS))
            QMessageBox::critical(parent, title, error);
    }
}

CRecordingRecovery::RECORDING CRecordingRecovery::Summarize(const QString& recording)
{
    RECORDING recorded;
    CRecordingReader reader;
    if (!reader.Open(recording)) {
        recorded.status = reader.Status();
        return recorded;
    }
    if (!ReadTrailer(recording, recorded))
        Scan(reader, recorded);
    return recorded;
}

bool CRecordingRecovery::ReadTrailer(const QString& recording, RECORDING& recorded)
{
    QFile file(recording);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - TAIL_BYTES))
        || !CRecordingCodec::ReadSummary(file.read(TAIL_BYTES), recorded.summary))
        return false;
    // The device frame comes first: the first piece of a few bytes names it.
    CRecordingReader head(DEVICE_BYTES);
    CRecordingCodec::TIMES piece;
    if (head.Open(recording) && head.Next(piece))
        recorded.device = head.Device();
    recorded.status = recorded.summary.damagedPlaces > 0 ? CRecordingCodec::Damaged : CRecordingCodec::Whole;
    return true;
}

void CRecordingRecovery::Scan(CRecordingReader& reader, RECORDING& recorded)
{
    CRecordingCodec::SUMMARY& summary = recorded.summary;
    CRecordingCodec::TIMES piece;
    int firstBand = -1;
    while (reader.Next(piece)) {
        summary.sweeps += piece.sweeps.size();
        summary.gaps += piece.gaps;
        if (piece.records.isEmpty())
            continue;
        if (summary.records == 0)
            summary.first = piece.records.first();
        // Records of more than one band, within a piece or across two.
        summary.automatic
            = summary.automatic || piece.severalBands || (firstBand >= 0 && piece.firstBand != firstBand);
        firstBand = firstBand >= 0 ? firstBand : piece.firstBand;
        summary.records += piece.records.size();
        summary.last = piece.records.last();
    }
    for (const CRecordingCodec::DAMAGE& damage : reader.Damage())
        summary.damagedBytes += damage.bytes;
    summary.damagedPlaces = int(reader.Damage().size());
    recorded.status = reader.Status();
    recorded.device = reader.Device();
}

bool CRecordingRecovery::Keep(const QString& recording, QString& savedAs, QString& error, int pieceRecords)
{
    return Keep(recording, Summarize(recording), savedAs, error, pieceRecords);
}

bool CRecordingRecovery::Keep(const QString& recording, const RECORDING& recorded, QString& savedAs, QString& error,
    int pieceRecords)
{
    CRecordingReader reader;
    if (recorded.summary.records == 0 || !reader.Open(recording)) {
        error = tr("Nothing to keep in %1: %2").arg(recording, Describe(recorded.status));
        return false;
    }
    savedAs.clear();
    QStringList saved;
    QList<CRecord> records;
    CRecordingCodec::CONTENTS piece;
    bool more = true;
    while (more) {
        more = reader.Next(piece);
        records += piece.records;
        piece.records.clear();
        if (records.isEmpty() || (more && records.size() < pieceRecords))
            continue;
        const QList<CRecord> part = records.mid(0, pieceRecords);
        records.remove(0, part.size());
        QString piecePath;
        if (!SavePiece(recording, recorded, part, piecePath, error)) {
            // The recording stays, so the pieces saved so far go: keeping it
            // again later must not give their records twice.
            for (const QString& path : std::as_const(saved))
                QFile::remove(path);
            return false;
        }
        saved.append(piecePath);
        more = more || !records.isEmpty();
    }
    savedAs = saved.value(0);
    QFile::remove(recording);
    return true;
}

bool CRecordingRecovery::SavePiece(const QString& recording, const RECORDING& recorded, const QList<CRecord>& records,
    QString& savedAs, QString& error)
{
    const QString name = CRealtimeFileName::Make(tr("Recovered") + QLatin1Char('_'), records.first().time);
    const QDir folder = QFileInfo(recording).dir();
    // Two sessions cut in the same minute must not overwrite each other.
    savedAs = folder.filePath(name + QStringLiteral(".rdf"));
    for (int copy = 2; QFile::exists(savedAs); ++copy)
        savedAs = folder.filePath(name + QLatin1Char('_') + QString::number(copy) + QStringLiteral(".rdf"));
    if (!CDataFile::Save(savedAs, recorded.device, recorded.summary.automatic ? 1 : 0, records)) {
        error = tr("Failed to save %1!").arg(savedAs);
        return false;
    }
    return true;
}
