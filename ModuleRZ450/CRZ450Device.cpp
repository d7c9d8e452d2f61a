#include "CRZ450Device.h"

#include "CBandTable.h"
#include "CLogParser.h"
#include "CNibbleCodec.h"
#include "CRecordConverter.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const int STOP_WAIT_MS = 10000;
const int CONNECT_PAUSE_MS = 200;
const int PAUSE_SLICE_MS = 10;

const quint8 REQUEST_COMMANDS[] = { 2, 6, 5, 9, 7, 10 };

} // namespace

CRZ450Device::CRZ450Device(const QString& ftdiLibrary)
    : m_ftdi(ftdiLibrary)
    , m_aLogBuffer(new quint8[LOG_BLOCKS * LOG_BLOCK_SIZE]())
{
}

CRZ450Device::~CRZ450Device()
{
    Uninitialize();
    // A caller that deleted the object with unbalanced Initialize calls
    // would otherwise leave the worker running on freed memory.
    StopWorker();
}

// ---------------------------------------------------------------------------
// Life cycle

bool CRZ450Device::Initialize()
{
    if (m_nRefCount > 0) {
        ++m_nRefCount;
        return true;
    }
    StopWorker();
    {
        QMutexLocker lock(&m_mutex);
        m_ring.Clear();
        m_status.Reset();
        m_userClock.valid = false;
        m_nPending = NO_COMMAND;
        m_nKeyCount = 0;
    }
    m_bOnline = false;
    m_bError = false;
    m_nFailures = 0;
    m_nState = 0;
    m_bRun = true;
    m_pThread = QThread::create([this] { WorkerMain(); });
    m_pThread->start();
    if (!m_pThread->isRunning() && !m_pThread->isFinished()) {
        delete m_pThread;
        m_pThread = nullptr;
        m_bRun = false;
        return false;
    }
    ++m_nRefCount;
    return true;
}

void CRZ450Device::Uninitialize()
{
    if (m_nRefCount > 0)
        --m_nRefCount;
    if (m_nRefCount == 0)
        StopWorker();
}

void CRZ450Device::StopWorker()
{
    if (!m_pThread)
        return;
    m_bRun = false;
    if (!m_pThread->wait(STOP_WAIT_MS)) {
        // Last resort only: every wait of the worker is bounded.
        m_pThread->terminate();
        m_pThread->wait();
    }
    delete m_pThread;
    m_pThread = nullptr;
}

// ---------------------------------------------------------------------------
// Worker thread

void CRZ450Device::WorkerMain()
{
    m_bError = false;
    while (m_bRun) {
        try {
            switch (m_nState.load()) {
            case 0: StepConnect(); break;
            case 1: StepOpened(); break;
            default: StepExchange(); break;
            }
        } catch (...) {
            m_bError = true;
            break;
        }
    }
    // A command carried out last still goes out.
    FlushOutgoing();
    // The serial port object belongs to this thread and cannot be closed
    // from another one once the thread is gone.
    m_serial.Close();
    if (m_nLinkKind == LinkSerial)
        m_nLinkKind = LinkNone;
    if (m_nState != 0)
        m_nState = 0;
    m_bOnline = false;
}

void CRZ450Device::CloseLinks()
{
    m_ftdi.Close();
    m_serial.Close();
    m_nLinkKind = LinkNone;
}

void CRZ450Device::StepConnect()
{
    CloseLinks();
    if (m_serial.OpenArduino()) {
        m_nLinkKind = LinkSerial;
        m_nState = 1;
        ++m_nConnects;
    } else if (!m_ftdi.IsLibraryMissing() && m_ftdi.Open() == CFTDI::FT_OK) {
        m_nLinkKind = m_ftdi.Kind() == CFTDI::KIND_BYTE_MODE ? LinkFtdiByte : LinkFtdiNibble;
        m_nState = 1;
        ++m_nConnects;
    }
    PauseConnect();
}

