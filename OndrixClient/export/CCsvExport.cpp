#include "export/CCsvExport.h"

#include "app/ClientLog.h"
#include "export/CCsvTable.h"
#include "files/CDataFile.h"
#include "files/CStoredRecords.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>

namespace {

// 9999-12-31T23:59:59Z, the last moment ISO 8601 writes with four digits.
constexpr qint64 LAST_TIME = 253402300799;
// The offset from UTC changes only at the zone's transitions, all of them on
// quarter hours: it is asked once for each quarter hour that has records.
constexpr qint64 SLOT_SECONDS = 900;
// Rows go to the file in pieces of about this size.
constexpr qsizetype WINDOW_SIZE = 1 << 20;

char* Digits(char* at, qint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = char('0' + value % 10);
    return at + width;
}

// "YYYY-MM-DDThh:mm:ss" of seconds since 1970 in a calendar without zones
// (the proleptic Gregorian one: days to dates after H. Hinnant's
// civil_from_days). Returns the end.
char* WriteDateTime(char* at, qint64 seconds)
{
    qint64 days = seconds / 86400;
    qint64 rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shifted = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const qint64 month = shifted < 10 ? shifted + 3 : shifted - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    at = Digits(at, year, 4);
    *at++ = '-';
    at = Digits(at, month, 2);
    *at++ = '-';
    at = Digits(at, day, 2);
    *at++ = 'T';
    at = Digits(at, rest / 3600, 2);
    *at++ = ':';
    at = Digits(at, rest / 60 % 60, 2);
    *at++ = ':';
    return Digits(at, rest % 60, 2);
}

// "+hh:mm", with ":ss" when the offset has seconds.
char* WriteOffset(char* at, int offset)
{
    *at++ = offset < 0 ? '-' : '+';
    offset = std::abs(offset);
    at = Digits(at, offset / 3600, 2);
    *at++ = ':';
    at = Digits(at, offset / 60 % 60, 2);
    if (offset % 60 != 0) {
        *at++ = ':';
        at = Digits(at, offset % 60, 2);
    }
    return at;
}

int OffsetAt(qint64 time)
{
    return QDateTime::fromSecsSinceEpoch(time).offsetFromUtc();
}

struct TIMES
{
    char local[32];
    char utc[24];
    qsizetype localSize = 0;
    qsizetype utcSize = 0;
};

// The table's rows, written to a device whenever a window of them is full.
class CRows
{
public:
    explicit CRows(QIODevice* device = nullptr)
        : m_pDevice(device)
    {
    }

    void Header()
    {
        for (const QString& column : CCsvExport::Columns())
            m_table.AddField(column);
        m_table.EndRow();
    }

    void Add(const QString& source, const QList<CRecord>& records);

    bool Flush()
    {
        if (m_pDevice && m_table.Size() > 0) {
            m_bOk = m_bOk && m_pDevice->write(m_table.Bytes().data(), m_table.Size()) == m_table.Size();
            m_table.Clear();
        }
        return m_bOk;
    }

    bool Ok() const { return m_bOk; }
    QByteArrayView Bytes() const { return m_table.Bytes(); }

    void Times(quint64 time, TIMES& times);

private:
    int LocalOffset(qint64 time);
    const QByteArray& Utf8(const QString& name);

