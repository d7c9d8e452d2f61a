#pragma once

// The simulator reads the wire protocol on its own and does not use
// interfaces/RZ450Layout.h on purpose: it is the second reading the tests
// hold the driver against, and a slip in one reading shows as a mismatch
// instead of passing in both.

#include "CBandModel.h"
#include "CSimulatedFlash.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QRandomGenerator>

#include <array>
#include <deque>

// A simulated RZ450 detector: its whole wire protocol as a pure state machine.
// Link bytes from the host go in through Feed(), the detector's answers come
// out through Take(). It knows nothing of ptys or USB; the transports
// (CPtyServer, the fake D2XX library) pump bytes between it and a driver.
// Every public member is thread-safe: transports and test code call it from
// different threads.
//
// Keys (low nibble of a key byte; the high nibble counts merged presses and
// the key acts that many times, 1 to 10):
//   0 next mode (manual -> automatic -> search -> manual)
//   1 next band, 2 previous band (manual mode; bands 0..18, and the base
//     stations 19..30 while settings byte 45 is set; wraps)
//   3 mute on/off, 4 volume step 0..7 (wraps), 5 menu (ignored)
//   long presses (key | 8): 8 back to manual mode on band 0,
//   11 demodulator off/AM/FM, 9, 10 and 12 act as 1, 2 and 4; others ignored.
class CRZ450Simulator
{
public:
    enum Encoding { ByteMode, NibbleMode };
    static constexpr int MODE_MAN = 1;
    static constexpr int MODE_SRCH = 2;
    static constexpr int MODE_AUTO = 4;

    static constexpr int REPORT_SIZE = 300;
    static constexpr int SETTINGS_SIZE = 60;
    static constexpr int SETTINGS_WRITE_SIZE = 71;
    static constexpr int TIME_REPLY_SIZE = 6;
    static constexpr int LOG_BLOCKS = CSimulatedFlash::BLOCKS;
    static constexpr int LOG_BLOCK_SIZE = CSimulatedFlash::BLOCK_SIZE;

    explicit CRZ450Simulator(Encoding encoding = ByteMode);

    // --- link side -------------------------------------------------------
    void Feed(const char* data, int size);
    QByteArray Take(int maxBytes);
    int Pending() const;
    void Reset(); // protocol state back to idle, output dropped (a replug)
    Encoding LinkEncoding() const { return m_encoding; }
    // True once after the detector dropped off the link (see
    // InjectDisconnectAtBlock); a transport then cuts its connection.
    bool TakeDisconnectRequest();

    // --- detector state ---------------------------------------------------
    int Mode() const;
    void SetMode(int mode);
    int Band() const;
    void SetBand(int band);
    QByteArray Settings() const; // the 60 settings bytes
    void SetSettings(const QByteArray& settings);
    static QByteArray DefaultSettings();
    void SetLevel(int band, int raw);                 // pins a band's level (stops its drift); raw < 0 releases it
    void SetIndicationFlags(const QList<int>& bands); // automatic mode: pins the alarmed bands
    void ClearIndicationFlags();                      // alarms follow the levels again
    void SetFrozen(bool frozen);                      // no random drift and a stopped clock: reports are reproducible
    void SetClock(const QDateTime& local);
    QDateTime Clock() const;
    int Bank() const;
    int Volume() const;
    bool Muted() const;
    int DemodMode() const;
    void PressKey(quint8 keyByte); // as a key byte from the host, but not recorded

    // --- what the host sent -----------------------------------------------
    int Polls() const;
    int StatusReports() const;
    QList<quint8> Commands() const; // command bytes other than 0xFF, in order
    QList<quint8> KeyBytes() const;
    QByteArray LastSettingsWrite() const; // the 71 bytes after command 5
    QByteArray LastTimeReply() const;     // the 6 bytes after a time request
    int FactoryResets() const;
    int LogBlocksSent() const; // blocks answered to 0xFE, end block included

    // --- faults -------------------------------------------------------------
    // Each armed fault answers one poll in place of the normal answer, in the
    // order silence, short, garbage, unknown type.
    void RequestTime(); // the next poll is answered with type 1
    void InjectShortAnswers(int count, int bytes = 150);
    void InjectSilence(int count);
    void InjectGarbage(int count);               // random bytes of random length
    void InjectUnknownType(int count);           // a full 300-byte answer with type 7
    void SetReportByte(int index, quint8 value); // overrides one report byte (-1 clears all)

