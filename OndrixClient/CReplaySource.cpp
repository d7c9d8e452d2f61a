#include "CReplaySource.h"

#include "CDataFile.h"
#include "CRecordingCodec.h"
#include "IDevice.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A device type from the file goes into a message: a sane length only.
const int MAX_TYPE_SHOWN = 64;

bool IsRecording(QFile& file)
{
    // The header alone decodes as an empty recording (or a newer one);
    // anything else is taken for a data file.
    const CRecordingCodec::CONTENTS head = CRecordingCodec::Decode(file.peek(CRecordingCodec::HEADER_SIZE));
    return head.status != CRecordingCodec::NotARecording;
}

} // namespace

bool CReplaySource::Load(const QString& path, const QString& deviceType, QString& error)
{
    *this = CReplaySource();
    m_strName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("%1 cannot be opened: %2").arg(m_strName, file.errorString());
        return false;
    }
    if (file.size() > MAX_FILE_BYTES) {
        error = tr("%1 is larger than %2 MiB and is not replayed.").arg(m_strName).arg(MAX_FILE_BYTES >> 20);
        return false;
    }
    bool loaded = IsRecording(file) ? LoadRecording(file, deviceType, error) : LoadDataFile(path, deviceType, error);
    if (loaded && m_records.isEmpty() && m_sweeps.isEmpty()) {
        error = tr("%1 holds nothing to replay.").arg(m_strName);
        loaded = false;
    }
    if (!loaded)
        *this = CReplaySource();
    return loaded;
}

bool CReplaySource::LoadRecording(QFile& file, const QString& deviceType, QString& error)
{
    CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(file.readAll());
    if (contents.status == CRecordingCodec::Newer || contents.status == CRecordingCodec::NotARecording) {
        error = m_strName + QStringLiteral(": ") + CRecordingCodec::Describe(contents);
        return false;
    }
    // A recording cut before its device frame names no device: its records
    // are taken for this one's.
    if (!contents.device.isEmpty() && contents.device != deviceType) {
        error = WrongDevice(contents.device);
        return false;
    }
    if (contents.status != CRecordingCodec::Whole)
        m_strNote = CRecordingCodec::Describe(contents);
    m_nMode = CRecordingCodec::IsAutomatic(contents.records) ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
    m_records = std::move(contents.records);
    m_sweeps = std::move(contents.sweeps);
    return true;
}

bool CReplaySource::LoadDataFile(const QString& path, const QString& deviceType, QString& error)
{
    qint32 kind = 0;
    QString type;
    switch (CDataFile::Load(path, deviceType, m_records, kind, &type)) {
    case CDataFile::Ok: m_nMode = ModeOfKind(kind); return true;
    case CDataFile::WrongDevice: error = WrongDevice(type); return false;
    case CDataFile::OpenFailed: error = tr("%1 cannot be read.").arg(m_strName); return false;
    case CDataFile::Corrupt: break;
    }
    error = tr("%1 is neither a live recording nor a realtime data file, or it is damaged.").arg(m_strName);
    return false;
}

QString CReplaySource::WrongDevice(const QString& type) const
{
    return tr("%1 comes from a device of another type (%2).").arg(m_strName, type.left(MAX_TYPE_SHOWN));
}

int CReplaySource::ModeOfKind(int kind)
{
    return kind == 1 || kind == 2 ? IDevice::MODE_AUTO : IDevice::MODE_MAN;
}