void CRZ450Device::PauseConnect()
{
    // Sliced so that Uninitialize never waits for a whole pause.
    for (int waited = 0; waited < CONNECT_PAUSE_MS && m_bRun; waited += PAUSE_SLICE_MS)
        QThread::msleep(PAUSE_SLICE_MS);
}

void CRZ450Device::StepOpened()
{
    m_nState = 2;
    m_nFailures = 0;
    m_bResync = false;
    m_outgoing.clear();
    if (m_nLinkKind == LinkSerial)
        m_serial.Drain();
    else
        m_ftdi.Purge();
}

void CRZ450Device::SendBytes(const char* data, int size)
{
    // Queued until the next read: a command and the poll after it then go
    // out in one write, which halves the writes (and, on a USB link, the
    // USB frames waited for) per exchange.
    if (m_nLinkKind == LinkFtdiNibble)
        m_outgoing += CNibbleCodec::Split(data, size);
    else
        m_outgoing.append(data, size);
}

void CRZ450Device::FlushOutgoing()
{
    if (m_outgoing.isEmpty())
        return;
    const int size = static_cast<int>(m_outgoing.size());
    bool sent = false;
    if (m_nLinkKind == LinkSerial)
        sent = m_serial.Write(m_outgoing.constData(), size);
    else if (m_nLinkKind != LinkNone)
        sent = m_ftdi.Write(m_outgoing.constData(), size) == CFTDI::FT_OK;
    m_outgoing.clear();
    if (m_bSettingsQueued) {
        // Only now may the reports take the written bytes again.
        m_bSettingsQueued = false;
        QMutexLocker lock(&m_mutex);
        m_status.menu.FinishWrite(sent);
    }
}

bool CRZ450Device::ReceiveBytes(char* data, int size)
{
    FlushOutgoing();
    int got = 0;
    const int timeout = m_nLinkTimeoutMs;
    switch (m_nLinkKind.load()) {
    case LinkSerial:
        m_serial.ReadTimed(data, size, got, timeout, &m_bRun);
        return got == size;
    case LinkFtdiNibble: {
        std::vector<char> link(static_cast<size_t>(2 * size));
        m_ftdi.ReadTimed(link.data(), 2 * size, got, timeout, &m_bRun);
        if (got != 2 * size)
            return false;
        CNibbleCodec::Join(link.data(), size, data);
        return true;
    }
    default:
        m_ftdi.ReadTimed(data, size, got, timeout, &m_bRun);
        return got == size;
    }
}

void CRZ450Device::StepExchange()
{
    // After a short, garbled or unknown answer, bytes may still be on their
    // way that belong to no poll of ours: dropping them keeps every answer
    // aligned to its poll.
    if (m_bResync) {
        m_bResync = false;
        if (m_nLinkKind == LinkSerial)
            m_serial.Drain();
        else
            m_ftdi.DropInput();
    }

    const char poll = static_cast<char>(POLL);
    SendBytes(&poll, 1);
    quint8 report[CRZ450Status::REPORT_SIZE];
    if (!ReceiveBytes(reinterpret_cast<char*>(report), CRZ450Status::REPORT_SIZE)) {
        m_bResync = true;
        if (++m_nFailures > MAX_FAILURES) {
            m_bOnline = false;
            m_nState = 0;
        }
        return;
    }
    m_bOnline = true;
    m_nFailures = 0;
    if (report[0] == 1)
        ReplyTime();
    else if (report[0] == 0)
        HandleStatusReport(report);
    else
        m_bResync = true;
}

void CRZ450Device::ReplyTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const char reply[6] = {
        1,
        static_cast<char>(now.date().month() - 1),
        static_cast<char>(now.date().day() - 1),
        static_cast<char>(now.time().hour()),
        static_cast<char>(now.time().minute()),
        static_cast<char>(now.time().second()),
    };
    SendBytes(reply, sizeof reply);
}

