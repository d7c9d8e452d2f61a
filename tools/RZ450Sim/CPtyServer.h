#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

class CRZ450Simulator;

// Serves one simulated detector on a pseudo-terminal, the way a USB serial
// adapter would present it. A stable symbolic link names the current slave
// side, so a client can reopen the same path after a reconnect. One thread
// pumps bytes between the pty master and the simulator.
//
// The server keeps the slave open itself, set raw: the line discipline never
// echoes or edits bytes, and the master sees no hangup when a client closes.
//
// Paced, the link behaves like 921600 baud 8N1: each byte from the client
// reaches the simulator only after its line time, and answers reach the
// client no faster than the line could carry them (one poll, a 300-byte
// report and a command byte take about 3.3 ms). Unpaced, bytes move as fast
// as the pump can turn them around.
//
// When the simulator drops off the link in the middle of a log download the
// server disconnects and, after the replug delay, comes back on a new pty.
class CPtyServer
{
public:
    static constexpr int BAUD = 921600;
    static constexpr int BITS_PER_BYTE = 10; // start, 8 data, stop

    explicit CPtyServer(CRZ450Simulator* simulator);
    ~CPtyServer();
    CPtyServer(const CPtyServer&) = delete;
    CPtyServer& operator=(const CPtyServer&) = delete;

    // `linkPath` empty: a link inside a new temporary folder.
    bool Start(const QString& linkPath = QString());
    void Stop();
    bool IsRunning() const;

    QString Path() const;      // the symbolic link
    QString SlavePath() const; // the pty it points at; empty while disconnected
    QString ErrorString() const;

    void SetPaced(bool paced);
    bool IsPaced() const;
    void SetReplugDelay(int ms); // negative: stay disconnected until Reconnect()

    void Disconnect();
    bool Reconnect();
    bool IsConnected() const;

private:
    struct TimedByte
    {
        std::int64_t due; // ns on the monotonic clock
        char byte;
    };

    struct WAIT
    {
        int master = -1;
        bool wantWrite = false;
        std::int64_t deadline = -1;
        bool spinFinalChunk = false;
        std::int64_t spinInputUntil = 0;
    };

    void Run();
    void WaitForWork(const WAIT& wait);
    void Service();
    void ReadInput(std::int64_t now);
    void FeedDue(std::int64_t now);
    void CollectOutput(std::int64_t producedAt);
    void WriteDue(std::int64_t now);
    std::int64_t NextDeadline() const;
    bool OpenPtyLocked();
    void CloseLocked();
    bool LinkLocked(const QString& target);
    void Wake();

    CRZ450Simulator* const m_simulator;
    mutable std::mutex m_lock;
    std::thread m_thread;
    bool m_running = false;
    bool m_stop = false;
    int m_wake[2] = { -1, -1 };

    int m_master = -1;
    int m_slave = -1;
    QString m_slaveName;
    QString m_link;
    QString m_tempDir;
    QString m_error;

    bool m_paced = false;
    bool m_outBlocked = false; // the client is not reading; wait for room
    int m_replugDelay = 1000;
    std::int64_t m_replugAt = -1;
    std::int64_t m_inFree = 0;     // when the inbound line is next idle
    std::int64_t m_outFree = 0;    // likewise outbound
    std::int64_t m_answeredAt = 0; // when the last answer was fully written
    std::deque<TimedByte> m_in;
    std::deque<TimedByte> m_out;
};
