#include "CLiveRecorder.h"

#include "CRecordingCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// A lock file is written just after it is made: one that still says
// nothing after this long was cut short by a crash or a power cut.
const int UNREADABLE_LOCK_STALE_MS = 10000;

} // namespace

const char* const CLiveRecorder::EXTENSION = "orzrec";
const char* const CLiveRecorder::ENABLED_KEY = "Recording/Enabled";

CLiveRecorder::CLiveRecorder(QObject* parent)
    : QObject(parent)
{
    m_flushTimer.setInterval(FLUSH_INTERVAL_MS);
    connect(&m_flushTimer, &QTimer::timeout, this, &CLiveRecorder::Flush);
}

CLiveRecorder::~CLiveRecorder()
{
    Flush();
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

bool CLiveRecorder::Start(const QString& folder, const QString& device, QString& error)
{
    Discard();
    const QString name = QStringLiteral("live-%1.%2")
                             .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")),
                                 QLatin1String(EXTENSION));
    m_file.setFileName(QDir(folder).filePath(name));
    // The lock comes first: no other client may see the recording unheld.
    if (QDir().mkpath(folder))
        m_pLock = Claim(m_file.fileName());
    if (!m_pLock || !m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const QString reason = m_pLock ? m_file.errorString() : tr("no lock file can be made beside it");
        error = tr("Cannot start the recording %1: %2").arg(m_file.fileName(), reason);
        m_pLock.reset();
        return false;
    }
    m_pending = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(device);
    m_flushTimer.start();
    return Flush();
}

void CLiveRecorder::Append(const CRecord& record)
{
    if (IsRecording())
        m_pending += CRecordingCodec::RecordFrame(record);
}

void CLiveRecorder::AppendSweep(const SPECTRUM_SWEEP& sweep)
{
    if (IsRecording())
        m_pending += CRecordingCodec::SweepFrame(sweep);
}

bool CLiveRecorder::Flush()
{
    if (!IsRecording())
        return false;
    if (m_pending.isEmpty())
        return true;
    // On a folder removed under it the file would go on, unlinked, to
    // nobody's use.
    if (!QFileInfo::exists(m_file.fileName())) {
        Fail(tr("The recording stopped: its folder was removed."));
        return false;
    }
    const qint64 written = m_file.write(m_pending);
    if (written != m_pending.size() || !m_file.flush()) {
        Fail(tr("The recording stopped: %1. What was recorded so far is kept.").arg(m_file.errorString()));
        return false;
    }
    m_pending.clear();
    return true;
}

void CLiveRecorder::Discard()
{
    m_flushTimer.stop();
    m_pending.clear();
    if (m_file.isOpen()) {
        m_file.close();
        m_file.remove();
    }
    m_pLock.reset();
}

void CLiveRecorder::Fail(const QString& message)
{
    m_flushTimer.stop();
    m_pending.clear();
    // Closed, not removed: a frame cut short by a full disk still leaves
    // every earlier one readable.
    m_file.close();
    // Nobody writes it any more: another client may recover it.
    m_pLock.reset();
    Q_EMIT stopped(message);
}