CRZ450Device::COMMAND CRZ450Device::TakeCommand()
{
    QMutexLocker lock(&m_mutex);
    COMMAND command;
    command.code = m_nPending;
    command.keyByte = m_nKeyByte;
    command.serial = m_nCommandSerial;
    // Presses made from here on start a new count for the next key byte.
    if (command.code == COMMAND_KEY)
        m_nKeyCount = 0;
    return command;
}

void CRZ450Device::FinishCommand(const COMMAND& command)
{
    QMutexLocker lock(&m_mutex);
    // A command posted while this one was carried out stays pending.
    if (m_nCommandSerial == command.serial)
        m_nPending = NO_COMMAND;
}

void CRZ450Device::HandleStatusReport(const quint8* report)
{
    {
        QMutexLocker lock(&m_mutex);
        m_status.ApplyClock(report);
    }
    const COMMAND command = TakeCommand();
    const char code = static_cast<char>(command.code);
    SendBytes(&code, 1);

    switch (command.code) {
    case NO_COMMAND: {
        CRZ450Status::REPORT_RESULT result;
        {
            QMutexLocker lock(&m_mutex);
            result = m_status.ApplyReport(report);
            if (result.modeChanged)
                m_ring.Restart();
            m_status.AppendLiveRecords(m_ring);
        }
        if (result.notify)
            Q_EMIT deviceChannelChanged();
        return;
    }
    case COMMAND_READ_LOG:
        DownloadLog();
        break;
    case COMMAND_WRITE_SETTINGS:
        SendSettings();
        break;
    case COMMAND_KEY: {
        const char key = static_cast<char>(command.keyByte);
        SendBytes(&key, 1);
        break;
    }
    default:
        break;
    }
    FinishCommand(command);
}

void CRZ450Device::SendSettings()
{
    char payload[CSettingsBlock::SENT + 6 + 5];
    {
        QMutexLocker lock(&m_mutex);
        m_status.menu.TakeWrite(payload);
        std::memcpy(payload + CSettingsBlock::SENT, payload, 6);
        char* clock = payload + CSettingsBlock::SENT + 6;
        if (m_status.menu[41] != 0) {
            const QDateTime now = QDateTime::currentDateTime();
            clock[0] = static_cast<char>(now.date().month() - 1);
            clock[1] = static_cast<char>(now.date().day() - 1);
            clock[2] = static_cast<char>(now.time().hour());
            clock[3] = static_cast<char>(now.time().minute());
            clock[4] = static_cast<char>(now.time().second());
        } else {
            // A clock set by the user goes out as set; otherwise the
            // detector's own. It counts month and day from 0 on the wire.
            const CLOCK_FIELDS& fields = m_userClock.valid ? m_userClock : ReportClock();
            clock[0] = static_cast<char>(std::max(0, fields.month - 1));
            clock[1] = static_cast<char>(std::max(0, fields.day - 1));
            clock[2] = static_cast<char>(fields.hour);
            clock[3] = static_cast<char>(fields.minute);
            clock[4] = static_cast<char>(fields.second);
        }
        m_userClock.valid = false;
    }
    SendBytes(payload, sizeof payload);
    m_bSettingsQueued = true;
}

// ---------------------------------------------------------------------------
// Event log download

void CRZ450Device::DownloadLog()
{
    int okBlocks = 0;
    int block = 0;
    bool ended = false;
    for (; block < LOG_BLOCKS && m_bRun; ++block) {
        if (!DownloadBlock(block, okBlocks))
            break;
        if (m_aLogBuffer[block * LOG_BLOCK_SIZE + CLogParser::BLOCK_MARKER] != CLogParser::MARKER) {
            ended = true;
            okBlocks = LOG_BLOCKS;
            break;
        }
    }
    QMutexLocker lock(&m_mutex);
    if (ended) {
        // Blocks left over from an earlier, longer download must not come
        // back as events of this one.
        const int next = (block + 1) * LOG_BLOCK_SIZE;
        std::fill(m_aLogBuffer.get() + next, m_aLogBuffer.get() + LOG_BLOCKS * LOG_BLOCK_SIZE, quint8(0));
    }
    m_nLogProgress = okBlocks == LOG_BLOCKS ? 100 : 101;
}

