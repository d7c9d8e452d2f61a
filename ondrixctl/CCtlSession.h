#pragma once

#include "CCtlConsole.h"
#include "CCtlDevice.h"
#include "CCtlInterrupt.h"
#include "CTL_OPTIONS.h"

#include <QCoreApplication>

#include <functional>

class CMetaDevice;
class CRZ450MetaDevice;

// What a command works with: the options every command takes, the console,
// the signals that interrupt it and the detector, opened on demand.
class CCtlSession
{
    Q_DECLARE_TR_FUNCTIONS(CCtlSession)

public:
    static constexpr int POLL_MS = 50;

    CCtlSession(const CTL_OPTIONS& options, CCtlConsole& console);

    const CTL_OPTIONS& Options() const { return m_options; }
    CCtlConsole& Console() { return m_console; }

    // Opens the detector and waits until it is online. CtlExit::Ok, or the
    // failure's code once the reason has been said.
    int OpenDevice();
    // Opens it without waiting.
    int ConnectDevice();
    // Says that the detector is offline; the code to exit with.
    int NotOnline();
    CMetaDevice* Device() const { return m_device.Get(); }
    QString Where() const { return m_device.Where(); }

    // Polls until the condition holds; false when the time-out passed or a
    // signal came first.
    bool WaitFor(const std::function<bool()>& condition, int timeoutMs);
    bool Sleep(int ms) { return m_interrupt.Sleep(ms); }
    bool IsInterrupted() const { return m_interrupt.IsInterrupted(); }
    // Says that the command stopped on a signal; the code to exit with.
    int Interrupted(const QString& what);

    // After a settings write was posted: waits until confirmed() holds.
    // CtlExit::Ok, or the code of a signal or of a write the detector did
    // not take (said as failure).
    int AwaitWrite(const std::function<bool()>& confirmed, const QString& waitingFor, const QString& failure);

    // CtlExit::Ok when a file can be written at path, found out before any
    // work rather than after it; otherwise the reason is said.
    int CheckWritable(const QString& path);

    // Says the reason; the code to exit with.
    int Fail(int code, const QString& text);
    // Says that the server would not let the request through.
    int Refused();

private:
    CTL_OPTIONS m_options;
    CCtlConsole& m_console;
    CCtlInterrupt m_interrupt;
    CCtlDevice m_device;
};
