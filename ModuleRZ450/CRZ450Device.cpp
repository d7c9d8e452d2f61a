#include "CRZ450Device.h"

#include "CBandTable.h"
#include "CLogParser.h"
#include "CRecordConverter.h"
#include "DriverLog.h"

#include <QDate>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace RZ450Layout;

namespace {

const int STOP_WAIT_MS = 10000;
const int CONNECT_PAUSE_MS = 200;
const int PAUSE_SLICE_MS = 10;

} // namespace

CRZ450Device::CRZ450Device(const QString& ftdiLibrary)
    : m_link(ftdiLibrary)
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
        m_bUserClockSet = false;
        m_nPending = Wire::NO_COMMAND;
        m_nKeyCount = 0;
    }
    m_bOnline = false;
    m_bError = false;
    m_nFailures = 0;
    m_eState = StateConnecting;
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
            switch (m_eState.load()) {
            case StateConnecting: StepConnect(); break;
            case StateLinkOpened: StepOpened(); break;
            case StateExchanging: StepExchange(); break;
            }
        } catch (...) {
            qCWarning(lcDriver) << "worker ended by an exception";
            m_bError = true;
            break;
        }
    }
    // A command carried out last still goes out.
    FlushOutgoing();
    m_link.CloseSerial();
    if (m_eState != StateConnecting)
        m_eState = StateConnecting;
    m_bOnline = false;
}

