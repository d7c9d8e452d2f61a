// Fuzz target: any bytes as the payload of a server answer, and as a whole
// answer cut into pieces, must parse without a read outside them and without
// an item that no field of the answer stands for.
#include "protocol/CAnswerParser.h"
#include "protocol/CAnswerStream.h"

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

// The same bytes cut into pieces at the places the input itself names, read
// as answers that follow one another.
void CheckStream(QByteArrayView bytes)
{
    CAnswerStream stream;
    qsizetype pos = 0;
    qsizetype taken = 0;
    CAnswerStream::State state = CAnswerStream::Incomplete;
    while (pos < bytes.size() && state != CAnswerStream::Malformed) {
        const qsizetype piece = qMin<qsizetype>(bytes.size() - pos, 1 + (std::uint8_t(bytes[pos]) & 0x0F));
        state = stream.Append(bytes.sliced(pos, piece));
        pos += piece;
        QByteArray payload;
        while (state != CAnswerStream::Malformed && (state = stream.Next(true, payload)) == CAnswerStream::Complete) {
            taken += payload.size() + 7;
            CheckLists(payload);
        }
    }
    Check(taken + stream.Buffered() <= bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckLists(bytes);
    CheckFieldReaders(bytes);
    CheckStream(bytes);
    return 0;
}
