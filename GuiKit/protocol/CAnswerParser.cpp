#include "protocol/CAnswerParser.h"

#include "protocol/ServerProtocol.h"

#include <algorithm>
#include <cstring>

namespace {

const int FIELDS_PER_RECORD_HEAD = 6;
const int FIELDS_PER_VALUE = 4;
const int FIELDS_PER_BANK_HEAD = 3;

} // namespace

// Walks the fields of raw answer bytes without splitting them up front, so
// that a large list costs no more than its records.
class CAnswerParser::CByteCursor
{
public:
    explicit CByteCursor(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    bool AtEnd() const { return m_nPos > m_bytes.size(); }

    // At most this many items of the given width can still follow.
    qsizetype Bound(int fieldsPerItem) const { return AtEnd() ? 0 : (m_bytes.size() - m_nPos + 1) / fieldsPerItem + 1; }

    int Int() { return Next().toInt(); }
    double Double() { return Next().toDouble(); }
    quint64 U64() { return Next().toULongLong(); }
    QString Text()
    {
        const QByteArrayView field = Next();
        return QString::fromLatin1(field.data(), field.size());
    }

private:
    QByteArrayView Next()
    {
        if (AtEnd())
            return QByteArrayView();
        const qsizetype left = m_bytes.size() - m_nPos;
        const char* begin = m_bytes.data() + m_nPos;
        const void* colon = left > 0 ? std::memchr(begin, ':', size_t(left)) : nullptr;
        const qsizetype length = colon ? static_cast<const char*>(colon) - begin : left;
        m_nPos += length + 1; // past the separator, or past the end after the last field
        return QByteArrayView(begin, length);
    }

    QByteArrayView m_bytes;
    qsizetype m_nPos = 0;
};

class CAnswerParser::CListCursor
{
public:
    CListCursor(const QStringList& fields, int index)
        : m_fields(fields)
        , m_nIndex(index)
    {
    }

    bool AtEnd() const { return m_nIndex < 0 || m_nIndex >= m_fields.size(); }
    qsizetype Bound(int fieldsPerItem) const { return AtEnd() ? 0 : (m_fields.size() - m_nIndex) / fieldsPerItem + 1; }
    int Index() const { return m_nIndex; }

    int Int() { return Next().toInt(); }
    double Double() { return Next().toDouble(); }
    quint64 U64() { return Next().toULongLong(); }
    QString Text() { return Next(); }

private:
    QString Next() { return AtEnd() ? QString() : m_fields.at(m_nIndex++); }

    const QStringList& m_fields;
    int m_nIndex;
};

namespace {

// Room for what the answer can hold, never for what its counts claim.
template <typename Cursor>
qsizetype Capacity(int announced, const Cursor& cursor, int fieldsPerItem)
{
    return std::min<qsizetype>(std::max(announced, 0), cursor.Bound(fieldsPerItem));
}

} // namespace

template <typename Cursor>
CRecord CAnswerParser::Read(Cursor& cursor)
{
    CRecord record;
    record.value = cursor.Double();
    record.band = cursor.Int();
    record.duration = cursor.Int();
    record.time = cursor.U64();
    record.bandName = cursor.Text();
    const int count = cursor.Int();
    record.values.reserve(Capacity(count, cursor, FIELDS_PER_VALUE));
    for (int i = 0; i < count && !cursor.AtEnd(); ++i) {
        RECORD_VALUE value;
        value.level = cursor.Double();
        value.threshold = cursor.Double();
        value.param1 = cursor.Int();
        value.param2 = cursor.Int();
        record.values.append(value);
    }
    return record;
}

template <typename Cursor>
CLogRecord CAnswerParser::ReadBank(Cursor& cursor)
{
    CLogRecord bank;
    bank.name = cursor.Text();
    bank.type = cursor.Int();
    const int count = cursor.Int();
    bank.records.reserve(Capacity(count, cursor, FIELDS_PER_RECORD_HEAD));
    for (int i = 0; i < count && !cursor.AtEnd(); ++i)
        bank.records.append(Read(cursor));
    return bank;
}

int CAnswerParser::ToNumber(QByteArrayView answer)
{
    return answer.toInt();
}

bool CAnswerParser::ToFlag(QByteArrayView answer)
{
    return ToNumber(answer) != 0;
}

QString CAnswerParser::ToText(QByteArrayView answer)
{
    return QString::fromLatin1(answer.data(), answer.size());
}

QStringList CAnswerParser::ToFields(QByteArrayView answer)
{
    return ToText(answer).split(QLatin1Char(':'), Qt::KeepEmptyParts);
}

QList<CRecord> CAnswerParser::ToRecordList(QByteArrayView answer)
{
    CByteCursor cursor(answer);
    const int count = cursor.Int();
    QList<CRecord> records;
    records.reserve(Capacity(count, cursor, FIELDS_PER_RECORD_HEAD));
    for (int i = 0; i < count && !cursor.AtEnd(); ++i)
        records.append(Read(cursor));
    return records;
}

QList<CLogRecord> CAnswerParser::ToLogList(QByteArrayView answer)
{
    CByteCursor cursor(answer);
    const int count = cursor.Int();
    QList<CLogRecord> banks;
    banks.reserve(Capacity(count, cursor, FIELDS_PER_BANK_HEAD));
    for (int i = 0; i < count && !cursor.AtEnd(); ++i)
        banks.append(ReadBank(cursor));
    return banks;
}

bool CAnswerParser::ToRecord(QByteArrayView answer, int minFields, CRecord& record)
{
    const qsizetype fields = std::count(answer.begin(), answer.end(), ':') + 1;
    if (fields < minFields)
        return false;
    CByteCursor cursor(answer);
    record = Read(cursor);
    return true;
}

bool CAnswerParser::ToLiveState(QByteArrayView answer, LIVE_STATE& state)
{
    const QList<QByteArray> fields = answer.toByteArray().split(ServerProtocol::SEPARATOR);
    if (fields.size() != ServerProtocol::LIVE_STATE_FIELDS)
        return false;
    int numbers[ServerProtocol::LIVE_STATE_FIELDS] = {};
    for (int i = 0; i < ServerProtocol::LIVE_STATE_FIELDS; ++i) {
        bool ok = false;
        numbers[i] = fields.at(i).toInt(&ok);
        if (!ok)
            return false;
    }
    state.online = numbers[0] != 0;
    state.error = numbers[1] != 0;
    state.mode = numbers[2];
    state.count = numbers[3];
    state.band = numbers[4];
    return true;
}

CRecord CAnswerParser::ReadRecord(const QStringList& fields, int& index)
{
    CListCursor cursor(fields, index);
    CRecord record = Read(cursor);
    index = cursor.Index();
    return record;
}

CLogRecord CAnswerParser::ReadLogRecord(const QStringList& fields, int& index)
{
    CListCursor cursor(fields, index);
    CLogRecord bank = ReadBank(cursor);
    index = cursor.Index();
    return bank;
}
