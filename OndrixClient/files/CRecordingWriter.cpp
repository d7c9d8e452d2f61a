#include "files/CRecordingWriter.h"

#include "app/ClientLog.h"
#include "files/CDiskSync.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("CRecordingWriter", text);
}

// Adds records that were not written to the gap that will say so.
void Widen(CRecordingCodec::GAP& gap, const QList<CRecord>& records, quint8 reason)
{
    if (records.isEmpty())
        return;
    if (gap.missed <= 0)
        gap.from = records.first().time;
    gap.to = records.last().time;
    gap.missed = std::max<qint64>(gap.missed, 0) + records.size();
    gap.reason = reason;
}

} // namespace

CRecordingWriter::CRecordingWriter(qint64 freeFloorBytes)
    : m_nFreeFloor(freeFloorBytes)
{
    m_dropped.missed = 0;
    m_thread = std::thread([this] { Run(); });
}

CRecordingWriter::~CRecordingWriter()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

qint64 CRecordingWriter::Push(QList<ITEM> batch)
{
    qint64 number = 0;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (qsizetype i = batch.size() - 1; i >= 0; --i) {
            if (batch.at(i).kind != ITEM::Records)
                continue;
            if (m_nQueuedRecords < MAX_QUEUED_RECORDS) {
                m_nQueuedRecords += batch.at(i).records.size();
                continue;
            }
            // The disk has not taken anything for an hour: these are told
            // as a gap rather than held.
            ITEM gap;
            gap.kind = ITEM::Gap;
            gap.gap.missed = 0;
            Widen(gap.gap, batch.at(i).records, CRecordingCodec::DiskFull);
            batch[i] = gap;
        }
        m_queue.append(std::move(batch));
        number = ++m_nPushed;
    }
    m_wake.notify_one();
    return number;
}

void CRecordingWriter::Wait(qint64 batch)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_doneCondition.wait(lock, [&] { return m_status.done >= batch; });
}

CRecordingWriter::STATUS CRecordingWriter::Status() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_status;
}

void CRecordingWriter::SetFreeFloor(qint64 bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_nFreeFloor = bytes;
}

void CRecordingWriter::Run()
{
    for (;;) {
        QList<QList<ITEM>> batches;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStop || !m_queue.isEmpty(); });
            if (m_queue.isEmpty())
                break;
            batches.swap(m_queue);
        }
        for (QList<ITEM>& batch : batches) {
            for (ITEM& item : batch)
                Carry(item);
        }
        if (m_bUnsynced && m_file.isOpen() && !CDiskSync::SyncData(m_file))
            Fail(Tr("the disk did not take the data: %1").arg(m_file.errorString()));
        m_bUnsynced = false;
        Publish();
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_status.done += batches.size();
        }
        m_doneCondition.notify_all();
    }
    CloseFile();
    Publish();
}

void CRecordingWriter::Carry(ITEM& item)
{
    switch (item.kind) {
    case ITEM::Open: OpenFile(item); break;
    case ITEM::Records: WriteRecords(item.records); break;
    case ITEM::Sweep: WriteSweep(item.sweep); break;
    case ITEM::Gap: WriteGap(item.gap); break;
    case ITEM::Note: WriteNote(item.note); break;
    case ITEM::Close: CloseFile(); break;
    }
    if (item.kind == ITEM::Records) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_nQueuedRecords -= item.records.size();
    }
}

void CRecordingWriter::OpenFile(const ITEM& item)
{
    CloseFile();
    m_file.setFileName(item.path);
    m_pLock = item.lock;
    m_summary = CRecordingCodec::SUMMARY();
    m_nFirstBand = -1;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        Fail(Tr("cannot make %1: %2").arg(item.path, m_file.errorString()));
        return;
    }
    if (Write(CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(item.device))
        && !CDiskSync::SyncFolder(QFileInfo(item.path).absolutePath()))
        qCWarning(lcStorage) << "the folder of a new recording was not synced:" << item.path;
}

void CRecordingWriter::WriteRecords(const QList<CRecord>& records)
{
    if (!m_file.isOpen() || records.isEmpty())
        return;
    if (UnderFloor()) {
        Widen(m_dropped, records, CRecordingCodec::DiskFull);
        return;
    }
    if (!Write(CRecordingCodec::RecordBlockFrames(records)))
        return;
    if (m_summary.records == 0) {
        m_summary.first = records.first().time;
        m_nFirstBand = records.first().band;
    }
    for (const CRecord& record : records)
        m_summary.automatic = m_summary.automatic || record.band != m_nFirstBand;
    m_summary.last = records.last().time;
    m_summary.records += records.size();
}

void CRecordingWriter::WriteSweep(const SPECTRUM_SWEEP& sweep)
{
    if (m_file.isOpen() && !m_bPaused && Write(CRecordingCodec::SweepFrame(sweep)))
        ++m_summary.sweeps;
}

void CRecordingWriter::WriteGap(const CRecordingCodec::GAP& gap)
{
    if (m_file.isOpen() && Write(CRecordingCodec::GapFrame(gap)))
        ++m_summary.gaps;
}

void CRecordingWriter::WriteNote(const NOTE& note)
{
    if (m_file.isOpen())
        Write(CRecordingCodec::NoteFrame(note));
}

void CRecordingWriter::CloseFile()
{
    if (!m_file.isOpen())
        return;
    if (m_dropped.missed > 0) {
        WriteGap(m_dropped);
        m_dropped = CRecordingCodec::GAP();
        m_dropped.missed = 0;
    }
    if (m_file.isOpen() && Write(CRecordingCodec::SummaryFrame(m_summary)) && !CDiskSync::SyncData(m_file))
        qCWarning(lcStorage) << "a closed recording was not synced:" << m_file.fileName();
    m_file.close();
    m_bUnsynced = false;
    m_pLock.reset();
}

bool CRecordingWriter::Write(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return true;
    // On a folder removed under it the file would go on, unlinked, to
    // nobody's use.
    if (!QFileInfo::exists(m_file.fileName())) {
        Fail(Tr("its folder was removed"));
        return false;
    }
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        Fail(m_file.errorString());
        return false;
    }
    m_bUnsynced = true;
    return true;
}

void CRecordingWriter::Fail(const QString& error)
{
    qCWarning(lcStorage) << "recording stopped:" << m_file.fileName() << error;
    // Closed, not removed: a frame cut short still leaves every earlier one
    // readable, and the next start closes it.
    m_file.close();
    m_pLock.reset();
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_status.failures;
    m_status.error = error;
}

bool CRecordingWriter::UnderFloor()
{
    if (m_floorChecked.isValid() && m_floorChecked.elapsed() < 1000)
        return m_bPaused;
    m_floorChecked.start();
    qint64 floor = 0;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        floor = m_nFreeFloor;
    }
    const qint64 free = QStorageInfo(QFileInfo(m_file.fileName()).absolutePath()).bytesAvailable();
    // A tenth more to resume than to pause: a disk near the floor must not
    // switch at every batch.
    const bool under = free >= 0 && free < (m_bPaused ? floor + floor / 10 : floor);
    if (m_bPaused && !under && m_dropped.missed > 0) {
        m_bPaused = false;
        WriteGap(m_dropped);
        m_dropped = CRecordingCodec::GAP();
        m_dropped.missed = 0;
    }
    m_bPaused = under;
    return under;
}

void CRecordingWriter::Publish()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_status.path = m_file.isOpen() ? m_file.fileName() : QString();
    m_status.bytes = m_file.isOpen() ? m_file.size() : 0;
    m_status.summary = m_summary;
    m_status.paused = m_bPaused;
}
