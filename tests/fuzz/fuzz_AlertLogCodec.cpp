// Fuzz target: any bytes as an alert log must decode without a read outside
// them, and every entry that decodes must encode to a frame that decodes to
// the same entry.
#include "alerts/CAlertLogCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const CAlertLogCodec::CONTENTS contents = CAlertLogCodec::Decode(bytes);
    for (const CAlertLogCodec::ENTRY& entry : contents.entries) {
        const QByteArray encoded = CAlertLogCodec::Encode(entry);
        const CAlertLogCodec::CONTENTS again = CAlertLogCodec::Decode(QByteArray(CAlertLogCodec::Header() + encoded));
        if (again.entries.size() != 1 || CAlertLogCodec::Encode(again.entries.first()) != encoded)
            std::abort();
    }
    return 0;
}
