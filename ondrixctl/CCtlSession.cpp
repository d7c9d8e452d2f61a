#include "CCtlSession.h"

#include "CtlExit.h"
#include "proxy/CMetaDevice.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>

#include <algorithm>

namespace {

// A settings write goes out with the next exchange; the reports before it
// still show what the driver holds for it, not what the detector took.
constexpr int SETTLE_MS = 500;

} // namespace

CCtlSession::CCtlSession(const CTL_OPTIONS& options, CCtlConsole& console)
    : m_options(options)
    , m_console(console)
{
}

int CCtlSession::ConnectDevice()
{
    if (Device())
        return CtlExit::Ok;
    QString error;
    return m_device.Open(m_options, error) ? int(CtlExit::Ok) : Fail(CtlExit::NoDevice, error);
}

int CCtlSession::OpenDevice()
{
    const int code = ConnectDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = Device();
    if (WaitFor([device] { return device->IsOnline(); }, m_options.timeoutMs))
        return CtlExit::Ok;
    if (IsInterrupted())
        return Interrupted(tr("waiting for the detector"));
    return NotOnline();
}

int CCtlSession::NotOnline()
{
    return Fail(CtlExit::Offline,
        tr("the detector (%1) did not come online within %2 s").arg(Where()).arg(m_options.timeoutMs / 1000.0));
}

int CCtlSession::Refused()
{
    return Fail(CtlExit::Failed, tr("the server (%1) refused the request: the connection is read-only").arg(Where()));
}

bool CCtlSession::WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        const qint64 left = timeoutMs - elapsed.elapsed();
        if (left <= 0 || !Sleep(int(std::min<qint64>(POLL_MS, left))))
            return false;
    }
    return true;
}

int CCtlSession::AwaitWrite(const std::function<bool()>& confirmed, const QString& waitingFor, const QString& failure)
{
    if (Sleep(SETTLE_MS) && WaitFor(confirmed, m_options.timeoutMs))
        return CtlExit::Ok;
    return IsInterrupted() ? Interrupted(waitingFor) : Fail(CtlExit::Failed, failure);
}

int CCtlSession::CheckWritable(const QString& path)
{
    // Opened, the file is only a temporary one beside its place; cancelled,
    // that goes too and whatever stood at path stays.
    QSaveFile probe(path);
    if (probe.open(QIODevice::WriteOnly)) {
        probe.cancelWriting();
        return CtlExit::Ok;
    }
    return Fail(CtlExit::CannotWrite,
        tr("cannot write %1: %2").arg(QDir::toNativeSeparators(path), probe.errorString()));
}

int CCtlSession::Interrupted(const QString& what)
{
    m_console.Error(tr("interrupted while %1").arg(what));
    return m_interrupt.ExitCode();
}

int CCtlSession::Fail(int code, const QString& text)
{
    m_console.Error(text);
    return code;
}
