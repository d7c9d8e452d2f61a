#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"
#include "files/CRecordingCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QLockFile;

// Writes recordings on a thread of its own: encodes the records, appends the
// frames and hands them to the disk (fdatasync) each time a batch arrives.
// The window only queues, so neither a slow disk nor a full one holds it up.
//
// A batch is carried out in order: open a recording, records, sweeps, gaps,
// notes, close it. A note is written under the free-space floor too: it is
// small, and nothing else keeps it. Under the free-space floor records are counted instead of
// written, and a gap frame says what is missing once space returns. A write
// that fails stops that recording; what was written stays readable.
class CRecordingWriter
{
public:
    // The queue's bound: about an hour at the line rate. A disk that stalls
    // longer costs records (marked as a gap), never the program's memory.
    static constexpr qint64 MAX_QUEUED_RECORDS = 1000000;

    struct ITEM
    {
        enum Kind { Open, Records, Sweep, Gap, Note, Close };
        Kind kind = Records;
        QString path;                    // Open: the new recording; its folder exists
        QString device;                  // Open
        std::shared_ptr<QLockFile> lock; // Open: held until the recording is closed
        QList<CRecord> records;
        SPECTRUM_SWEEP sweep;
        CRecordingCodec::GAP gap;
        NOTE note;
    };

    struct STATUS
    {
        QString path; // being written; empty when none
        qint64 bytes = 0;
        CRecordingCodec::SUMMARY summary; // of what that recording holds so far
        bool paused = false;
        // Counts every failure, so that each one is told once.
        int failures = 0;
        QString error;
        qint64 done = 0; // batches carried out
    };

    explicit CRecordingWriter(qint64 freeFloorBytes);
    // Carries out what is queued, closes the recording and ends the thread.
    ~CRecordingWriter();

    // Returns the batch's number, for Wait.
    qint64 Push(QList<ITEM> batch);
    // Until the batch and every one before it is on the disk.
    void Wait(qint64 batch);
    STATUS Status() const;
    void SetFreeFloor(qint64 bytes);

private:
    void Run();
    void Carry(ITEM& item);
    void OpenFile(const ITEM& item);
    void WriteRecords(const QList<CRecord>& records);
    void WriteSweep(const SPECTRUM_SWEEP& sweep);
    void WriteGap(const CRecordingCodec::GAP& gap);
    void WriteNote(const NOTE& note);
    void CloseFile();
    bool Write(const QByteArray& bytes);
    void Fail(const QString& error);
    bool UnderFloor();
    void Publish();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_doneCondition;
    QList<QList<ITEM>> m_queue;
    qint64 m_nQueuedRecords = 0;
    qint64 m_nPushed = 0;
    bool m_bStop = false;
    STATUS m_status; // the thread's, as last published

    // The thread's own.
    QFile m_file;
    std::shared_ptr<QLockFile> m_pLock;
    CRecordingCodec::SUMMARY m_summary;
    int m_nFirstBand = -1;
    bool m_bUnsynced = false;
    bool m_bPaused = false;
    QElapsedTimer m_floorChecked; // free space is asked at most once a second
    qint64 m_nFreeFloor;
    CRecordingCodec::GAP m_dropped; // what was not written, to be marked
    std::thread m_thread;
};
