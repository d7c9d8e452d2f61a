#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <memory>

class CMetaDevice;
class IDevice;
struct CTL_OPTIONS;

// The detector a command works on, always through the device proxy: the
// local one through the driver plug-in beside the program, as the client
// finds it, or the RZ450 an Ondrix Server shares. It owns what it opened and
// lets go of it when destroyed.
class CCtlDevice
{
    Q_DECLARE_TR_FUNCTIONS(CCtlDevice)

public:
    CCtlDevice();
    ~CCtlDevice();

    // No device address opens the local detector; an encrypted server is
    // given the options' fingerprint and key. False with the reason in error
    // when there is nothing to talk to. Over the network it may throw what
    // the proxy throws.
    bool Open(const CTL_OPTIONS& options, QString& error);
    CMetaDevice* Get() const { return m_pDevice.get(); }
    // "local", or the server's address.
    QString Where() const;

private:
    bool OpenLocal(QString& error);
    bool OpenServer(const CTL_OPTIONS& options, QString& error);
    static QString Refused(const CMetaDevice& device);

    QList<IDevice*> m_drivers;
    std::unique_ptr<CMetaDevice> m_pDevice;
};
