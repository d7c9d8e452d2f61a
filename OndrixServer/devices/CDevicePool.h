#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class IDevice;

// The detectors this server shares. The server holds one reference of its
// own on every driver for as long as it runs, so that a client coming or
// going never starts or stops a detector for the others, and it restarts a
// driver's exchange itself after a fault, so that a detector that drops out
// comes back for every client at once.
class CDevicePool : public QObject
{
    Q_OBJECT

public:
    // Devices handed in stay the caller's; Load() makes them the pool's.
    explicit CDevicePool(const QList<IDevice*>& devices = {}, QObject* parent = nullptr);
    ~CDevicePool() override;

    // The driver plug-ins of the program's folder.
    bool Load(QString& error);
    void Start();
    void Stop();

    int Count() const { return int(m_devices.size()); }
    IDevice* Device(int index) const;
    QList<IDevice*> Devices() const { return m_devices; }
    // The names GetServerDevicesList gives: the device type a GUI plug-in
    // knows the device by.
    QStringList Names() const;
    int Find(const QString& name) const;

    static constexpr int RECOVERY_INTERVAL_MS = 500;

private:
    void OnRecoveryTimer();
    static QString NameOf(IDevice* device);

    QList<IDevice*> m_devices;
    std::vector<std::unique_ptr<IDevice>> m_owned;
    QList<bool> m_online;
    QTimer m_recoveryTimer;
    bool m_bStarted = false;
};
