// Fuzz target: any bytes as the payload of a server answer, and as a whole
// answer cut into pieces, must parse without a read outside them and without
// an item that no field of the answer stands for.
#include "CAnswerFrame.h"
#include "CAnswerParser.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool promise)
{
    if (!promise)
        std::abort();
}

// Every parsed item stands on at least one field of the answer.
void CheckLists(QByteArrayView bytes)
{
    const qsizetype fields = bytes.count(':') + 1;
    const QList<CRecord> records = CAnswerParser::ToRecordList(bytes);
    qsizetype items = records.size();
    for (const CRecord& record : records)
        items += record.values.size();
    Check(items <= fields);

    const QList<CLogRecord> banks = CAnswerParser::ToLogList(bytes);
    items = banks.size();
    for (const CLogRecord& bank : banks)
        items += bank.records.size();
    Check(items <= fields);
}

void CheckFieldReaders(QByteArrayView bytes)
{
    const QStringList fields = CAnswerParser::ToFields(bytes);
    for (int index = 0; index < fields.size();) {
        const int before = index;
        CAnswerParser::ReadLogRecord(fields, index);
        Check(index > before && index <= fields.size());
    }
    CRecord record;
    CAnswerParser::ToRecord(bytes, 11, record);
}

// The same bytes cut into pieces at the places the input itself names.
void CheckFrame(QByteArrayView bytes)
{
    CAnswerFrame frame;
    qsizetype pos = 0;
    while (pos < bytes.size() && frame.GetState() == CAnswerFrame::Incomplete) {
        const qsizetype piece = qMin<qsizetype>(bytes.size() - pos, 1 + (std::uint8_t(bytes[pos]) & 0x0F));
        frame.Append(bytes.sliced(pos, piece));
        pos += piece;
    }
    if (frame.GetState() == CAnswerFrame::Complete) {
        Check(frame.Payload().size() <= bytes.size() - 7);
        CheckLists(frame.Payload());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckLists(bytes);
    CheckFieldReaders(bytes);
    CheckFrame(bytes);
    return 0;
}
