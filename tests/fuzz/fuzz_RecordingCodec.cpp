// Fuzz target: any bytes as a live recording must read without a read
// outside them, keep only whole frames, and never promise more than it read;
// the scan a replay indexes by ends where the decoding ends; read in two
// pieces it gives the same records; what it read writes back as blocks that
// read the same; a summary found at the end is the frame that ends it.
#include "files/CRecordingCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Damage in order, apart, within the bytes.
void CheckDamage(const QList<CRecordingCodec::DAMAGE>& damage, qsizetype size)
{
    qint64 end = -1;
    for (const CRecordingCodec::DAMAGE& place : damage) {
        Require(place.bytes > 0 && place.offset > end && place.offset + place.bytes <= size);
        end = place.offset + place.bytes;
    }
}

// As the reader does it: the first piece ends where its bytes end, the
// second goes on from where the first stopped.
void CheckPieces(QByteArrayView frames, quint16 version, qsizetype records)
{
    const qsizetype split = frames.size() / 2;
    const CRecordingCodec::CONTENTS first = CRecordingCodec::DecodeFrames(frames.first(split), version, false);
    Require(first.validBytes <= split);
    const CRecordingCodec::CONTENTS second = CRecordingCodec::DecodeFrames(frames.sliced(first.validBytes), version);
    Require(first.records.size() + second.records.size() == records);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(bytes);
    Require(contents.validBytes <= bytes.size());
    CheckDamage(contents.damage, bytes.size());
    // What was read reads the same again from the valid part alone.
    const CRecordingCodec::CONTENTS again = CRecordingCodec::Decode(bytes.first(contents.validBytes));
    Require(again.records.size() == contents.records.size() && again.sweeps.size() == contents.sweeps.size());
    const quint16 version = std::clamp<quint16>(CRecordingCodec::HeaderVersion(bytes), 1, CRecordingCodec::VERSION);
    const QByteArrayView frames = bytes.sliced(std::min<qsizetype>(bytes.size(), CRecordingCodec::HEADER_SIZE));
    const CRecordingCodec::CONTENTS decoded = CRecordingCodec::DecodeFrames(frames, version);
    const CRecordingCodec::TIMES scanned = CRecordingCodec::ScanFrames(frames, version);
    Require(scanned.status == decoded.status && scanned.validBytes == decoded.validBytes
        && scanned.records.size() == decoded.records.size() && scanned.sweeps.size() == decoded.sweeps.size()
        && scanned.damage.size() == decoded.damage.size() && scanned.gaps == decoded.gaps.size());
    // Version 1 has no sync marker: a piece that ends inside damage lets the
    // next one start at a byte that reading whole would pass over, so there
    // pieces agree only on undamaged bytes.
    if (version >= 2 || decoded.damage.isEmpty())
        CheckPieces(frames, version, decoded.records.size());
    const QByteArray blocks = CRecordingCodec::Header() + CRecordingCodec::RecordBlockFrames(decoded.records);
    const CRecordingCodec::CONTENTS rewritten = CRecordingCodec::Decode(blocks);
    Require(rewritten.status == CRecordingCodec::Whole && rewritten.records.size() == decoded.records.size());
    CRecordingCodec::SUMMARY summary;
    if (CRecordingCodec::ReadSummary(bytes.last(std::min<qsizetype>(bytes.size(), 256)), summary))
        Require(bytes.endsWith(CRecordingCodec::SummaryFrame(summary)));
    return 0;
}
