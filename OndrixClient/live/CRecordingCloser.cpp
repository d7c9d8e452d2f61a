#include "live/CRecordingCloser.h"

#include "app/ClientLog.h"
#include "files/CRecordingSummary.h"
#include "files/CRecordingTrailer.h"
#include "live/CLiveRecorder.h"
#include "live/CRecordingRetention.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

CRecordingCloser::CRecordingCloser(QObject* parent)
    : QObject(parent)
{
}

CRecordingCloser::~CRecordingCloser()
{
    m_bCancel = true;
    if (m_pThread)
        m_pThread->wait();
}

void CRecordingCloser::Start(const QString& storage)
{
    if (IsRunning())
        return;
    m_closed.clear();
    m_pThread.reset(QThread::create([this, storage] { m_closed = CloseAll(storage, &m_bCancel); }));
    connect(m_pThread.get(), &QThread::finished, this, &CRecordingCloser::finished);
    m_pThread->start(QThread::LowPriority);
}

bool CRecordingCloser::IsRunning() const
{
    return m_pThread && m_pThread->isRunning();
}

QList<CRecordingCloser::CLOSED> CRecordingCloser::CloseAll(const QString& storage, const std::atomic<bool>* cancel)
{
    QList<CLOSED> closed;
    for (const QString& path : Open(storage)) {
        if (cancel && *cancel)
            break;
        const CLOSED one = Close(path, cancel);
        if (!one.path.isEmpty())
            closed.append(one);
    }
    return closed;
}

QStringList CRecordingCloser::Open(const QString& storage)
{
    const QString folder = CLiveRecorder::Folder(storage);
    // Left by an older version beside the data files: moved, not copied,
    // so that nothing is kept twice.
    for (const QString& old : CRecordingRetention::List(storage)) {
        const std::unique_ptr<QLockFile> lock = CLiveRecorder::Claim(old);
        QDir().mkpath(folder);
        const QString moved = QDir(folder).filePath(QFileInfo(old).fileName());
        if (lock && !QFileInfo::exists(moved) && QFile::rename(old, moved))
            qCInfo(lcStorage) << "recording moved into the recordings folder:" << moved;
    }
    QStringList open;
    for (const QString& path : CRecordingRetention::List(folder)) {
        CRecordingCodec::SUMMARY summary;
        // An older version's recording stays as that version wrote it.
        if (CRecordingTrailer::Version(path) == CRecordingCodec::VERSION && !CRecordingTrailer::Read(path, summary))
            open.append(path);
    }
    return open;
}

CRecordingCloser::CLOSED CRecordingCloser::Close(const QString& path, const std::atomic<bool>* cancel)
{
    CLOSED closed;
    const std::unique_ptr<QLockFile> lock = CLiveRecorder::Claim(path);
    if (!lock) {
        qCInfo(lcStorage) << "left alone, another running client records it:" << path;
        return closed;
    }
    closed.path = path;
    // Closed meanwhile by a client that has ended since.
    if (CRecordingTrailer::Read(path, closed.summary))
        return CLOSED();
    const CRecordingSummary::RECORDING recorded = CRecordingSummary::Scan(path, cancel);
    closed.summary = recorded.summary;
    closed.status = recorded.status;
    if (recorded.stopped) {
        closed.error = tr("closing was stopped");
        return closed;
    }
    if (recorded.status == CRecordingCodec::Newer || recorded.status == CRecordingCodec::NotARecording) {
        CRecordingCodec::CONTENTS contents;
        contents.status = recorded.status;
        closed.error = CRecordingCodec::Describe(contents);
        return closed;
    }
    if (!CRecordingTrailer::Append(path, closed.summary, closed.error))
        qCWarning(lcStorage) << "interrupted recording not closed:" << path << closed.error;
    else
        qCInfo(lcStorage) << "interrupted recording closed:" << path << closed.summary.records << "records,"
                          << closed.summary.damagedBytes << "damaged bytes";
    return closed;
}

QString CRecordingCloser::Note(const QList<CLOSED>& closed)
{
    qint64 records = 0;
    qint64 damaged = 0;
    int places = 0;
    int kept = 0;
    for (const CLOSED& one : closed) {
        if (!one.error.isEmpty())
            continue;
        ++kept;
        records += one.summary.records;
        damaged += one.summary.damagedBytes;
        places += one.summary.damagedPlaces;
    }
    if (kept == 0)
        return closed.isEmpty() ? QString()
                                : tr("An interrupted recording could not be closed: %1").arg(closed.first().error);
    QString note = tr("%n interrupted recording(s) closed and kept", nullptr, kept) + tr(", %1 records").arg(records);
    if (places > 0)
        note += tr("; %n damaged place(s) (%1 bytes) could not be read and were left in the file", nullptr, places)
                    .arg(damaged);
    return note + QLatin1Char('.');
}