    // --- event log ------------------------------------------------------------
    void AddLogEvent(int band, int level, int threshold, const QDateTime& when, int durationSeconds);
    // `blocks` full blocks over `banks` consecutive banks from the current
    // bank on; the last of them becomes the current bank.
    void FillLog(int blocks, int banks);
    void SetWrappedLog();  // every block in use, the ring written past its end
    int LogBlocks() const; // blocks in use
    void ClearLog();
    // Log download faults, each taking effect once, on the named block:
    void InjectBadChecksum(int block);       // block sent with a wrong checksum byte
    void InjectShortBlock(int block);        // only part of the block is sent
    void InjectDisconnectAtBlock(int block); // nothing is sent and the link drops

private:
    enum State { Idle, AwaitCommand, AwaitKey, AwaitSettings, AwaitTime, LogDownload };

    struct Alarm
    {
        bool active = false;
        int peak = 0;
        int threshold = 0;
        QDateTime start;
    };

    void HandleByte(quint8 byte);
    void HandleIdle(quint8 byte);
    void HandleCommand(quint8 byte);
    void HandlePayload(quint8 byte);
    void HandleLogRequest(quint8 byte);
    void Poll();
    bool AnswerFault();
    void Emit(const QByteArray& bytes);
    void EmitLink(const QByteArray& linkBytes);

    void AdvanceModel();
    void ChooseBand();
    int NextAutoBand() const;
    QList<int> AlarmedBands() const;
    void TrackAlarms(const QList<int>& alarmed);
    void EndAlarm(int band, const QDateTime& now);
    void EndAllAlarms();
    QByteArray BuildReport(const QList<int>& alarmed) const;
    void PutIndication(QByteArray& report, const QList<int>& alarmed) const;
    void PutSpectrum(QByteArray& report) const;
    QByteArray BuildTimeRequest() const;
    QByteArray Answer();
    QByteArray StatusReport();
    void ExpectPayload(State state, int size);

    void ApplyKeyByte(quint8 keyByte);
    void ApplyKey(int key);
    void StepBand(int direction);
    void ChangeMode(int mode);
    void ApplySettingsWrite(const QByteArray& payload);
    void ApplyTimeReply(const QByteArray& payload);
    void SetClockFields(int month0, int day0, int hour, int minute, int second);
    QDateTime ClockLocked() const;
    QByteArray NextLogBlock();

    mutable QMutex m_mutex;
    const Encoding m_encoding;

    // link and protocol
    State m_state = Idle;
    QByteArray m_payload;
    int m_payloadSize = 0;
    bool m_haveHighNibble = false;
    quint8 m_highNibble = 0;
    std::deque<char> m_output;
    bool m_disconnectRequested = false;

    // detector
    CBandModel m_model;
    QRandomGenerator m_random;
    QByteArray m_settings;
    int m_mode = MODE_MAN;
    int m_manualBand = 1;
    int m_band = 1;
    int m_bank = 1;
    int m_volume = 4;
    bool m_muted = false;
    int m_demod = 0;
    bool m_frozen = false;
    QList<int> m_pinnedFlags;
    bool m_flagsPinned = false;
    QDateTime m_clockBase;
    QElapsedTimer m_clockRunning;
    QElapsedTimer m_driftTimer;
    qint64 m_driftDone = 0; // ms of drift already applied
    int m_autoCursor = -1;
    std::array<Alarm, CBandModel::BANDS> m_alarms {};

    // record of the host's side
    int m_polls = 0;
    int m_reports = 0;
    int m_factoryResets = 0;
    int m_logBlocksSent = 0;
    QList<quint8> m_commands;
    QList<quint8> m_keyBytes;
    QByteArray m_lastSettingsWrite;
    QByteArray m_lastTimeReply;

    // faults
    bool m_timeRequested = true;
    int m_shortCount = 0;
    int m_shortBytes = 0;
    int m_silenceCount = 0;
    int m_garbageCount = 0;
    int m_unknownCount = 0;
    std::array<int, REPORT_SIZE> m_overrides;

    // event log
    CSimulatedFlash m_flash;
    int m_nextLogBlock = 0;
    int m_badChecksumBlock = -1;
    int m_shortBlock = -1;
    int m_disconnectBlock = -1;
};
