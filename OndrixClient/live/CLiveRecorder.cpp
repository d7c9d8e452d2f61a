#include "live/CLiveRecorder.h"
#include "app/ClientSettingsKeys.h"

#include "app/ClientLog.h"
#include "live/CRecordingRetention.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

namespace {

// A lock file is written just after it is made: one that still says
// nothing after this long was cut short by a crash or a power cut.
const int UNREADABLE_LOCK_STALE_MS = 10000;

} // namespace

CLiveRecorder::CLiveRecorder(QObject* parent)
    : QObject(parent)
    , m_writer(Limits().freeFloorBytes)
    , m_limits(Limits())
{
    m_flushTimer.setInterval(FLUSH_INTERVAL_MS);
    connect(&m_flushTimer, &QTimer::timeout, this, &CLiveRecorder::Flush);
}

CLiveRecorder::~CLiveRecorder()
{
    Close();
    m_writer.Wait(m_nLastBatch);
}

RecordingSettings::LIMITS CLiveRecorder::Limits()
{
    using namespace RecordingSettings;
    const QSettings settings;
    LIMITS limits;
    limits.enabled = settings.value(QLatin1String(ClientSettingsKeys::RECORDING_ENABLED), true).toBool();
    limits.keepBytes
        = qint64(std::max(1,
              settings.value(QLatin1String(ClientSettingsKeys::RECORDING_KEEP_GB), DEFAULT_KEEP_GB).toInt()))
        << 30;
    limits.keepDays = std::max(1,
        settings.value(QLatin1String(ClientSettingsKeys::RECORDING_KEEP_DAYS), DEFAULT_KEEP_DAYS).toInt());
    limits.freeFloorBytes
        = qint64(std::max(0,
              settings.value(QLatin1String(ClientSettingsKeys::RECORDING_FREE_FLOOR_MB), DEFAULT_FREE_FLOOR_MB)
                  .toInt()))
        << 20;
    return limits;
}

void CLiveRecorder::SetLimits(const RecordingSettings::LIMITS& limits)
{
    m_limits = limits;
    m_writer.SetFreeFloor(limits.freeFloorBytes);
}

QString CLiveRecorder::Folder(const QString& storage)
{
    return QDir(storage).filePath(QLatin1String(RecordingSettings::FOLDER));
}

std::unique_ptr<QLockFile> CLiveRecorder::Claim(const QString& recording)
{
    auto lock = std::make_unique<QLockFile>(recording + QStringLiteral(".lock"));
    // Held for days: only a holder that is gone makes a lock stale, never
    // its age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    qint64 pid = 0;
    QString host;
    QString program;
    const QFileInfo info(recording + QStringLiteral(".lock"));
    const bool unreadable = lock->error() == QLockFile::LockFailedError && !lock->getLockInfo(&pid, &host, &program);
    if (unreadable && info.lastModified().msecsTo(QDateTime::currentDateTime()) > UNREADABLE_LOCK_STALE_MS
        && lock->removeStaleLockFile() && lock->tryLock(0))
        return lock;
    return nullptr;
}

bool CLiveRecorder::Start(const QString& storage, const QString& device, QString& error)
{
    Close();
    m_strStorage = storage;
    m_strDevice = device;
    return Open(error);
}

bool CLiveRecorder::Open(QString& error)
{
    const QString folder = Folder(m_strStorage);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    m_lastStart = m_lastStart.isValid() && now <= m_lastStart ? m_lastStart.addMSecs(1) : now;
    const QString name = QStringLiteral("live-%1.%2")
                             .arg(m_lastStart.toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")),
                                 QLatin1String(RecordingSettings::EXTENSION));
    const QString path = QDir(folder).filePath(name);
    // The lock comes first: no other client may see the recording unheld.
    std::unique_ptr<QLockFile> lock;
    if (QDir().mkpath(folder))
        lock = Claim(path);
    if (!lock || QFileInfo::exists(path)) {
        error = tr("Cannot start the recording %1: %2")
                    .arg(path, lock ? tr("the file exists") : tr("no lock file can be made beside it"));
        return false;
    }
    CRecordingWriter::ITEM open;
    open.kind = CRecordingWriter::ITEM::Open;
    open.path = path;
    open.device = m_strDevice;
    open.lock = std::move(lock);
    m_pending.append(open);
    m_strPath = path;
    m_session.append(path);
    m_flushTimer.start();
    Flush();
    CRecordingRetention::Apply(folder, m_limits, { path });
    Q_EMIT recordingsChanged();
    return IsRecording();
}

