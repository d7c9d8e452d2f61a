#include "protocol/CAnswerWriter.h"

#include "protocol/ServerProtocol.h"

#include <charconv>
#include <cmath>

namespace {

const int FIELDS_PER_RECORD_HEAD = 6;
const int FIELDS_PER_VALUE = 4;

template <typename Value>
void AppendNumber(QByteArray& out, Value value)
{
    char digits[32];
    const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

} // namespace

CAnswerWriter::CAnswerWriter()
    : m_answer(ServerProtocol::FRAME_START)
{
}

void CAnswerWriter::Number(qint64 value)
{
    Integer(value);
}

void CAnswerWriter::Text(const QString& text)
{
    QByteArray latin = text.toLatin1();
    latin.replace(ServerProtocol::SEPARATOR, ';');
    m_answer.append(latin);
}

void CAnswerWriter::Bytes(QByteArrayView bytes)
{
    m_answer.append(bytes);
}

void CAnswerWriter::Fields(const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            Separator();
        Text(fields.at(i));
    }
}

void CAnswerWriter::Record(const CRecord& record, int minFields)
{
    for (int fields = WriteRecord(record); fields < minFields; ++fields)
        Separator();
}

void CAnswerWriter::RecordList(const QList<CRecord>& records)
{
    // About what a record with one value takes, so that a full ring grows
    // the buffer once or twice rather than at every doubling.
    m_answer.reserve(m_answer.size() + records.size() * 56);
    Integer(records.size());
    for (const CRecord& record : records) {
        Separator();
        WriteRecord(record);
    }
}

void CAnswerWriter::LogList(const QList<CLogRecord>& banks)
{
    Integer(banks.size());
    for (const CLogRecord& bank : banks) {
        Separator();
        Text(bank.name);
        Separator();
        Integer(bank.type);
        Separator();
        Integer(bank.records.size());
        for (const CRecord& record : bank.records) {
            Separator();
            WriteRecord(record);
        }
    }
}

void CAnswerWriter::LiveState(const LIVE_STATE& state)
{
    const qint64 fields[ServerProtocol::LIVE_STATE_FIELDS]
        = { state.online, state.error, state.mode, state.count, state.band };
    for (int i = 0; i < ServerProtocol::LIVE_STATE_FIELDS; ++i) {
        if (i > 0)
            Separator();
        Integer(fields[i]);
    }
}

QByteArray CAnswerWriter::Frame()
{
    m_answer.append(ServerProtocol::FRAME_END);
    QByteArray answer;
    answer.swap(m_answer);
    m_answer = ServerProtocol::FRAME_START;
    return answer;
}

QByteArray CAnswerWriter::Empty()
{
    return CAnswerWriter().Frame();
}

void CAnswerWriter::Separator()
{
    m_answer.append(ServerProtocol::SEPARATOR);
}

void CAnswerWriter::Double(double value)
{
    // The reader takes "." as decimal point whatever the locale; to_chars
    // never writes anything else, and the shortest form reads back exactly.
    if (!std::isfinite(value))
        value = 0.0;
    AppendNumber(m_answer, value);
}

void CAnswerWriter::Integer(qint64 value)
{
    AppendNumber(m_answer, value);
}

void CAnswerWriter::Unsigned(quint64 value)
{
    AppendNumber(m_answer, value);
}

int CAnswerWriter::WriteRecord(const CRecord& record)
{
    Double(record.value);
    Separator();
    Integer(record.band);
    Separator();
    Integer(record.duration);
    Separator();
    Unsigned(record.time);
    Separator();
    Text(record.bandName);
    Separator();
    Integer(record.values.size());
    for (const RECORD_VALUE& value : record.values) {
        Separator();
        Double(value.level);
        Separator();
        Double(value.threshold);
        Separator();
        Integer(value.param1);
        Separator();
        Integer(value.param2);
    }
    return FIELDS_PER_RECORD_HEAD + FIELDS_PER_VALUE * int(record.values.size());
}
