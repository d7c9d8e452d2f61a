#pragma once

#include <QFrame>
#include <QTimer>

class IDevice;
class IVirtualDevice;

// The device's front panel: the device GUI's virtual device draws it, and
// clicks on its keys go back to it. A key held for more than ten ticks of
// the 100 ms timer is sent as a long press (the bit of value 8 set).
class CDeviceWidget : public QFrame
{
    Q_OBJECT

public:
    static constexpr int HOLD_TICK_MS = 100;
    static constexpr int LONG_PRESS_TICKS = 10;
    static constexpr int LONG_PRESS_BIT = 8;

    // Takes the virtual device of the current device GUI.
    explicit CDeviceWidget(QWidget* parent = nullptr);

    // Binds another panel (after a connection restart) to a device.
    void SetVirtualDevice(IVirtualDevice* virtualDevice, IDevice* device);
    IVirtualDevice* GetVirtualDevice() const;
    int GetPressTicks() const;

Q_SIGNALS:
    void deviceChannelChanged();

public Q_SLOTS:
    void OnDeviceChannelChanged();
    void OnTimer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int KeyAt(const QPoint& pos) const;
    void ConnectChannelSignal();

    IVirtualDevice* m_pVirtualDevice = nullptr;
    QTimer m_timer;
    int m_nPressTicks = 0;
};
