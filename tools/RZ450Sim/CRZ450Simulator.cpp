#include "CRZ450Simulator.h"

#include <QMutexLocker>

#include <algorithm>
#include <utility>

namespace {

constexpr quint8 POLL = 0xA3;
constexpr quint8 NO_COMMAND = 0xFF;
constexpr quint8 LOG_NEXT = 0xFE;
constexpr quint8 CMD_READ_LOG = 2;
constexpr quint8 CMD_WRITE_SETTINGS = 5;
constexpr quint8 CMD_DEFAULTS = 6;
constexpr quint8 CMD_CLEAR_LOG = 7;
constexpr quint8 CMD_KEY = 8;
constexpr quint8 CMD_NEW_BANK = 9;

constexpr int ANSWER_TIME_REQUEST = 1;
constexpr int ANSWER_UNKNOWN = 7;
constexpr int MAX_GARBAGE = 600;
constexpr int SHORT_BLOCK_BYTES = 100;
constexpr int MAX_KEY_REPEAT = 10;
constexpr int DRIFT_TICK_MS = 100;
constexpr int MAX_DRIFT_TICKS = 50;
constexpr int AUTO_BANDS = 16;
constexpr int LAST_HANDSET_BAND = 18;
constexpr int LAST_BAND = 30;
constexpr int DEMOD_MODES = 3;
constexpr int VOLUME_STEPS = 8;
constexpr int BATTERY = 0x0190;
constexpr int MIN_LEVEL = 20;

// Settings bytes the detector itself acts on.
constexpr int SET_SCHEDULE = 39;
constexpr int SET_SHOW_BASE = 45;
constexpr int SET_LOGGING = 44;
constexpr int SET_DELAY = 19;
constexpr int SET_MIN_DURATION = 20;
constexpr int SET_RANGE_START = 21;
constexpr int SET_RANGE_END = 22;

// Status report byte positions.
constexpr int R_CLOCK = 1;
constexpr int R_BAND = 7;
constexpr int R_MODE = 8;
constexpr int R_SCHEDULE = 10;
constexpr int R_BANK = 12;
constexpr int R_LEVEL = 17;
constexpr int R_THRESHOLD = 18;
constexpr int R_INDICATION = 23;
constexpr int R_FLAGS = 30;
constexpr int R_SETTINGS = 46;
constexpr int R_MIN_LEVEL = 108;
constexpr int R_BATTERY = 111;
constexpr int R_FREQ_MAX = 113;
constexpr int R_SPECTRUM = 117;
constexpr int R_DEMOD = 278;
constexpr int R_SHOW_FREQ = 279;
constexpr int R_LEVEL_MAX = 280;
constexpr int R_NOISE = 281;
constexpr int R_SPECTRUM_LENGTH = 282;
constexpr int R_MUTE = 285;
constexpr int R_VOLUME = 287;
constexpr int R_FLAGS_HIGH = 289;

int SettingsByte(const QByteArray& settings, int index)
{
    return static_cast<quint8>(settings.at(index));
}

void Put16(QByteArray& data, int at, int value)
{
    data[at] = static_cast<char>(value & 0xFF);
    data[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

} // namespace

CRZ450Simulator::CRZ450Simulator(Encoding encoding)
    : m_encoding(encoding)
    , m_model(450)
    , m_random(4500)
    , m_settings(DefaultSettings())
{
    m_overrides.fill(-1);
    m_model.Rest(m_settings);
    m_clockBase = QDateTime::currentDateTime();
    m_clockRunning.start();
    m_driftTimer.start();
}

// --- link side ---------------------------------------------------------------

void CRZ450Simulator::Feed(const char* data, int size)
{
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < size; ++i) {
        const quint8 byte = static_cast<quint8>(data[i]);
        if (m_encoding == ByteMode) {
            HandleByte(byte);
        } else if (!m_haveHighNibble) {
            m_highNibble = byte & 0x0F;
            m_haveHighNibble = true;
        } else {
            m_haveHighNibble = false;
            HandleByte(static_cast<quint8>((m_highNibble << 4) | (byte & 0x0F)));
        }
    }
}

QByteArray CRZ450Simulator::Take(int maxBytes)
{
    QMutexLocker lock(&m_mutex);
    const int count = std::clamp(maxBytes, 0, static_cast<int>(m_output.size()));
    QByteArray bytes(count, Qt::Uninitialized);
    std::copy(m_output.begin(), m_output.begin() + count, bytes.begin());
    m_output.erase(m_output.begin(), m_output.begin() + count);
    return bytes;
}

int CRZ450Simulator::Pending() const
{
    QMutexLocker lock(&m_mutex);
    return static_cast<int>(m_output.size());
}

void CRZ450Simulator::Reset()
{
    QMutexLocker lock(&m_mutex);
    m_state = Idle;
    m_output.clear();
    m_haveHighNibble = false;
    m_payload.clear();
    m_disconnectRequested = false;
    m_timeRequested = true; // a freshly connected detector asks for the time
}

bool CRZ450Simulator::TakeDisconnectRequest()
{
    QMutexLocker lock(&m_mutex);
    return std::exchange(m_disconnectRequested, false);
}

void CRZ450Simulator::HandleByte(quint8 byte)
{
    switch (m_state) {
    case Idle: HandleIdle(byte); break;
    case AwaitCommand: HandleCommand(byte); break;
    case AwaitTime:
        // The reply starts with 1; a poll here means the host missed the
        // question and asks again.
        if (m_payload.isEmpty() && byte == POLL)
            Poll();
        else
            HandlePayload(byte);
        break;
    case AwaitKey:
    case AwaitSettings: HandlePayload(byte); break;
    case LogDownload: HandleLogRequest(byte); break;
    }
}

void CRZ450Simulator::HandleIdle(quint8 byte)
{
    if (byte == POLL)
        Poll();
}

void CRZ450Simulator::HandleCommand(quint8 byte)
{
    m_state = Idle;
    if (byte == POLL) { // the host gave up on the report
        Poll();
        return;
    }
    if (byte == NO_COMMAND)
        return;
    m_commands.append(byte);
    switch (byte) {
    case CMD_READ_LOG:
        m_state = LogDownload;
        m_nextLogBlock = 0;
        break;
    case CMD_WRITE_SETTINGS: ExpectPayload(AwaitSettings, SETTINGS_WRITE_SIZE); break;
    case CMD_KEY: ExpectPayload(AwaitKey, 1); break;
    case CMD_DEFAULTS:
        m_settings = DefaultSettings();
        ++m_factoryResets;
        break;
    case CMD_CLEAR_LOG: m_flash.Clear(); break;
    case CMD_NEW_BANK: m_bank = (m_bank + 1) & 0xFFFF; break;
    default: // 10 and unknown commands: nothing to do
        break;
    }
}

void CRZ450Simulator::ExpectPayload(State state, int size)
{
    m_state = state;
    m_payload.clear();
    m_payloadSize = size;
}

void CRZ450Simulator::HandlePayload(quint8 byte)
{
    m_payload.append(static_cast<char>(byte));
    if (m_payload.size() < m_payloadSize)
        return;
    const State state = m_state;
    m_state = Idle;
    if (state == AwaitKey) {
        m_keyBytes.append(byte);
        ApplyKeyByte(byte);
    } else if (state == AwaitSettings) {
        ApplySettingsWrite(m_payload);
    } else {
        ApplyTimeReply(m_payload);
    }
    m_payload.clear();
}

void CRZ450Simulator::HandleLogRequest(quint8 byte)
{
    if (byte == LOG_NEXT)
        Emit(NextLogBlock());
    else if (byte == POLL) // download over: the host is polling again
        Poll();
}

void CRZ450Simulator::Poll()
{
    ++m_polls;
    m_state = Idle;
    if (AnswerFault())
        return;
    Emit(Answer());
    if (m_timeRequested) {
        ExpectPayload(AwaitTime, TIME_REPLY_SIZE);
    } else {
        ++m_reports;
        m_state = AwaitCommand;
    }
}

bool CRZ450Simulator::AnswerFault()
{
    if (m_silenceCount > 0) {
        --m_silenceCount;
    } else if (m_shortCount > 0) {
        --m_shortCount;
        Emit(Answer().left(m_shortBytes));
    } else if (m_garbageCount > 0) {
        --m_garbageCount;
        QByteArray garbage(1 + static_cast<int>(m_random.bounded(MAX_GARBAGE)), 0);
        for (char& c : garbage)
            c = static_cast<char>(m_random.bounded(256));
        EmitLink(garbage);
    } else if (m_unknownCount > 0) {
        --m_unknownCount;
        QByteArray answer(REPORT_SIZE, 0);
        answer[0] = static_cast<char>(ANSWER_UNKNOWN);
        Emit(answer);
    } else {
        return false;
    }
    return true;
}

QByteArray CRZ450Simulator::Answer()
{
    return m_timeRequested ? BuildTimeRequest() : StatusReport();
}

void CRZ450Simulator::Emit(const QByteArray& bytes)
{
    for (char c : bytes) {
        const quint8 byte = static_cast<quint8>(c);
        if (m_encoding == NibbleMode) {
            m_output.push_back(static_cast<char>(byte >> 4));
            m_output.push_back(static_cast<char>(byte & 0x0F));
        } else {
            m_output.push_back(c);
        }
    }
}

void CRZ450Simulator::EmitLink(const QByteArray& linkBytes)
{
    m_output.insert(m_output.end(), linkBytes.begin(), linkBytes.end());
}

// --- status reports ----------------------------------------------------------

QByteArray CRZ450Simulator::StatusReport()
{
    AdvanceModel();
    ChooseBand();
    if (m_mode == MODE_AUTO)
        m_autoCursor = m_band;
    const QList<int> alarmed = AlarmedBands();
    if (m_mode == MODE_SRCH)
        EndAllAlarms();
    else
        TrackAlarms(alarmed);
    return BuildReport(alarmed);
}

void CRZ450Simulator::AdvanceModel()
{
    if (m_frozen)
        return;
    // Drift follows wall time, not the poll rate, so a paced and an unpaced
    // link see the same plausible movement.
    const qint64 ticks = (m_driftTimer.elapsed() - m_driftDone) / DRIFT_TICK_MS;
    m_driftDone += ticks * DRIFT_TICK_MS;
    for (qint64 i = 0; i < std::min<qint64>(ticks, MAX_DRIFT_TICKS); ++i)
        m_model.Step(m_settings);
}

void CRZ450Simulator::ChooseBand()
{
    if (m_mode == MODE_SRCH)
        m_band = CBandModel::SCAN_BAND;
    else if (m_mode == MODE_MAN)
        m_band = m_manualBand;
    else
        m_band = NextAutoBand();
}

int CRZ450Simulator::NextAutoBand() const
{
    // Automatic mode names each enabled band in turn, so the host learns
    // every band's level and threshold.
    for (int step = 1; step <= AUTO_BANDS; ++step) {
        const int band = (m_autoCursor + step + AUTO_BANDS) % AUTO_BANDS;
        if (CBandModel::IsEnabled(band, m_settings))
            return band;
    }
    return m_band;
}

QList<int> CRZ450Simulator::AlarmedBands() const
{
    QList<int> alarmed;
    if (m_mode == MODE_AUTO) {
        for (int band = 0; band < AUTO_BANDS; ++band) {
            const bool on = m_flagsPinned ? m_pinnedFlags.contains(band) : m_model.InAlarm(band, m_settings);
            if (on)
                alarmed.append(band);
        }
    } else if (m_model.InAlarm(m_band, m_settings)) {
        alarmed.append(m_band);
    }
    return alarmed;
}

void CRZ450Simulator::TrackAlarms(const QList<int>& alarmed)
{
    const QDateTime now = ClockLocked();
    for (int band = 0; band < CBandModel::BANDS; ++band) {
        Alarm& alarm = m_alarms[band];
        const int level = m_model.Level(band);
        if (!alarmed.contains(band)) {
            EndAlarm(band, now);
        } else if (!alarm.active) {
            alarm = Alarm { true, level, CBandModel::ThresholdOf(band, m_settings), now };
        } else {
            alarm.peak = std::max(alarm.peak, level);
        }
    }
}

void CRZ450Simulator::EndAlarm(int band, const QDateTime& now)
{
    Alarm& alarm = m_alarms[band];
    if (!alarm.active)
        return;
    alarm.active = false;
    const qint64 duration = alarm.start.secsTo(now);
    if (SettingsByte(m_settings, SET_LOGGING) == 0 || duration < SettingsByte(m_settings, SET_MIN_DURATION))
        return;
    m_flash.Add(m_bank,
        { band, alarm.peak, alarm.threshold, alarm.start, static_cast<int>(std::max<qint64>(0, duration)) });
}

void CRZ450Simulator::EndAllAlarms()
{
    const QDateTime now = ClockLocked();
    for (int band = 0; band < CBandModel::BANDS; ++band)
        EndAlarm(band, now);
}

QByteArray CRZ450Simulator::BuildReport(const QList<int>& alarmed) const
{
    QByteArray report(REPORT_SIZE, 0);
    const QDateTime clock = ClockLocked();
    report[R_CLOCK] = static_cast<char>(clock.time().hour());
    report[R_CLOCK + 1] = static_cast<char>(clock.time().minute());
    report[R_CLOCK + 2] = static_cast<char>(clock.time().second());
    report[R_CLOCK + 3] = static_cast<char>(clock.date().day() - 1);
    report[R_CLOCK + 4] = static_cast<char>(clock.date().month() - 1);
    report[R_BAND] = static_cast<char>(m_band);
    report[R_MODE] = static_cast<char>(m_mode);
    report[R_SCHEDULE] = m_settings.at(SET_SCHEDULE);
    Put16(report, R_BANK, m_bank);
    report[R_LEVEL] = static_cast<char>(m_model.Level(m_band));
    report[R_THRESHOLD] = static_cast<char>(CBandModel::ThresholdOf(m_band, m_settings));
    PutIndication(report, alarmed);
    report.replace(R_SETTINGS, SETTINGS_SIZE, m_settings);
    report[R_MIN_LEVEL] = static_cast<char>(MIN_LEVEL);
    Put16(report, R_BATTERY, BATTERY);
    PutSpectrum(report);
    report[R_DEMOD] = static_cast<char>(m_demod);
    report[R_MUTE] = static_cast<char>(m_muted ? 1 : 0);
    report[R_VOLUME] = static_cast<char>(m_volume);
    for (int i = 0; i < REPORT_SIZE; ++i) {
        if (m_overrides[i] >= 0)
            report[i] = static_cast<char>(m_overrides[i]);
    }
    return report;
}

void CRZ450Simulator::PutIndication(QByteArray& report, const QList<int>& alarmed) const
{
    for (int band : alarmed) {
        if (band < AUTO_BANDS)
            report[R_FLAGS + band] = 1;
        else if (band <= LAST_HANDSET_BAND)
            report[R_FLAGS_HIGH + band - AUTO_BANDS] = 1;
    }
    // Up to three indicator lines: the alarmed bands in automatic mode, the
    // band being watched otherwise. A nonzero delay marks a line in use.
    const QList<int> shown = m_mode == MODE_AUTO ? alarmed.mid(0, 3) : QList<int> { m_band };
    const int delay = std::max(1, SettingsByte(m_settings, SET_DELAY));
    for (int i = 0; i < shown.size(); ++i) {
        report[R_INDICATION + 2 * i] = static_cast<char>(delay);
        report[R_INDICATION + 2 * i + 1] = static_cast<char>(shown[i]);
    }
}

void CRZ450Simulator::PutSpectrum(QByteArray& report) const
{
    const int start = SettingsByte(m_settings, SET_RANGE_START) * 25;
    const int end = std::max(start, SettingsByte(m_settings, SET_RANGE_END) * 25);
    const int points = CBandModel::SPECTRUM_POINTS;
    const quint32 peakKHz
        = static_cast<quint32>(start * 1000 + (end - start) * 1000 / (points - 1) * m_model.PeakPoint());
    for (int i = 0; i < 4; ++i)
        report[R_FREQ_MAX + i] = static_cast<char>((peakKHz >> (8 * i)) & 0xFF);
    for (int i = 0; i < points; ++i)
        report[R_SPECTRUM + i] = static_cast<char>(m_model.SpectrumPoint(i));
    report[R_SHOW_FREQ] = static_cast<char>(m_mode == MODE_SRCH ? 1 : 0);
    report[R_LEVEL_MAX] = static_cast<char>(m_model.Level(CBandModel::SCAN_BAND));
    report[R_NOISE] = static_cast<char>(m_model.NoiseLevel());
    // While it scans, the detector says "full length, parameters included"
    // with a length of 0, so the host takes the peak frequency and levels.
    const bool scanning = m_mode == MODE_SRCH || m_band == CBandModel::SCAN_BAND;
    report[R_SPECTRUM_LENGTH] = static_cast<char>(scanning ? 0 : points);
}

QByteArray CRZ450Simulator::BuildTimeRequest() const
{
    QByteArray answer(REPORT_SIZE, 0);
    answer[0] = static_cast<char>(ANSWER_TIME_REQUEST);
    return answer;
}

// --- commands ------------------------------------------------------------------

void CRZ450Simulator::ApplyKeyByte(quint8 keyByte)
{
    // The high nibble says how many presses the host merged into this byte.
    const int presses = std::clamp(keyByte >> 4, 1, MAX_KEY_REPEAT);
    for (int i = 0; i < presses; ++i)
        ApplyKey(keyByte & 0x0F);
}

void CRZ450Simulator::ApplyKey(int key)
{
    switch (key) {
    case 0: ChangeMode(m_mode == MODE_MAN ? MODE_AUTO : m_mode == MODE_AUTO ? MODE_SRCH : MODE_MAN); break;
    case 1:
    case 9: StepBand(1); break;
    case 2:
    case 10: StepBand(-1); break;
    case 3: m_muted = !m_muted; break;
    case 4:
    case 12: m_volume = (m_volume + 1) % VOLUME_STEPS; break;
    case 8:
        ChangeMode(MODE_MAN);
        m_manualBand = m_band = 0;
        break;
    case 11: m_demod = (m_demod + 1) % DEMOD_MODES; break;
    default: // the menu key and keys the panel does not have
        break;
    }
}

void CRZ450Simulator::StepBand(int direction)
{
    if (m_mode != MODE_MAN)
        return;
    const int last = SettingsByte(m_settings, SET_SHOW_BASE) ? LAST_BAND : LAST_HANDSET_BAND;
    int band = m_manualBand;
    if (band > last) // a base-station band while they are hidden
        band = direction > 0 ? 0 : last;
    else
        band = (band + direction + last + 1) % (last + 1);
    m_manualBand = m_band = band;
}

void CRZ450Simulator::ChangeMode(int mode)
{
    m_mode = mode;
    m_autoCursor = -1;
    ChooseBand();
}

void CRZ450Simulator::ApplySettingsWrite(const QByteArray& payload)
{
    m_lastSettingsWrite = payload;
    // Bytes 60..65 repeat settings bytes 0..5: the detector ignores them.
    m_settings = payload.left(SETTINGS_SIZE);
    const auto at = [&payload](int i) { return static_cast<quint8>(payload.at(i)); };
    SetClockFields(at(66), at(67), at(68), at(69), at(70));
}

void CRZ450Simulator::ApplyTimeReply(const QByteArray& payload)
{
    m_lastTimeReply = payload;
    m_timeRequested = false;
    const auto at = [&payload](int i) { return static_cast<quint8>(payload.at(i)); };
    SetClockFields(at(1), at(2), at(3), at(4), at(5));
}

void CRZ450Simulator::SetClockFields(int month0, int day0, int hour, int minute, int second)
{
    // A date or time the calendar does not have leaves the clock running
    // as it was rather than stopping it on an invalid value.
    const QDate date(ClockLocked().date().year(), month0 + 1, day0 + 1);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return;
    m_clockBase = QDateTime(date, time);
    m_clockRunning.restart();
}

QDateTime CRZ450Simulator::ClockLocked() const
{
    if (m_frozen)
        return m_clockBase;
    return m_clockBase.addMSecs(m_clockRunning.elapsed());
}

QByteArray CRZ450Simulator::NextLogBlock()
{
    const int index = m_nextLogBlock++;
    ++m_logBlocksSent;
    QByteArray block = m_flash.Block(index);
    if (index == m_disconnectBlock) {
        m_disconnectBlock = -1;
        m_disconnectRequested = true;
        m_state = Idle; // off the link: later requests go unanswered
        return {};
    }
    if (index == m_badChecksumBlock) {
        m_badChecksumBlock = -1;
        block[LOG_BLOCK_SIZE - 1] = static_cast<char>(block.at(LOG_BLOCK_SIZE - 1) ^ 0x5A);
    }
    if (index == m_shortBlock) {
        m_shortBlock = -1;
        block.truncate(SHORT_BLOCK_BYTES);
    }
    return block;
}

// --- detector state --------------------------------------------------------------

int CRZ450Simulator::Mode() const
{
    QMutexLocker lock(&m_mutex);
    return m_mode;
}

void CRZ450Simulator::SetMode(int mode)
{
    QMutexLocker lock(&m_mutex);
    if (mode == MODE_MAN || mode == MODE_SRCH || mode == MODE_AUTO)
        ChangeMode(mode);
}

int CRZ450Simulator::Band() const
{
    QMutexLocker lock(&m_mutex);
    return m_band;
}

void CRZ450Simulator::SetBand(int band)
{
    QMutexLocker lock(&m_mutex);
    if (band < 0 || band > LAST_BAND)
        return;
    m_manualBand = band;
    ChooseBand();
}

QByteArray CRZ450Simulator::Settings() const
{
    QMutexLocker lock(&m_mutex);
    return m_settings;
}

void CRZ450Simulator::SetSettings(const QByteArray& settings)
{
    QMutexLocker lock(&m_mutex);
    m_settings = settings.left(SETTINGS_SIZE).leftJustified(SETTINGS_SIZE, '\0');
}

QByteArray CRZ450Simulator::DefaultSettings()
{
    QByteArray s(SETTINGS_SIZE, 0);
    const auto set = [&s](int index, int value) { s[index] = static_cast<char>(value); };
    // thresholds, raw (dBm + 102)
    set(1, 50), set(2, 48), set(3, 55), set(4, 55), set(5, 45), set(6, 44);
    set(7, 50), set(8, 45), set(9, 50), set(10, 52), set(11, 47), set(12, 50), set(13, 46);
    set(14, 8), set(15, 18); // schedule start and stop hours
    set(16, 8), set(17, 10); // brightness, display auto-off
    set(18, 128);            // no clock correction
    set(SET_DELAY, 5), set(SET_MIN_DURATION, 1);
    set(SET_RANGE_START, 4), set(SET_RANGE_END, 96), set(23, 2);
    set(24, 15); // scan threshold above the noise floor
    for (int enable : { 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 49, 50, 51 })
        set(enable, 1);
    set(37, 1), set(38, 1); // display auto-on, sounds
    set(41, 1);             // clock follows the PC
    set(SET_LOGGING, 1);
    return s;
}

void CRZ450Simulator::SetLevel(int band, int raw)
{
    QMutexLocker lock(&m_mutex);
    m_model.Pin(band, raw);
}

void CRZ450Simulator::SetIndicationFlags(const QList<int>& bands)
{
    QMutexLocker lock(&m_mutex);
    m_pinnedFlags = bands;
    m_flagsPinned = true;
}

void CRZ450Simulator::ClearIndicationFlags()
{
    QMutexLocker lock(&m_mutex);
    m_pinnedFlags.clear();
    m_flagsPinned = false;
}

void CRZ450Simulator::SetFrozen(bool frozen)
{
    QMutexLocker lock(&m_mutex);
    if (frozen == m_frozen)
        return;
    if (frozen) {
        m_clockBase = ClockLocked();
    } else {
        m_clockRunning.restart();
        m_driftTimer.restart();
        m_driftDone = 0;
    }
    m_frozen = frozen;
}

void CRZ450Simulator::SetClock(const QDateTime& local)
{
    QMutexLocker lock(&m_mutex);
    if (!local.isValid())
        return;
    m_clockBase = local;
    m_clockRunning.restart();
}

QDateTime CRZ450Simulator::Clock() const
{
    QMutexLocker lock(&m_mutex);
    return ClockLocked();
}

int CRZ450Simulator::Bank() const
{
    QMutexLocker lock(&m_mutex);
    return m_bank;
}

int CRZ450Simulator::Volume() const
{
    QMutexLocker lock(&m_mutex);
    return m_volume;
}

bool CRZ450Simulator::Muted() const
{
    QMutexLocker lock(&m_mutex);
    return m_muted;
}

int CRZ450Simulator::DemodMode() const
{
    QMutexLocker lock(&m_mutex);
    return m_demod;
}

void CRZ450Simulator::PressKey(quint8 keyByte)
{
    QMutexLocker lock(&m_mutex);
    ApplyKeyByte(keyByte);
}

// --- what the host sent ------------------------------------------------------------

int CRZ450Simulator::Polls() const
{
    QMutexLocker lock(&m_mutex);
    return m_polls;
}

int CRZ450Simulator::StatusReports() const
{
    QMutexLocker lock(&m_mutex);
    return m_reports;
}

QList<quint8> CRZ450Simulator::Commands() const
{
    QMutexLocker lock(&m_mutex);
    return m_commands;
}

QList<quint8> CRZ450Simulator::KeyBytes() const
{
    QMutexLocker lock(&m_mutex);
    return m_keyBytes;
}

QByteArray CRZ450Simulator::LastSettingsWrite() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastSettingsWrite;
}

