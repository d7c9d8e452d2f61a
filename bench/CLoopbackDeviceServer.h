#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>

#include <atomic>

// A device server on a random loopback address that answers each request
// at once, for one connection. Requests come one at a time, so whatever
// arrives in one read is one request.
class CLoopbackDeviceServer : public QThread
{
public:
    std::atomic<int> requests { 0 };

    // Starts listening; the address the proxy connects to.
    QString Listen();
    // A free-looking 127.x.y.z: the proxy's port is fixed, so benchmarks
    // running side by side meet only if they share an address.
    static QString RandomAddress();

protected:
    void run() override;
    // What goes between "<D>" and "</D>".
    virtual QByteArray Answer(const QByteArray& request) = 0;

private:
    QString m_strAddress;
    std::atomic<bool> m_bReady { false };
};