void CLiveRecorder::Append(const CRecord& record)
{
    if (!IsRecording())
        return;
    if (m_pending.isEmpty() || m_pending.last().kind != CRecordingWriter::ITEM::Records)
        m_pending.append(CRecordingWriter::ITEM());
    m_pending.last().records.append(record);
}

void CLiveRecorder::AppendSweep(const SPECTRUM_SWEEP& sweep)
{
    if (IsRecording())
        Queue(CRecordingWriter::ITEM::Sweep).sweep = sweep;
}

void CLiveRecorder::MarkGap(const CRecordingCodec::GAP& gap)
{
    if (IsRecording())
        Queue(CRecordingWriter::ITEM::Gap).gap = gap;
}

void CLiveRecorder::AppendNote(const NOTE& note)
{
    if (IsRecording())
        Queue(CRecordingWriter::ITEM::Note).note = note;
}

CRecordingWriter::ITEM& CLiveRecorder::Queue(CRecordingWriter::ITEM::Kind kind)
{
    m_pending.append(CRecordingWriter::ITEM());
    m_pending.last().kind = kind;
    return m_pending.last();
}

bool CLiveRecorder::Flush()
{
    if (!m_pending.isEmpty())
        m_nLastBatch = m_writer.Push(std::exchange(m_pending, {}));
    const CRecordingWriter::STATUS status = m_writer.Status();
    Read(status);
    // The writer may still be on the one before: only its own size counts.
    if (IsRecording() && status.path == m_strPath && status.bytes > m_nRollBytes)
        RollOver();
    return IsRecording();
}

void CLiveRecorder::Read(const CRecordingWriter::STATUS& status)
{
    if (status.failures != m_nFailuresSeen) {
        m_nFailuresSeen = status.failures;
        if (IsRecording())
            Stop(tr("The recording stopped: %1. What was recorded so far is kept.").arg(status.error));
        return;
    }
    if (status.paused != m_bPaused) {
        m_bPaused = status.paused;
        Q_EMIT notice(m_bPaused
                ? tr("Recording paused: the storage disk has less than %1 MB free.").arg(m_limits.freeFloorBytes >> 20)
                : tr("Recording resumed: the storage disk has space again."));
    }
}

void CLiveRecorder::RollOver()
{
    Queue(CRecordingWriter::ITEM::Close);
    QString error;
    if (!Open(error))
        Stop(error);
}

void CLiveRecorder::Stop(const QString& message)
{
    m_flushTimer.stop();
    m_pending.clear();
    m_strPath.clear();
    m_session.clear();
    Q_EMIT stopped(message);
    Q_EMIT recordingsChanged();
}

void CLiveRecorder::Close()
{
    if (!IsRecording())
        return;
    Queue(CRecordingWriter::ITEM::Close);
    m_nLastBatch = m_writer.Push(std::exchange(m_pending, {}));
    m_flushTimer.stop();
    m_strPath.clear();
    m_session.clear();
    Q_EMIT recordingsChanged();
}

void CLiveRecorder::Drain()
{
    Flush();
    m_writer.Wait(m_nLastBatch);
    Read(m_writer.Status());
}

CRecordingCodec::SUMMARY CLiveRecorder::Summary() const
{
    const CRecordingWriter::STATUS status = m_writer.Status();
    return status.path == m_strPath ? status.summary : CRecordingCodec::SUMMARY();
}
