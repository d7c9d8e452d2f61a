#pragma once

#include "CRecord.h"
#include "SPECTRUM_SWEEP.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QLockFile;

// Appends the live records (and the scan band's spectra) to a recording in
// the storage folder as they arrive, and hands them to the disk at least once
// a second, so that a crash loses at most that second. On the GUI thread an
// append only encodes into memory; the write happens at the flush.
//
// A write that fails (a full disk, the folder gone) stops the recording with
// a message; what was already written stays readable.
class CLiveRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int FLUSH_INTERVAL_MS = 1000;
    static const char* const EXTENSION; // "orzrec"
    // The user's choice in the settings; recording is on unless switched off.
    static const char* const ENABLED_KEY; // "Recording/Enabled"

    explicit CLiveRecorder(QObject* parent = nullptr);
    ~CLiveRecorder() override;

    // A new recording in folder, named after the start time, of the
    // device with this ID.
    bool Start(const QString& folder, const QString& device, QString& error);
    bool IsRecording() const { return m_file.isOpen(); }
    QString Path() const { return m_file.fileName(); }
    void Append(const CRecord& record);
    void AppendSweep(const SPECTRUM_SWEEP& sweep);
    // Writes what is pending; false, and stopped, when the disk refused it.
    bool Flush();
    // A clean end: the recording has served its purpose and goes.
    void Discard();

    // A recording is held through a lock file beside it while it is being
    // written, so that another client on the same storage folder neither
    // offers it for recovery nor removes it. nullptr while a running
    // program holds it; a lock left by a program that ended is taken over.
    static std::unique_ptr<QLockFile> Claim(const QString& recording);

Q_SIGNALS:
    void stopped(const QString& message);

private:
    void Fail(const QString& message);

    QFile m_file;
    std::unique_ptr<QLockFile> m_pLock;
    QByteArray m_pending;
    QTimer m_flushTimer;
};