bool CRZ450Device::DownloadBlock(int block, int& okBlocks)
{
    const char request = static_cast<char>(LOG_BLOCK_REQUEST);
    SendBytes(&request, 1);
    quint8 data[LOG_BLOCK_SIZE];
    if (!ReceiveBytes(reinterpret_cast<char*>(data), LOG_BLOCK_SIZE)) {
        m_bResync = true;
        return false;
    }
    QMutexLocker lock(&m_mutex);
    std::memcpy(m_aLogBuffer.get() + block * LOG_BLOCK_SIZE, data, LOG_BLOCK_SIZE);
    if (!CLogParser::ChecksumOk(data))
        return false;
    ++okBlocks;
    m_nLogProgress = std::min(99, okBlocks * 100 / 512);
    return true;
}

QList<CLogRecord> CRZ450Device::GetLogRecords()
{
    std::vector<quint8> copy;
    {
        QMutexLocker lock(&m_mutex);
        copy.assign(m_aLogBuffer.get(), m_aLogBuffer.get() + LOG_BLOCKS * LOG_BLOCK_SIZE);
    }
    return CLogParser::Parse(copy.data(), LOG_BLOCKS, QDate::currentDate().year());
}

int CRZ450Device::GetLogLoadProgress()
{
    QMutexLocker lock(&m_mutex);
    return m_nLogProgress;
}

// ---------------------------------------------------------------------------
// Posting commands

void CRZ450Device::KeyPressed(IDevice::KeyType key)
{
    QMutexLocker lock(&m_mutex);
    m_nKeyCount = static_cast<quint8>(std::min(10, m_nKeyCount + 1));
    m_nKeyByte = static_cast<quint8>((m_nKeyCount << 4) | (static_cast<int>(key) & 0x0F));
    m_nPending = COMMAND_KEY;
    ++m_nCommandSerial;
}

void CRZ450Device::SetRequest(IDevice::RequestType request)
{
    const int index = static_cast<int>(request);
    if (index < 0 || index >= int(sizeof REQUEST_COMMANDS))
        return;
    QMutexLocker lock(&m_mutex);
    m_nPending = REQUEST_COMMANDS[index];
    ++m_nCommandSerial;
    // A client polling right after posting must not read the previous
    // download's final figure.
    if (m_nPending == COMMAND_READ_LOG)
        m_nLogProgress = 0;
}

// ---------------------------------------------------------------------------
// Live records

QList<CRecord> CRZ450Device::GetRealtimeRecords()
{
    std::vector<RAW_RECORD_SLOT> rawSlots;
    {
        QMutexLocker lock(&m_mutex);
        rawSlots.reserve(static_cast<size_t>(std::max(0, m_ring.Count() - 1)));
        m_ring.CopySlots(1, m_ring.Count(), rawSlots);
    }
    CRecordConverter converter(CRecordConverter::CurrentYear());
    QList<CRecord> records;
    records.reserve(static_cast<qsizetype>(rawSlots.size()));
    for (const RAW_RECORD_SLOT& slot : rawSlots)
        records.append(converter.Convert(slot));
    return records;
}

void CRZ450Device::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_ring.Clear();
}

void CRZ450Device::SetRecordCount(int count)
{
    QMutexLocker lock(&m_mutex);
    m_ring.SetCount(count);
}

int CRZ450Device::GetCurrentRecordIndex()
{
    QMutexLocker lock(&m_mutex);
    return m_ring.Count();
}

CRecord CRZ450Device::GetRecord(int index)
{
    RAW_RECORD_SLOT slot;
    {
        QMutexLocker lock(&m_mutex);
        if (!m_ring.Slot(index, slot))
            return CRecord();
    }
    return ConverterForThisThread().Convert(slot);
}

CRecordConverter& CRZ450Device::ConverterForThisThread()
{
    // Callers fetch records one by one in order: keeping one converter per
    // thread keeps its hour cache warm, until the year turns.
    const int year = CRecordConverter::CurrentYear();
    thread_local CRecordConverter converter(year);
    if (converter.Year() != year)
        converter = CRecordConverter(year);
    return converter;
}

