#include "files/CStoredRecords.h"

#include "app/ClientLog.h"
#include "files/CRecordingCodec.h"
#include "files/CRecordingReader.h"
#include "files/RecordingSettings.h"

bool CStoredRecords::IsRecording(const QString& path)
{
    return path.endsWith(QLatin1Char('.') + QLatin1String(RecordingSettings::EXTENSION));
}

CDataFile::Result CStoredRecords::Load(const QString& path, const QString& expectedDeviceType, QList<CRecord>& records,
    qint32& kind, QString* deviceType)
{
    if (IsRecording(path))
        return LoadRecording(path, expectedDeviceType, records, kind, deviceType);
    return CDataFile::Load(path, expectedDeviceType, records, kind, deviceType);
}

CDataFile::Result CStoredRecords::LoadRecording(const QString& path, const QString& expectedDeviceType,
    QList<CRecord>& records, qint32& kind, QString* deviceType)
{
    CRecordingReader reader;
    if (!reader.Open(path))
        return reader.Status() == CRecordingCodec::NotARecording && !reader.ErrorString().isEmpty()
            ? CDataFile::OpenFailed
            : CDataFile::Corrupt;
    QList<CRecord> read;
    CRecordingCodec::CONTENTS piece;
    while (reader.Next(piece)) {
        if (read.size() + piece.records.size() > MAX_RECORDING_RECORDS) {
            qCWarning(lcStorage) << "too long to load whole:" << path;
            return CDataFile::Corrupt;
        }
        read += piece.records;
        // The device frame comes first: another device's recording is
        // refused before its records cost memory.
        if (!expectedDeviceType.isEmpty() && reader.Device() != expectedDeviceType) {
            if (deviceType)
                *deviceType = reader.Device();
            return CDataFile::WrongDevice;
        }
    }
    if (reader.Status() != CRecordingCodec::Whole)
        qCInfo(lcStorage) << "recording read past damage or a cut end:" << path << reader.Status();
    kind = CRecordingCodec::IsAutomatic(read) ? 1 : 0;
    if (deviceType)
        *deviceType = reader.Device();
    records = std::move(read);
    return CDataFile::Ok;
}
