// Fuzz target: any bytes as a baseline file must decode without a read
// outside them, and what decodes must encode to bytes that decode to the
// same baseline.
#include "baseline/CBaselineCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CBaseline baseline;
    if (CBaselineCodec::Decode(bytes, baseline) != CBaselineCodec::Ok)
        return 0;
    const QByteArray encoded = CBaselineCodec::Encode(baseline);
    CBaseline again;
    if (CBaselineCodec::Decode(encoded, again) != CBaselineCodec::Ok || CBaselineCodec::Encode(again) != encoded)
        std::abort();
    return 0;
}