QByteArray CRZ450Simulator::LastTimeReply() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastTimeReply;
}

int CRZ450Simulator::FactoryResets() const
{
    QMutexLocker lock(&m_mutex);
    return m_factoryResets;
}

int CRZ450Simulator::LogBlocksSent() const
{
    QMutexLocker lock(&m_mutex);
    return m_logBlocksSent;
}

// --- faults --------------------------------------------------------------------------

void CRZ450Simulator::RequestTime()
{
    QMutexLocker lock(&m_mutex);
    m_timeRequested = true;
}

void CRZ450Simulator::InjectShortAnswers(int count, int bytes)
{
    QMutexLocker lock(&m_mutex);
    m_shortCount = std::max(0, count);
    m_shortBytes = std::clamp(bytes, 0, REPORT_SIZE - 1);
}

void CRZ450Simulator::InjectSilence(int count)
{
    QMutexLocker lock(&m_mutex);
    m_silenceCount = std::max(0, count);
}

void CRZ450Simulator::InjectGarbage(int count)
{
    QMutexLocker lock(&m_mutex);
    m_garbageCount = std::max(0, count);
}

void CRZ450Simulator::InjectUnknownType(int count)
{
    QMutexLocker lock(&m_mutex);
    m_unknownCount = std::max(0, count);
}