CRecord CRZ450Device::GetCurrentRecord()
{
    return GetRecord(GetCurrentRecordIndex() - 1);
}

// ---------------------------------------------------------------------------
// Plain getters

QString CRZ450Device::GetDevID() { return QStringLiteral("RZ450"); }
IDevice* CRZ450Device::GetLocalDevice() { return this; }
bool CRZ450Device::IsOnline() { return m_nState == 2 && m_bOnline; }
bool CRZ450Device::IsError() { return m_bError; }

bool CRZ450Device::GetTestInterface(ITestDevice** test)
{
    Q_UNUSED(test);
    return false;
}

int CRZ450Device::GetCurrentMode()
{
    return Read<int>([](const CRZ450Status& s) { return s.mode; });
}

int CRZ450Device::GetCurrentBand()
{
    return Read<int>([](const CRZ450Status& s) { return s.currentBand; });
}

int CRZ450Device::GetLogType()
{
    return Read<int>([](const CRZ450Status& s) { return s.logType; });
}

// ---------------------------------------------------------------------------
// Settings block and clock

unsigned char CRZ450Device::GetMenuValue(int index)
{
    return Read<unsigned char>([index](const CRZ450Status& s) { return s.menu[index]; });
}

void CRZ450Device::SetMenuValue(int index, unsigned char value)
{
    QMutexLocker lock(&m_mutex);
    m_status.menu.Set(index, value);
}

bool CRZ450Device::SetMenuData(QByteArray data)
{
    QMutexLocker lock(&m_mutex);
    return m_status.menu.SetData(data);
}

QByteArray CRZ450Device::GetMenuData()
{
    return Read<QByteArray>([](const CRZ450Status& s) { return s.menu.Data(); });
}

CRZ450Device::CLOCK_FIELDS CRZ450Device::ReportClock() const
{
    CLOCK_FIELDS fields;
    fields.month = m_status.month;
    fields.day = m_status.day;
    fields.hour = m_status.hour;
    fields.minute = m_status.minute;
    fields.second = m_status.second;
    return fields;
}

QDateTime CRZ450Device::GetTime()
{
    CLOCK_FIELDS fields;
    {
        QMutexLocker lock(&m_mutex);
        // A clock set but not yet on its way is no clock the detector keeps.
        const bool writing = m_userClock.valid && m_nPending == COMMAND_WRITE_SETTINGS;
        fields = writing ? m_userClock : ReportClock();
    }
    return QDateTime(QDate(QDate::currentDate().year(), fields.month, fields.day),
                     QTime(fields.hour, fields.minute, fields.second), Qt::LocalTime);
}

void CRZ450Device::SetTime(const QDateTime& time)
{
    // Kept apart from the reported clock until the next settings write
    // sends it: every status report, the one that carries the write command
    // included, would overwrite it before it could be sent.
    const QDateTime local = time.toLocalTime();
    QMutexLocker lock(&m_mutex);
    m_userClock.month = local.date().month();
    m_userClock.day = local.date().day();
    m_userClock.hour = local.time().hour();
    m_userClock.minute = local.time().minute();
    m_userClock.second = local.time().second();
    m_userClock.valid = local.isValid();
}

// ---------------------------------------------------------------------------
// Detector status

bool CRZ450Device::IsRamOk()
{
    return Read<bool>([](const CRZ450Status& s) { return s.ramOk; });
}

bool CRZ450Device::IsFlashOk()
{
    return Read<bool>([](const CRZ450Status& s) { return s.flashOk; });
}

bool CRZ450Device::IsBatteryOk()
{
    return Read<bool>([](const CRZ450Status& s) { return s.battery > 2; });
}

int CRZ450Device::GetLanguageID()
{
    return Read<int>([](const CRZ450Status& s) { return s.language; });
}

