#include "CServerProcess.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

CServerProcess::CServerProcess(const QString& port)
    : m_strPort(port)
{
}

CServerProcess::~CServerProcess()
{
    Kill();
}

QString CServerProcess::RandomAddress()
{
    QRandomGenerator* random = QRandomGenerator::global();
    return QStringLiteral("127.%1.%2.%3")
        .arg(random->bounded(1, 255))
        .arg(random->bounded(0, 256))
        .arg(random->bounded(1, 255));
}

bool CServerProcess::Start(const QString& address, const QStringList& options)
{
    m_strAddress = address;
    if (!m_log.open())
        return false;
    m_log.resize(0);
    m_process.setStandardErrorFile(m_log.fileName());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RZ450_PORT"), m_strPort);
    // The leak check at a child's exit has crashed on its own on a loaded
    // machine; the in-process tests check the same code for leaks.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
    m_process.setProcessEnvironment(environment);
    m_process.start(QStringLiteral(ONDRIX_SERVER_PROGRAM),
        QStringList { QStringLiteral("--listen"), address } + options);
    return m_process.waitForStarted(5000) && WaitForLog(QStringLiteral("listening on"), 10000);
}

QString CServerProcess::Output(const QStringList& arguments, int* exitCode)
{
    QProcess process;
    process.start(QStringLiteral(ONDRIX_SERVER_PROGRAM), arguments);
    process.waitForFinished(10000);
    if (exitCode)
        *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed();
}

QString CServerProcess::Key(const QString& stateDir, const QString& role)
{
    const QStringList arguments { QStringLiteral("--state-dir"), stateDir, QStringLiteral("--show-keys") };
    for (const QString& line : Output(arguments).split(QLatin1Char('\n'))) {
        if (line.section(QLatin1Char(' '), 0, 0) == role)
            return line.section(QLatin1Char(' '), 1);
    }
    return QString();
}

int CServerProcess::Terminate()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitCode();
    m_process.terminate();
    if (m_process.waitForFinished(15000) && m_process.exitStatus() == QProcess::NormalExit) {
        return m_process.exitCode();
    }
    Kill();
    return -1;
}

void CServerProcess::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

QString CServerProcess::Log()
{
    QFile file(m_log.fileName());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool CServerProcess::WaitForLog(const QString& text, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!Log().contains(text)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return Log().contains(text);
        QThread::msleep(20);
    }
    return true;
}

void CServerProcess::Freeze(bool frozen)
{
    if (m_process.state() != QProcess::NotRunning)
        ::kill(pid_t(m_process.processId()), frozen ? SIGSTOP : SIGCONT);
}
