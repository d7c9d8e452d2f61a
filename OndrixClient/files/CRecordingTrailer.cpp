#include "files/CRecordingTrailer.h"

#include "files/CDiskSync.h"

#include <QFile>

int CRecordingTrailer::Version(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return CRecordingCodec::HeaderVersion(file.read(CRecordingCodec::HEADER_SIZE));
}

bool CRecordingTrailer::Read(const QString& path, CRecordingCodec::SUMMARY& summary)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < CRecordingCodec::HEADER_SIZE)
        return false;
    if (!file.seek(std::max<qint64>(CRecordingCodec::HEADER_SIZE, file.size() - TAIL_BYTES)))
        return false;
    return CRecordingCodec::ReadSummary(file.read(TAIL_BYTES), summary);
}

bool CRecordingTrailer::Append(const QString& path, const CRecordingCodec::SUMMARY& summary, QString& error)
{
    QFile file(path);
    const QByteArray frame = CRecordingCodec::SummaryFrame(summary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(frame) != frame.size()
        || !CDiskSync::SyncData(file)) {
        error = file.errorString();
        return false;
    }
    return true;
}
