#include "CCtlInterrupt.h"

#include "CtlExit.h"

#include <QEventLoop>
#include <QTimer>

CCtlInterrupt::CCtlInterrupt()
{
    QObject::connect(&m_watcher, &CSignalWatcher::terminationRequested, &m_watcher,
        [this](int signalNumber) { m_nSignal = signalNumber; });
}

bool CCtlInterrupt::Sleep(int ms)
{
    if (IsInterrupted())
        return false;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QObject::connect(&m_watcher, &CSignalWatcher::terminationRequested, &loop, &QEventLoop::quit);
    loop.exec();
    return !IsInterrupted();
}

int CCtlInterrupt::ExitCode() const
{
    return CtlExit::Interrupted + m_nSignal;
}
