#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A Mosquitto broker of the test's own on a free loopback port, with or
// without a password, kept across restarts on the same port.
class CMosquittoBroker
{
public:
    CMosquittoBroker();
    ~CMosquittoBroker();

    // `user` set: only that user with that password gets in. `keep`: the
    // broker saves its sessions over a restart.
    bool Start(const QString& user = {}, const QString& password = {}, bool keep = false);
    bool Restart();
    void Stop();
    int Port() const { return m_nPort; }
    QString Folder() const { return m_folder.path(); }
    static int FreePort();

private:
    bool Launch();

    QTemporaryDir m_folder;
    QProcess m_process;
    int m_nPort = 0;
};
