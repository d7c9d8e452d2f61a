#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"
#include "files/CRecordingCodec.h"
#include "files/CRecordingWriter.h"
#include "files/RecordingSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class QLockFile;

// The live session's recording: everything the detector sends while it is
// live goes into the storage folder's Recordings/ as it arrives, and is
// kept there. A session is one or more recordings (a long one rolls over
// into the next file); closing a session closes its recording, complete with
// a summary of what it holds, and the next record starts the next session.
//
// On the GUI thread an append only adds to a list; once a second the list
// goes to the writer's thread, which encodes it, writes it and hands it to
// the disk. A write that fails stops the recording with a message; running
// short of disk space pauses it until space returns.
class CLiveRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int FLUSH_INTERVAL_MS = 1000;
    // A recording rolls over at this size, so that each one loads whole and
    // the oldest can go one at a time.
    static constexpr qint64 ROLL_BYTES = qint64(32) << 20;

    explicit CLiveRecorder(QObject* parent = nullptr);
    // Closes the recording: a clean end keeps it.
    ~CLiveRecorder() override;

    // A new session and its first recording in storage/Recordings, named
    // after the start time, of the device with this ID.
    bool Start(const QString& storage, const QString& device, QString& error);
    bool IsRecording() const { return !m_strPath.isEmpty(); }
    QString Path() const { return m_strPath; }
    // The session's recordings, oldest first, the current one last.
    QStringList Session() const { return m_session; }
    void Append(const CRecord& record);
    void AppendSweep(const SPECTRUM_SWEEP& sweep);
    void MarkGap(const CRecordingCodec::GAP& gap);
    void AppendNote(const NOTE& note);
    // Hands what is pending to the writer; false once the recording stopped.
    bool Flush();
    // Ends the session; its recordings stay.
    void Close();
    // Until everything appended so far is on the disk: the session's files
    // are about to be read.
    void Drain();
    // What the current recording holds so far, as far as it was written.
    CRecordingCodec::SUMMARY Summary() const;
    void SetLimits(const RecordingSettings::LIMITS& limits);
    // Tests roll over sooner than a day of records would.
    void SetRollBytes(qint64 bytes) { m_nRollBytes = bytes; }

    static RecordingSettings::LIMITS Limits();
    static QString Folder(const QString& storage);
    // A recording is held through a lock file beside it while it is being
    // written, so that another client on the same storage folder neither
    // closes it nor removes it. nullptr while a running program holds it; a
    // lock left by a program that ended is taken over.
    static std::unique_ptr<QLockFile> Claim(const QString& recording);

Q_SIGNALS:
    void stopped(const QString& message);
    // A message for the status bar that is no failure (paused, resumed).
    void notice(const QString& message);
    // A recording was started or closed: the storage tree lists it anew.
    void recordingsChanged();

private:
    bool Open(QString& error);
    // A new item at the end of what goes to the writer next.
    CRecordingWriter::ITEM& Queue(CRecordingWriter::ITEM::Kind kind);
    void RollOver();
    void Read(const CRecordingWriter::STATUS& status);
    void Stop(const QString& message);

    CRecordingWriter m_writer;
    QList<CRecordingWriter::ITEM> m_pending;
    qint64 m_nLastBatch = 0;
    QString m_strStorage;
    QString m_strDevice;
    QString m_strPath;
    QDateTime m_lastStart; // a recording's name is its start: never twice the same
    QStringList m_session;
    RecordingSettings::LIMITS m_limits;
    qint64 m_nRollBytes = ROLL_BYTES;
    int m_nFailuresSeen = 0;
    bool m_bPaused = false;
    QTimer m_flushTimer;
};
