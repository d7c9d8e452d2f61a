#include "files/CDataFile.h"

#include "app/ClientLog.h"

#include <QBuffer>
#include <QFile>
#include <QHashFunctions>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr quint32 NULL_STRING = 0xFFFFFFFFu;
// value, band, duration, time, band name length (null), values count.
constexpr qsizetype MIN_RECORD_SIZE = 8 + 4 + 4 + 8 + 4 + 4;
// level, threshold, param1, param2.
constexpr qsizetype VALUE_SIZE = 8 + 8 + 4 + 4;
// Files go to and come from the disk through a window of this size: a file
// of any size needs no second copy of itself in memory.
constexpr qsizetype WINDOW_SIZE = 1 << 20;

qsizetype SizeOf(quint32)
{
    return 4;
}

qsizetype SizeOf(const QString& text)
{
    return 4 + (text.isNull() ? 0 : 2 * text.size());
}

qsizetype SizeOf(const CRecord& record)
{
    return MIN_RECORD_SIZE - 4 + SizeOf(record.bandName) + VALUE_SIZE * record.values.size();
}

// Each writes one item at the given place and returns the place after it.
// Fields are stored directly: a QDataStream costs a device call per field,
// several times the whole encoding.
template <typename T>
char* Write(char* at, T value)
{
    qToBigEndian(value, at);
    return at + sizeof(T);
}

char* Write(char* at, const QString& text)
{
    if (text.isNull())
        return Write(at, NULL_STRING);
    at = Write(at, quint32(2 * text.size()));
    qToBigEndian<char16_t>(text.utf16(), text.size(), at);
    return at + 2 * text.size();
}

char* Write(char* at, const CRecord& record)
{
    at = Write(at, record.value);
    at = Write(at, quint32(record.band));
    at = Write(at, quint32(record.duration));
    at = Write(at, quint64(record.time));
    at = Write(at, record.bandName);
    at = Write(at, quint32(record.values.size()));
    for (const RECORD_VALUE& value : record.values) {
        at = Write(at, value.level);
        at = Write(at, value.threshold);
        at = Write(at, quint32(value.param1));
        at = Write(at, quint32(value.param2));
    }
    return at;
}

// Output into a window that goes to the device whenever the next item does
// not fit.
class CDeviceOutput
{
public:
    explicit CDeviceOutput(QIODevice* device)
        : m_pDevice(device)
        , m_window(WINDOW_SIZE, Qt::Uninitialized)
    {
    }
    template <typename T>
    void Put(const T& item)
    {
        const qsizetype size = SizeOf(item);
        if (m_nUsed + size > m_window.size())
            Flush();
        if (size > m_window.size())
            m_window.resize(size);
        Write(m_window.data() + m_nUsed, item);
        m_nUsed += size;
    }
    bool Flush()
    {
        m_bOk = m_bOk && m_pDevice->write(m_window.constData(), m_nUsed) == m_nUsed;
        m_nUsed = 0;
        return m_bOk;
    }

private:
    QIODevice* m_pDevice;
    QByteArray m_window;
    qsizetype m_nUsed = 0;
    bool m_bOk = true;
};

// The fields in their one order, through the window.
bool EncodeTo(QIODevice* device, const QString& deviceType, qint32 kind, const QList<CRecord>& records)
{
    CDeviceOutput output(device);
    output.Put(deviceType);
    output.Put(quint32(kind));
    output.Put(quint32(records.size()));
    for (const CRecord& record : records)
        output.Put(record);
    return output.Flush();
}

// Reads the file's bytes through a window refilled from the device. Every
// read is checked against the bytes left in the whole file.
class CReader
{
public:
    explicit CReader(QIODevice* device)
        : m_pDevice(device)
        , m_nUnread(std::max<qint64>(0, device->size() - device->pos()))
    {
    }

    qint64 Left() const { return (m_pEnd - m_pData) + m_nUnread; }

    template <typename T>
    bool Get(T& value)
    {
        if (!Need(sizeof(T)))
            return false;
        value = qFromBigEndian<T>(m_pData);
        m_pData += sizeof(T);
        return true;
    }
    bool Get(QString& text);
    bool Get(CRecord& record);

private:
    struct NAME
    {
        QByteArray bytes;
        QString text;
    };
    static constexpr qsizetype NAME_CACHE_LIMIT = 128;

    bool Need(qint64 size) { return m_pEnd - m_pData >= size || Refill(size); }
    bool Refill(qint64 size);
    void Decode(QString& text, qsizetype bytes);

    const char* m_pData = nullptr;
    const char* m_pEnd = nullptr;
    QIODevice* m_pDevice;
    qint64 m_nUnread;
    QByteArray m_window;
    // Band names repeat from record to record: the records share one string
    // per name instead of a copy each.
    std::array<NAME, 256> m_names;
};

