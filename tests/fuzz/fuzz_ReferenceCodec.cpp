// Fuzz target: any bytes as a spectrum reference must decode without a read
// outside them, and what decodes must encode to the very same bytes.
#include "reference/CReferenceCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CSpectrumReference reference;
    if (CReferenceCodec::Decode(bytes, reference) != CReferenceCodec::Ok)
        return 0;
    if (CReferenceCodec::Encode(reference) != bytes)
        std::abort();
    return 0;
}