    QIODevice* m_pDevice;
    CCsvTable m_table;
    bool m_bOk = true;
    qint64 m_nSlot = -1;
    int m_nSlotOffset = 0;
    bool m_bSlotSteady = false;
    QString m_strName;
    QByteArray m_name;
};

int CRows::LocalOffset(qint64 time)
{
    const qint64 slot = time / SLOT_SECONDS;
    if (slot != m_nSlot) {
        m_nSlot = slot;
        m_nSlotOffset = OffsetAt(slot * SLOT_SECONDS);
        m_bSlotSteady = OffsetAt(slot * SLOT_SECONDS + SLOT_SECONDS - 1) == m_nSlotOffset;
    }
    // A slot with a transition of its own is asked second by second.
    return m_bSlotSteady ? m_nSlotOffset : OffsetAt(time);
}

void CRows::Times(quint64 time, TIMES& times)
{
    times.localSize = times.utcSize = 0;
    if (time > quint64(LAST_TIME))
        return;
    const qint64 seconds = qint64(time);
    char* end = WriteDateTime(times.utc, seconds);
    *end++ = 'Z';
    times.utcSize = end - times.utc;
    const int offset = LocalOffset(seconds);
    if (seconds + offset > LAST_TIME)
        return;
    end = WriteOffset(WriteDateTime(times.local, seconds + offset), offset);
    times.localSize = end - times.local;
}

const QByteArray& CRows::Utf8(const QString& name)
{
    // Records of one band follow each other and share their name.
    if (name != m_strName || m_name.isNull()) {
        m_strName = name;
        m_name = name.toUtf8();
        if (m_name.isNull())
            m_name = QByteArray("");
    }
    return m_name;
}

void CRows::Add(const QString& source, const QList<CRecord>& records)
{
    const QByteArray file = source.toUtf8();
    TIMES times;
    qint64 number = 0;
    for (const CRecord& record : records) {
        ++number;
        Times(record.time, times);
        const QByteArray& name = Utf8(record.bandName);
        const qsizetype values = record.values.size();
        for (qsizetype i = 0; i < std::max<qsizetype>(values, 1); ++i) {
            m_table.AddUtf8Field(file);
            m_table.AddField(number);
            if (values > 0)
                m_table.AddField(qint64(i + 1));
            else
                m_table.AddEmptyField();
            m_table.AddUtf8Field(QByteArrayView(times.local, times.localSize));
            m_table.AddUtf8Field(QByteArrayView(times.utc, times.utcSize));
            m_table.AddField(qint64(record.band));
            m_table.AddUtf8Field(name);
            m_table.AddField(qint64(record.duration));
            if (values > 0) {
                const RECORD_VALUE& value = record.values[i];
                m_table.AddField(value.level);
                m_table.AddField(value.threshold);
                // The detector's own alarm condition: at or over the threshold.
                if (value.level >= value.threshold)
                    m_table.AddUtf8Field("true");
                else
                    m_table.AddUtf8Field("false");
            } else {
                m_table.AddEmptyField();
                m_table.AddEmptyField();
                m_table.AddEmptyField();
            }
            m_table.EndRow();
        }
        if (m_table.Size() >= WINDOW_SIZE && !Flush())
            return;
    }
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString CannotWrite(const QString& path, const QString& reason)
{
    return CCsvExport::tr("%1 could not be written: %2").arg(Shown(path), reason);
}

QString Refusal(const QString& path, CDataFile::Result result, const QString& type, const QString& expected)
{
    switch (result) {
    case CDataFile::WrongDevice:
        // The name comes from the file: only a short piece of it.
        return CCsvExport::tr("%1: a file of the %2 device, not of the %3").arg(Shown(path), type.left(64), expected);
    case CDataFile::Corrupt: return CCsvExport::tr("%1: the file is damaged or cut short").arg(Shown(path));
    default: return CCsvExport::tr("%1: the file could not be opened").arg(Shown(path));
    }
}

bool Open(QSaveFile& file, QString& error)
{
    if (file.open(QIODevice::WriteOnly))
        return true;
    error = CannotWrite(file.fileName(), file.errorString());
    return false;
}

// Commits what the rows wrote, or leaves the target as it was.
bool Finish(QSaveFile& file, CRows& rows, QString& error)
{
    if (rows.Flush() && file.commit())
        return true;
    error = CannotWrite(file.fileName(), file.errorString());
    file.cancelWriting();
    qCWarning(lcStorage) << "CSV not written:" << file.fileName() << file.errorString();
    return false;
}

} // namespace

const QStringList& CCsvExport::Columns()
{
    static const QStringList columns { QStringLiteral("file"), QStringLiteral("record"), QStringLiteral("value"),
        QStringLiteral("time_local"), QStringLiteral("time_utc"), QStringLiteral("band"), QStringLiteral("band_name"),
        QStringLiteral("duration_s"), QStringLiteral("level_dBm"), QStringLiteral("threshold_dBm"),
        QStringLiteral("over_threshold") };
    return columns;
}

QByteArray CCsvExport::Encode(const QString& source, const QList<CRecord>& records)
{
    CRows rows;
    rows.Header();
    rows.Add(source, records);
    return rows.Bytes().toByteArray();
}

bool CCsvExport::WriteRecords(const QList<CRecord>& records, const QString& source, const QString& outPath,
    QString& error)
{
    error.clear();
    QSaveFile file(outPath);
    if (!Open(file, error))
        return false;
    CRows rows(&file);
    rows.Header();
    rows.Add(source, records);
    return Finish(file, rows, error);
}

bool CCsvExport::WriteFiles(const QStringList& dataFiles, const QString& deviceType, const QString& outPath,
    QString& error, bool* written)
{
    const Outcome outcome = ExportFiles(dataFiles, deviceType, outPath, error);
    if (written)
        *written = outcome == Written || outcome == PartlyWritten;
    return outcome == Written;
}

CCsvExport::Outcome CCsvExport::ExportFiles(const QStringList& dataFiles, const QString& deviceType,
    const QString& outPath, QString& error)
{
    error.clear();
    if (dataFiles.isEmpty()) {
        error = tr("There are no data files to export.");
        return NothingReadable;
    }
    QSaveFile file(outPath);
    if (!Open(file, error))
        return NotWritten;
    CRows rows(&file);
    rows.Header();
    QStringList refused;
    for (const QString& path : dataFiles) {
        // One file in memory at a time.
        QList<CRecord> records;
        qint32 kind = 0;
        QString type;
        const CDataFile::Result result = CStoredRecords::Load(path, deviceType, records, kind, &type);
        if (result == CDataFile::Ok)
            rows.Add(QFileInfo(path).fileName(), records);
        else
            refused.append(Refusal(path, result, type, deviceType));
        if (!rows.Ok())
            break;
    }
    if (refused.size() == dataFiles.size()) {
        file.cancelWriting();
        error = tr("Nothing was exported:") + QLatin1Char('\n') + refused.join(QLatin1Char('\n'));
        return NothingReadable;
    }
    if (!Finish(file, rows, error))
        return NotWritten;
    if (refused.isEmpty())
        return Written;
    error = tr("Exported to %1, except:").arg(Shown(outPath)) + QLatin1Char('\n') + refused.join(QLatin1Char('\n'));
    return PartlyWritten;
}

QString CCsvExport::LocalTime(quint64 time)
{
    TIMES times;
    CRows().Times(time, times);
    return QString::fromLatin1(times.local, times.localSize);
}

QString CCsvExport::UtcTime(quint64 time)
{
    TIMES times;
    CRows().Times(time, times);
    return QString::fromLatin1(times.utc, times.utcSize);
}
