#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

// The OndrixServer program on a loopback address of its own, sharing the
// detector at `port`, with the operator's log kept for the test to read.
class CServerProcess
{
public:
    explicit CServerProcess(const QString& port);
    ~CServerProcess();

    // A free-looking 127.x.y.z; the port is always the protocol's.
    static QString RandomAddress();
    // False when it did not report listening in time.
    bool Start(const QString& address, const QStringList& options = {});
    // SIGTERM; the exit code, -1 when it had to be killed.
    int Terminate();
    void Kill();
    // SIGSTOP, or SIGCONT: a server that stays connected and says nothing.
    void Freeze(bool frozen);
    QString Log();
    bool WaitForLog(const QString& text, int ms = 5000);
    QString Address() const { return m_strAddress; }
    // The program run once to its end (--fingerprint, --show-keys): what it
    // printed, and its exit code.
    static QString Output(const QStringList& arguments, int* exitCode = nullptr);
    // The access key of a role ("view", "control") that a server of that
    // state folder gives, as --show-keys prints it.
    static QString Key(const QString& stateDir, const QString& role);

private:
    QString m_strPort;
    QString m_strAddress;
    QProcess m_process;
    // The log goes to a file: a pipe nobody drains would stop the server
    // once it filled.
    QTemporaryFile m_log;
};
