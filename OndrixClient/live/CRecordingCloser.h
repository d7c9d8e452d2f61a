#pragma once

#include "files/CRecordingCodec.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;

// At start: closes the recordings a crash or a power cut left open, where
// they were cut, so that they show in the storage tree like any other. No
// byte of them is removed and nothing waits on a question: the summary
// frame goes after whatever the file ends with. Runs on a thread of its
// own, with the live feed already recording; a recording that another
// running client holds is left alone.
//
// Recordings that an older version kept in the storage folder itself move
// into its recordings folder on the way.
class CRecordingCloser : public QObject
{
    Q_OBJECT

public:
    struct CLOSED
    {
        QString path;
        CRecordingCodec::SUMMARY summary;
        CRecordingCodec::Status status = CRecordingCodec::Whole;
        QString error; // not closed, and why
    };

    explicit CRecordingCloser(QObject* parent = nullptr);
    // Stops between pieces: what is not closed yet is closed at the next start.
    ~CRecordingCloser() override;

    void Start(const QString& storage);
    bool IsRunning() const;
    QList<CLOSED> Closed() const { return m_closed; }

    // The same work, on the calling thread.
    static QList<CLOSED> CloseAll(const QString& storage, const std::atomic<bool>* cancel = nullptr);
    static CLOSED Close(const QString& path, const std::atomic<bool>* cancel = nullptr);
    // One line for the status bar about all that was closed; empty for none.
    static QString Note(const QList<CLOSED>& closed);

Q_SIGNALS:
    void finished();

private:
    static QStringList Open(const QString& storage);

    std::unique_ptr<QThread> m_pThread;
    std::atomic<bool> m_bCancel { false };
    QList<CLOSED> m_closed;
};