bool CRZ450Device::IsSchedule()
{
    return Read<bool>([](const CRZ450Status& s) { return s.scheduleByte != 0; });
}

int CRZ450Device::GetCurrentBank()
{
    return Read<int>([](const CRZ450Status& s) { return s.currentBank; });
}

bool CRZ450Device::IsWaiting()
{
    return Read<bool>([](const CRZ450Status& s) {
        return s.eventCntDelay[0] == 0 && s.eventCntDelay[1] == 0 && s.eventCntDelay[2] == 0;
    });
}

int CRZ450Device::GetTmpX()
{
    return Read<int>([](const CRZ450Status& s) { return s.tmpX; });
}

int CRZ450Device::GetLevelDbm(int band)
{
    if (!CBandTable::IsValid(band))
        return 0;
    return Read<int>([band](const CRZ450Status& s) { return s.level[band]; });
}

int CRZ450Device::GetThreshold(int band)
{
    if (!CBandTable::IsValid(band))
        return 0;
    return Read<int>([band](const CRZ450Status& s) { return s.threshold[band]; });
}

int CRZ450Device::GetDbmCorrScale(int band)
{
    return CBandTable::Correction(band);
}

int CRZ450Device::GetEventCntDelay(int i)
{
    if (i < 0 || i > 2)
        return 0;
    return Read<int>([i](const CRZ450Status& s) { return s.eventCntDelay[i]; });
}

int CRZ450Device::GetIndicateBand(int i)
{
    if (i < 0 || i > 2)
        return 0;
    return Read<int>([i](const CRZ450Status& s) { return s.indicateBand[i]; });
}

bool CRZ450Device::IsIndicateBand(int band)
{
    if (band < 0 || band >= int(std::tuple_size<decltype(CRZ450Status::indicateFlag)>::value))
        return false;
    return Read<bool>([band](const CRZ450Status& s) { return s.indicateFlag[band] != 0; });
}

QString CRZ450Device::GetBandName(int band)
{
    return GetLanguageID() != 0 ? CBandTable::RussianName(band) : CBandTable::EnglishName(band);
}

bool CRZ450Device::GetSpectrumData(char* buffer, int length)
{
    if (!buffer || length <= 0)
        return true;
    const int points = std::min(length, CRZ450Status::SPECTRUM_CAPACITY);
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < points; ++i)
        buffer[i] = static_cast<char>(m_status.spectrum[i] / 2);
    return true;
}

int CRZ450Device::IsAbodeLevel()
{
    return Read<int>([](const CRZ450Status& s) { return s.abode; });
}

int CRZ450Device::IsShowFreq()
{
    return Read<int>([](const CRZ450Status& s) { return s.showFreq; });
}

int CRZ450Device::GetFreqMax()
{
    return Read<int>([](const CRZ450Status& s) { return s.freqMax; });
}

int CRZ450Device::GetLevelMax()
{
    return Read<int>([](const CRZ450Status& s) { return s.levelMax; });
}

int CRZ450Device::GetLevelNoise()
{
    return Read<int>([](const CRZ450Status& s) { return s.levelNoise; });
}

int CRZ450Device::GetLevelDbMin()
{
    return Read<int>([](const CRZ450Status& s) { return s.levelDbMin; });
}

int CRZ450Device::GetDemodMode()
{
    return Read<int>([](const CRZ450Status& s) { return s.demodMode; });
}

int CRZ450Device::GetCntPeakFreq()
{
    return Read<int>([](const CRZ450Status& s) { return s.peakCount; });
}

int CRZ450Device::GetOverload()
{
    return Read<int>([](const CRZ450Status& s) { return s.overload; });
}

int CRZ450Device::GetMute()
{
    return Read<int>([](const CRZ450Status& s) { return s.mute; });
}

int CRZ450Device::GetVolume()
{
    return Read<int>([](const CRZ450Status& s) { return s.volume; });
}

int CRZ450Device::GetBypassPercent()
{
    return Read<int>([](const CRZ450Status& s) { return s.bypass; });
}
