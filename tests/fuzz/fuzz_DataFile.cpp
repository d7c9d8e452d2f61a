// Fuzz target: any bytes as a data file must decode without a read outside
// them, and what decodes must encode back to the bytes it came from.
#include "files/CDataFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(const QByteArray& bytes, const QString& deviceType)
{
    QList<CRecord> records;
    qint32 kind = 0;
    QString type;
    const CDataFile::Result result = CDataFile::Decode(bytes, deviceType, records, kind, &type);
    if (result == CDataFile::Ok && !bytes.startsWith(CDataFile::Encode(type, kind, records)))
        std::abort();
    // Read again as the device the file names, so its records are read too.
    if (result == CDataFile::WrongDevice && type != deviceType)
        Check(bytes, type);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    Check(bytes, QStringLiteral("RZ450"));
    return 0;
}
