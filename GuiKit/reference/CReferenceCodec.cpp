#include "reference/CReferenceCodec.h"

#include "sites/CSiteFolder.h"

#include "Crc32.h"

#include <QtEndian>

#include <cstring>

namespace {

const char MAGIC[] = "ORZREF";
const int MAGIC_SIZE = 6;
const int HEADER_SIZE = MAGIC_SIZE + 2;
const int CRC_SIZE = 4;

template <typename T>
void Put(QByteArray& bytes, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian<T>(value, raw);
    bytes.append(raw, sizeof(T));
}

void PutText(QByteArray& bytes, const QString& text)
{
    const QByteArray utf8 = text.toUtf8().left(CReferenceCodec::MAX_TEXT_BYTES);
    Put<quint16>(bytes, quint16(utf8.size()));
    bytes.append(utf8);
}

// Reads forward and stays failed once a read went past the end: the
// fields are checked once, after the reads.
class CFieldReader
{
public:
    explicit CFieldReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    template <typename T>
    T Get()
    {
        if (!Take(sizeof(T)))
            return T();
        return qFromLittleEndian<T>(m_bytes.data() + m_nAt - qsizetype(sizeof(T)));
    }

    // A name: invalid UTF-8 or a name a folder would refuse fails.
    QString GetName()
    {
        const int count = Get<quint16>();
        if (count > CReferenceCodec::MAX_TEXT_BYTES || !Take(count))
            return QString();
        const QByteArrayView utf8 = m_bytes.sliced(m_nAt - count, count);
        QString text = QString::fromUtf8(utf8);
        QString error;
        if (text.toUtf8() != utf8 || !CSiteFolder::IsValidName(text, error))
            m_bOk = false;
        return text;
    }

    bool Ok() const { return m_bOk; }
    bool AtEnd() const { return m_bOk && m_nAt == m_bytes.size(); }

private:
    bool Take(qsizetype count)
    {
        m_bOk = m_bOk && count <= m_bytes.size() - m_nAt;
        if (m_bOk)
            m_nAt += count;
        return m_bOk;
    }

    QByteArrayView m_bytes;
    qsizetype m_nAt = 0;
    bool m_bOk = true;
};

} // namespace

QByteArray CReferenceCodec::Encode(const CSpectrumReference& reference)
{
    QByteArray bytes(MAGIC, MAGIC_SIZE);
    Put<quint16>(bytes, VERSION);
    PutText(bytes, reference.name);
    PutText(bytes, reference.site);
    Put<qint64>(bytes, reference.saved.toMSecsSinceEpoch());
    Put<quint8>(bytes, quint8(reference.trace));
    Put<qint32>(bytes, reference.rangeStartMhz);
    Put<qint32>(bytes, reference.rangeEndMhz);
    const int points = std::min(reference.Points(), int(CSpectrumReference::MAX_POINTS));
    Put<quint16>(bytes, quint16(points));
    for (int i = 0; i < points; ++i)
        Put<float>(bytes, float(reference.levels[size_t(i)]));
    Put<quint32>(bytes, Crc32::Of(bytes));
    return bytes;
}

CReferenceCodec::Status CReferenceCodec::Decode(QByteArrayView bytes, CSpectrumReference& reference)
{
    if (bytes.size() < HEADER_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_SIZE) != 0)
        return NotAReference;
    if (qFromLittleEndian<quint16>(bytes.data() + MAGIC_SIZE) != VERSION)
        return OtherVersion;
    const qsizetype checked = bytes.size() - CRC_SIZE;
    if (checked < HEADER_SIZE || qFromLittleEndian<quint32>(bytes.data() + checked) != Crc32::Of(bytes.first(checked)))
        return Damaged;
    CSpectrumReference read;
    if (!DecodeFields(bytes.sliced(HEADER_SIZE, checked - HEADER_SIZE), read))
        return Damaged;
    reference = read;
    return Ok;
}

bool CReferenceCodec::DecodeFields(QByteArrayView fields, CSpectrumReference& reference)
{
    CFieldReader reader(fields);
    reference.name = reader.GetName();
    reference.site = reader.GetName();
    reference.saved = QDateTime::fromMSecsSinceEpoch(reader.Get<qint64>(), Qt::UTC);
    const int trace = reader.Get<quint8>();
    reference.trace = CSpectrumReference::Trace(trace);
    reference.rangeStartMhz = reader.Get<qint32>();
    reference.rangeEndMhz = reader.Get<qint32>();
    const int points = reader.Get<quint16>();
    if (!reader.Ok() || trace >= CSpectrumReference::TRACE_COUNT || !reference.saved.isValid()
        || points > CSpectrumReference::MAX_POINTS)
        return false;
    reference.levels.resize(size_t(points));
    for (double& level : reference.levels)
        level = reader.Get<float>();
    QString error;
    return reader.AtEnd() && reference.IsSound(error);
}
