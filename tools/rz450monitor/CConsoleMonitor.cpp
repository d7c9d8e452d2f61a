#include "CConsoleMonitor.h"

#include "IRZ450Device.h"
#include "RZ450Layout.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

QString ModeName(int mode)
{
    switch (mode) {
    case IDevice::MODE_MAN: return QStringLiteral("manual");
    case IDevice::MODE_SRCH: return QStringLiteral("search");
    case IDevice::MODE_AUTO: return QStringLiteral("automatic");
    default: return QStringLiteral("-");
    }
}

QString RecordText(const CRecord& record)
{
    const QString time = QDateTime::fromSecsSinceEpoch(qint64(record.time)).toString(QStringLiteral("MM-dd HH:mm:ss"));
    const RECORD_VALUE value = record.values.value(0);
    return QStringLiteral("band %1 %2 level %3 dBm threshold %4 dBm")
               .arg(record.band)
               .arg(time)
               .arg(value.level)
               .arg(value.threshold)
        + (record.duration ? QStringLiteral(" duration %1 s").arg(record.duration) : QString());
}

} // namespace

CConsoleMonitor::CConsoleMonitor(IDevice* device, const OPTIONS& options, QObject* parent)
    : QObject(parent)
    , m_pDevice(device)
    , m_pRz450(dynamic_cast<IRZ450Device*>(device))
    , m_options(options)
    , m_out(stdout)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &CConsoleMonitor::OnTimerTimeout);
}

CConsoleMonitor::~CConsoleMonitor() = default;

bool CConsoleMonitor::Start()
{
    if (!m_pDevice->Initialize()) {
        m_out << "Cannot start the device driver." << Qt::endl;
        return false;
    }
    if (isatty(STDIN_FILENO)) {
        m_pInput = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_pInput, &QSocketNotifier::activated, this, &CConsoleMonitor::OnInputActivated);
        m_out << "Commands: key K, download, quit." << Qt::endl;
    }
    m_timer.start();
    return true;
}

void CConsoleMonitor::OnTimerTimeout()
{
    ++m_nTick;
    for (const auto& press : std::as_const(m_options.keyPresses)) {
        if (press.first == m_nTick) {
            m_out << "-- key " << press.second << " pressed" << Qt::endl;
            m_pDevice->KeyPressed(static_cast<IDevice::KeyType>(press.second));
        }
    }
    if (m_options.download && !m_bDownloading && !m_bDownloadDone && m_pDevice->IsOnline())
        StartDownload();
    if (m_bDownloading)
        CheckDownload();
    PrintStatus();
    if (m_options.seconds > 0 && m_nTick >= m_options.seconds)
        Finish();
}

void CConsoleMonitor::PrintStatus()
{
    const QString state = m_pDevice->IsError() ? QStringLiteral("ERROR  ")
        : m_pDevice->IsOnline()                ? QStringLiteral("ONLINE ")
                                               : QStringLiteral("offline");
    const int band = m_pDevice->GetCurrentBand();
    const QString name = m_pRz450 ? m_pRz450->GetBandName(band).trimmed() : QString();
    m_out << QStringLiteral("[%1s] %2 mode %3 (%4) band %5 %6 records %7")
                 .arg(m_nTick, 4)
                 .arg(state)
                 .arg(m_pDevice->GetCurrentMode())
                 .arg(ModeName(m_pDevice->GetCurrentMode()))
                 .arg(band)
                 .arg(name)
                 .arg(m_pDevice->GetCurrentRecordIndex());
    if (m_pDevice->GetCurrentRecordIndex() > 0)
        m_out << " | newest: " << RecordText(m_pDevice->GetCurrentRecord());
    m_out << Qt::endl;
}

void CConsoleMonitor::OnInputActivated()
{
    char line[256];
    const ssize_t size = ::read(STDIN_FILENO, line, sizeof line - 1);
    if (size <= 0) {
        m_pInput->setEnabled(false);
        return;
    }
    HandleCommand(QString::fromLocal8Bit(line, int(size)).trimmed());
}

void CConsoleMonitor::HandleCommand(const QString& line)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    bool ok = false;
    if (words[0] == QLatin1String("key") && words.size() == 2) {
        const int key = words[1].toInt(&ok);
        if (ok && key >= 0 && key <= 15) {
            m_pDevice->KeyPressed(static_cast<IDevice::KeyType>(key));
            return;
        }
    } else if (words[0] == QLatin1String("download")) {
        StartDownload();
        return;
    } else if (words[0] == QLatin1String("quit")) {
        Finish();
        return;
    }
    m_out << "Unknown command. Commands: key K (0..15, +8 long press), download, quit." << Qt::endl;
}

void CConsoleMonitor::StartDownload()
{
    if (!m_pDevice->IsOnline()) {
        m_out << "No connection with the device!" << Qt::endl;
        return;
    }
    m_out << "-- downloading the event log" << Qt::endl;
    m_pDevice->SetRequest(IDevice::ReadLog);
    m_bDownloading = true;
}

void CConsoleMonitor::CheckDownload()
{
    const int progress = m_pDevice->GetLogLoadProgress();
    m_out << "-- log progress " << progress << Qt::endl;
    if (progress < RZ450Layout::Log::PROGRESS_DONE)
        return;
    m_bDownloading = false;
    m_bDownloadDone = true;
    if (progress == RZ450Layout::Log::PROGRESS_FAILED) {
        m_out << "-- the log download failed" << Qt::endl;
        return;
    }
    PrintLog();
}

void CConsoleMonitor::PrintLog()
{
    const QList<CLogRecord> banks = m_pDevice->GetLogRecords();
    m_out << "-- " << banks.size() << " log bank(s)" << Qt::endl;
    for (const CLogRecord& bank : banks) {
        m_out << bank.name << " (" << bank.records.size() << " events)" << Qt::endl;
        for (const CRecord& record : bank.records)
            m_out << "    " << RecordText(record) << Qt::endl;
    }
}

void CConsoleMonitor::Finish()
{
    m_timer.stop();
    m_pDevice->Uninitialize();
    QCoreApplication::quit();
}
