// Fuzz target: any bytes as a live recording must read without a read
// outside them, keep only whole frames, and never promise more than it read.
#include "CRecordingCodec.h"

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
    return 0;
}
