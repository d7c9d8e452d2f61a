// Fuzz target: any bytes as a live recording must read without a read
// outside them, keep only whole frames, and never promise more than it read;
// the scan a replay indexes by ends where the decoding ends.
#include "CRecordingCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(bytes);
    if (contents.validBytes > bytes.size())
        std::abort();
    // What was read reads the same again from the valid part alone.
    const CRecordingCodec::CONTENTS again = CRecordingCodec::Decode(bytes.first(contents.validBytes));
    if (again.records.size() != contents.records.size() || again.sweeps.size() != contents.sweeps.size())
        std::abort();
    const QByteArrayView frames = bytes.sliced(std::min<qsizetype>(bytes.size(), CRecordingCodec::HEADER_SIZE));
    const CRecordingCodec::CONTENTS decoded = CRecordingCodec::DecodeFrames(frames);
    const CRecordingCodec::TIMES scanned = CRecordingCodec::ScanFrames(frames);
    if (scanned.status != decoded.status || scanned.validBytes != decoded.validBytes
        || scanned.records.size() != decoded.records.size() || scanned.sweeps.size() != decoded.sweeps.size())
        std::abort();
    return 0;
}
