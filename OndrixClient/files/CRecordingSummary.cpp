#include "files/CRecordingSummary.h"

#include "files/CRecordingReader.h"
#include "files/CRecordingTrailer.h"

namespace {

// The header and the device frame the recorder writes first.
const qint64 DEVICE_BYTES = 4096;

} // namespace

CRecordingSummary::RECORDING CRecordingSummary::Summarize(const QString& recording)
{
    RECORDING recorded;
    CRecordingReader reader;
    if (!reader.Open(recording)) {
        recorded.status = reader.Status();
        return recorded;
    }
    if (!ReadTrailer(recording, recorded))
        Scan(reader, recorded, nullptr);
    return recorded;
}

CRecordingSummary::RECORDING CRecordingSummary::Scan(const QString& recording, const std::atomic<bool>* cancel)
{
    RECORDING recorded;
    CRecordingReader reader;
    if (!reader.Open(recording))
        recorded.status = reader.Status();
    else
        Scan(reader, recorded, cancel);
    return recorded;
}

bool CRecordingSummary::ReadTrailer(const QString& recording, RECORDING& recorded)
{
    if (!CRecordingTrailer::Read(recording, recorded.summary))
        return false;
    // The device frame comes first: the first piece of a few bytes names it.
    CRecordingReader head(DEVICE_BYTES);
    CRecordingCodec::TIMES piece;
    if (head.Open(recording) && head.Next(piece))
        recorded.device = head.Device();
    recorded.status = recorded.summary.damagedPlaces > 0 ? CRecordingCodec::Damaged : CRecordingCodec::Whole;
    return true;
}

void CRecordingSummary::Scan(CRecordingReader& reader, RECORDING& recorded, const std::atomic<bool>* cancel)
{
    CRecordingCodec::SUMMARY& summary = recorded.summary;
    CRecordingCodec::TIMES piece;
    int firstBand = -1;
    while (reader.Next(piece)) {
        if (cancel && *cancel) {
            recorded.stopped = true;
            return;
        }
        summary.sweeps += piece.sweeps.size();
        summary.gaps += piece.gaps;
        if (piece.records.isEmpty())
            continue;
        if (summary.records == 0)
            summary.first = piece.records.first();
        // Records of more than one band, within a piece or across two.
        summary.automatic = summary.automatic || piece.severalBands || (firstBand >= 0 && piece.firstBand != firstBand);
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
