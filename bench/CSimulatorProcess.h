#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The simulated detector in a process of its own, so that the benchmark's
// CPU time is the client's alone. Its link goes into RZ450_PORT, where the
// driver looks first.
class CSimulatorProcess
{
public:
    explicit CSimulatorProcess(const QStringList& options = {});
    ~CSimulatorProcess();
    CSimulatorProcess(const CSimulatorProcess&) = delete;
    CSimulatorProcess& operator=(const CSimulatorProcess&) = delete;

    bool Ready() const;
    // The link a driver or a server opens.
    QString Link() const { return m_link; }
    // One line of the simulator's command language.
    void Command(const QByteArray& line);

private:
    QTemporaryDir m_dir;
    QString m_link;
    QProcess m_process;
};