bool CReader::Refill(qint64 size)
{
    if (size > Left())
        return false;
    const qsizetype kept = m_pEnd - m_pData;
    const qsizetype wanted = qsizetype(std::min<qint64>(std::max<qint64>(size, WINDOW_SIZE), Left()));
    if (m_window.size() < wanted) {
        QByteArray larger(wanted, Qt::Uninitialized);
        if (kept > 0)
            std::memcpy(larger.data(), m_pData, kept);
        m_window = larger;
    } else if (kept > 0) {
        std::memmove(m_window.data(), m_pData, kept);
    }
    const qint64 read = m_pDevice->read(m_window.data() + kept, wanted - kept);
    m_pData = m_window.constData();
    m_pEnd = m_pData + kept + std::max<qint64>(0, read);
    // A file that shrank while it was read ends here.
    m_nUnread = read == wanted - kept ? m_nUnread - read : 0;
    return m_pEnd - m_pData >= size;
}

bool CReader::Get(QString& text)
{
    quint32 bytes;
    if (!Get(bytes))
        return false;
    if (bytes == NULL_STRING) {
        text = QString();
        return true;
    }
    if ((bytes & 1) != 0 || !Need(bytes))
        return false;
    Decode(text, qsizetype(bytes));
    m_pData += bytes;
    return true;
}

void CReader::Decode(QString& text, qsizetype bytes)
{
    if (bytes == 0) {
        // Empty but not null, as QDataStream reads it.
        text = QString(QLatin1String(""));
        return;
    }
    const bool cached = bytes <= NAME_CACHE_LIMIT;
    NAME& name = m_names[cached ? qHash(QByteArrayView(m_pData, bytes)) % m_names.size() : 0];
    if (cached && name.bytes.size() == bytes && std::memcmp(name.bytes.constData(), m_pData, bytes) == 0) {
        text = name.text;
        return;
    }
    text = QString(bytes / 2, Qt::Uninitialized);
    qFromBigEndian<char16_t>(m_pData, bytes / 2, text.data());
    // A slot keeps its first name: two names taking turns in one slot would
    // cost a copy each time.
    if (cached && name.bytes.isEmpty())
        name = { QByteArray(m_pData, bytes), text };
}

bool CReader::Get(CRecord& record)
{
    quint64 time;
    quint32 count;
    if (!Get(record.value) || !Get(record.band) || !Get(record.duration) || !Get(time) || !Get(record.bandName)
        || !Get(count))
        return false;
    record.time = time;
    if (qint64(count) * VALUE_SIZE > Left())
        return false;
    record.values.resize(count);
    for (RECORD_VALUE& value : record.values) {
        if (!Get(value.level) || !Get(value.threshold) || !Get(value.param1) || !Get(value.param2))
            return false;
    }
    return true;
}

CDataFile::Result DecodeFrom(CReader& reader, const QString& expectedDeviceType, QList<CRecord>& records, qint32& kind,
    QString* deviceType)
{
    QString type;
    if (!reader.Get(type))
        return CDataFile::Corrupt;
    if (type != expectedDeviceType) {
        if (deviceType)
            *deviceType = type;
        return CDataFile::WrongDevice;
    }
    qint32 fileKind;
    quint32 count;
    if (!reader.Get(fileKind) || !reader.Get(count) || qint64(count) * MIN_RECORD_SIZE > reader.Left())
        return CDataFile::Corrupt;
    QList<CRecord> fileRecords(count);
    for (CRecord& record : fileRecords) {
        if (!reader.Get(record))
            return CDataFile::Corrupt;
    }
    records = std::move(fileRecords);
    kind = fileKind;
    if (deviceType)
        *deviceType = type;
    return CDataFile::Ok;
}

} // namespace

QByteArray CDataFile::Encode(const QString& deviceType, qint32 kind, const QList<CRecord>& records)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EncodeTo(&buffer, deviceType, kind, records);
    return bytes;
}

CDataFile::Result CDataFile::Decode(const QByteArray& bytes, const QString& expectedDeviceType, QList<CRecord>& records,
    qint32& kind, QString* deviceType)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Decode(&buffer, expectedDeviceType, records, kind, deviceType);
}

CDataFile::Result CDataFile::Decode(QIODevice* device, const QString& expectedDeviceType, QList<CRecord>& records,
    qint32& kind, QString* deviceType)
{
    CReader reader(device);
    return DecodeFrom(reader, expectedDeviceType, records, kind, deviceType);
}

bool CDataFile::Save(const QString& path, const QString& deviceType, qint32 kind, const QList<CRecord>& records)
{
    QSaveFile file(path);
    bool saved = file.open(QIODevice::WriteOnly);
    if (saved && !EncodeTo(&file, deviceType, kind, records)) {
        file.cancelWriting();
        saved = false;
    }
    saved = saved && file.commit();
    if (!saved)
        qCWarning(lcStorage) << "not written:" << path << file.errorString();
    return saved;
}

CDataFile::Result CDataFile::Load(const QString& path, const QString& expectedDeviceType, QList<CRecord>& records,
    qint32& kind, QString* deviceType)
{
    QFile file(path);
    // Read in large pieces of its own: a buffer under them only copies.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qCWarning(lcStorage) << "cannot be read:" << path << file.errorString();
        return OpenFailed;
    }
    const Result result = Decode(&file, expectedDeviceType, records, kind, deviceType);
    if (result == WrongDevice)
        qCWarning(lcStorage) << "refused, not a" << expectedDeviceType << "file:" << path;
    else if (result == Corrupt)
        qCWarning(lcStorage) << "refused, damaged or cut short:" << path;
    return result;
}