void CRZ450Simulator::SetReportByte(int index, quint8 value)
{
    QMutexLocker lock(&m_mutex);
    if (index == -1)
        m_overrides.fill(-1);
    else if (index >= 0 && index < REPORT_SIZE)
        m_overrides[index] = value;
}

// --- event log -------------------------------------------------------------------------

void CRZ450Simulator::AddLogEvent(int band, int level, int threshold, const QDateTime& when, int durationSeconds)
{
    QMutexLocker lock(&m_mutex);
    m_flash.Add(m_bank, { band, level, threshold, when, durationSeconds });
}

void CRZ450Simulator::FillLog(int blocks, int banks)
{
    QMutexLocker lock(&m_mutex);
    m_bank = m_flash.Fill(blocks, banks, m_bank, ClockLocked()) & 0xFFFF;
}

void CRZ450Simulator::SetWrappedLog()
{
    QMutexLocker lock(&m_mutex);
    m_bank = std::max(m_bank, 5); // room for four older banks below it
    m_flash.FillWrapped(m_bank, ClockLocked());
}

int CRZ450Simulator::LogBlocks() const
{
    QMutexLocker lock(&m_mutex);
    return m_flash.UsedBlocks();
}

void CRZ450Simulator::ClearLog()
{
    QMutexLocker lock(&m_mutex);
    m_flash.Clear();
}

void CRZ450Simulator::InjectBadChecksum(int block)
{
    QMutexLocker lock(&m_mutex);
    m_badChecksumBlock = block;
}

void CRZ450Simulator::InjectShortBlock(int block)
{
    QMutexLocker lock(&m_mutex);
    m_shortBlock = block;
}

void CRZ450Simulator::InjectDisconnectAtBlock(int block)
{
    QMutexLocker lock(&m_mutex);
    m_disconnectBlock = block;
}