void CRZ450Device::StepConnect()
{
    if (m_link.Open()) {
        m_eState = StateLinkOpened;
        const int connects = ++m_nConnects;
        qCDebug(lcDriver) << "link opened:" << m_link.Name() << "connection" << connects;
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
    m_eState = StateExchanging;
    m_nFailures = 0;
    m_bResync = false;
    m_link.Reset();
}

void CRZ450Device::FlushOutgoing()
{
    if (!m_link.HasOutgoing())
        return;
    const bool sent = m_link.Flush();
    if (!sent)
        qCWarning(lcDriver) << "write failed on" << m_link.Name();
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
    return m_link.Receive(data, size, m_nLinkTimeoutMs, &m_bRun);
}

void CRZ450Device::Resync(const char* reason)
{
    m_bResync = true;
    qCDebug(lcDriver) << reason << "- dropping the input before the next poll";
}

void CRZ450Device::StepExchange()
{
    // After a short, garbled or unknown answer, bytes may still be on their
    // way that belong to no poll of ours: dropping them keeps every answer
    // aligned to its poll.
    if (m_bResync) {
        m_bResync = false;
        m_link.DropInput();
    }

    const char poll = static_cast<char>(Wire::POLL);
    SendBytes(&poll, 1);
    quint8 report[REPORT_SIZE];
    if (!ReceiveBytes(reinterpret_cast<char*>(report), REPORT_SIZE)) {
        Resync("short answer");
        if (++m_nFailures > MAX_FAILURES) {
            qCWarning(lcDriver) << "no answer to" << m_nFailures << "polls in a row: link dropped";
            m_bOnline = false;
            m_eState = StateConnecting;
        }
        return;
    }
    m_bOnline = true;
    m_nFailures = 0;
    switch (report[Report::TYPE]) {
    case Wire::ANSWER_TIME_REQUEST: ReplyTime(); break;
    case Wire::ANSWER_STATUS: HandleStatusReport(report); break;
    default: Resync("unknown answer type"); break;
    }
}

void CRZ450Device::ReplyTime()
{
    char reply[TIME_REPLY_SIZE] = { Wire::ANSWER_TIME_REQUEST };
    const CRZ450Clock::BYTES clock = CRZ450Clock::Encode(CRZ450Clock::Now());
    std::copy(clock.begin(), clock.end(), reply + 1);
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
    if (command.code == Wire::COMMAND_KEY)
        m_nKeyCount = 0;
    return command;
}

void CRZ450Device::FinishCommand(const COMMAND& command)
{
    QMutexLocker lock(&m_mutex);
    // A command posted while this one was carried out stays pending.
    if (m_nCommandSerial == command.serial)
        m_nPending = Wire::NO_COMMAND;
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
    case Wire::NO_COMMAND: {
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
    case Wire::COMMAND_READ_LOG: DownloadLog(); break;
    case Wire::COMMAND_WRITE_SETTINGS: SendSettings(); break;
    case Wire::COMMAND_KEY: {
        const char key = static_cast<char>(command.keyByte);
        SendBytes(&key, 1);
        break;
    }
    default: break;
    }
    FinishCommand(command);
}

void CRZ450Device::SendSettings()
{
    char payload[SETTINGS_SENT + SETTINGS_RESENT + CLOCK_SIZE];
    {
        QMutexLocker lock(&m_mutex);
        m_status.menu.TakeWrite(payload);
        std::memcpy(payload + SETTINGS_SENT, payload, SETTINGS_RESENT);
        // A clock set by the user goes out as set; otherwise the detector's
        // own.
        CRZ450Clock::FIELDS fields = m_bUserClockSet ? m_userClock : m_status.Clock();
        if (m_status.menu[Menu::SYNC_CLOCK] != 0)
            fields = CRZ450Clock::Now();
        const CRZ450Clock::BYTES clock = CRZ450Clock::Encode(fields);
        std::copy(clock.begin(), clock.end(), payload + SETTINGS_SENT + SETTINGS_RESENT);
        m_bUserClockSet = false;
    }
    SendBytes(payload, sizeof payload);
    m_bSettingsQueued = true;
}

// ---------------------------------------------------------------------------
// Event log download

void CRZ450Device::DownloadLog()
{
    {
        QMutexLocker lock(&m_mutex);
        m_log.Begin();
    }
    int block = 0;
    while (block < LOG_BLOCKS && m_bRun && DownloadBlock(block))
        ++block;
    int progress = 0;
    {
        QMutexLocker lock(&m_mutex);
        m_log.Finish();
        progress = m_log.Progress();
    }
    if (progress == Log::PROGRESS_FAILED)
        qCWarning(lcDriver) << "log download failed at block" << block;
}

bool CRZ450Device::DownloadBlock(int block)
{
    const char request = static_cast<char>(Wire::LOG_BLOCK_REQUEST);
    SendBytes(&request, 1);
    quint8 data[LOG_BLOCK_SIZE];
    if (!ReceiveBytes(reinterpret_cast<char*>(data), LOG_BLOCK_SIZE)) {
        Resync("short log block");
        return false;
    }
    QMutexLocker lock(&m_mutex);
    return m_log.Store(block, data);
}

QList<CLogRecord> CRZ450Device::GetLogRecords()
{
    std::vector<quint8> copy;
    {
        QMutexLocker lock(&m_mutex);
        copy = m_log.Copy();
    }
    return CLogParser::Parse(copy.data(), LOG_BLOCKS, QDate::currentDate().year());
}

int CRZ450Device::GetLogLoadProgress()
{
    QMutexLocker lock(&m_mutex);
    return m_log.Progress();
}

// ---------------------------------------------------------------------------
// Posting commands

void CRZ450Device::KeyPressed(IDevice::KeyType key)
{
    QMutexLocker lock(&m_mutex);
    m_nKeyCount = static_cast<quint8>(std::min(Wire::MAX_KEY_REPEATS, m_nKeyCount + 1));
    m_nKeyByte
        = static_cast<quint8>((m_nKeyCount << Wire::KEY_REPEATS_SHIFT) | (static_cast<int>(key) & Wire::KEY_MASK));
    m_nPending = Wire::COMMAND_KEY;
    ++m_nCommandSerial;
}

void CRZ450Device::SetRequest(IDevice::RequestType request)
{
    const int index = static_cast<int>(request);
    if (index < 0 || index >= int(sizeof Wire::REQUEST_COMMANDS))
        return;
    QMutexLocker lock(&m_mutex);
    m_nPending = Wire::REQUEST_COMMANDS[index];
    ++m_nCommandSerial;
    if (m_nPending == Wire::COMMAND_READ_LOG)
        m_log.Post();
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
    CRecordConverter converter = CRecordConverter::Near(CRecordConverter::Clock());
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
    // thread keeps its hour cache warm.
    thread_local CRecordConverter converter = CRecordConverter::Live();
    return converter;
}

CRecord CRZ450Device::GetCurrentRecord()
{
    return GetRecord(GetCurrentRecordIndex() - 1);
}

// ---------------------------------------------------------------------------
// Plain getters

// One line a function, read as a table.
// clang-format off
QString CRZ450Device::GetDevID() { return QStringLiteral("RZ450"); }
IDevice* CRZ450Device::GetLocalDevice() { return this; }
bool CRZ450Device::IsOnline() { return m_eState == StateExchanging && m_bOnline; }
bool CRZ450Device::IsError() { return m_bError; }
// clang-format on

bool CRZ450Device::GetTestInterface(ITestDevice** test)
{
    Q_UNUSED(test);
    return false;
}

// One line a function, read as a table.
// clang-format off
int CRZ450Device::GetCurrentMode() { return Field(&CRZ450Status::mode); }
int CRZ450Device::GetCurrentBand() { return Field(&CRZ450Status::currentBand); }
int CRZ450Device::GetLogType() { return Field(&CRZ450Status::logType); }
// clang-format on

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

QDateTime CRZ450Device::GetTime()
{
    CRZ450Clock::FIELDS fields;
    {
        QMutexLocker lock(&m_mutex);
        // A clock set but not yet on its way is no clock the detector keeps.
        const bool writing = m_bUserClockSet && m_nPending == Wire::COMMAND_WRITE_SETTINGS;
        fields = writing ? m_userClock : m_status.Clock();
    }
    return CRZ450Clock::ToDateTimeNearNow(fields);
}

void CRZ450Device::SetTime(const QDateTime& time)
{
    // Kept apart from the reported clock until the next settings write
    // sends it: every status report, the one that carries the write command
    // included, would overwrite it before it could be sent.
    const CRZ450Clock::FIELDS fields = CRZ450Clock::FromDateTime(time);
    QMutexLocker lock(&m_mutex);
    m_userClock = fields;
    m_bUserClockSet = time.isValid();
}
