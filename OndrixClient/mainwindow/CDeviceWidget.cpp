#include "mainwindow/CDeviceWidget.h"

#include "IDeviceGui.h"
#include "IVirtualDevice.h"
#include "app/CClientSession.h"
#include "proxy/CMetaDevice.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include <exception>

CDeviceWidget::CDeviceWidget(QWidget* parent)
    : QFrame(parent)
{
    setMouseTracking(true);
    IDeviceGui* gui = CClientSession::DeviceGui();
    SetVirtualDevice(gui ? gui->GetVirtualDevice() : nullptr, CClientSession::Device());
    connect(&m_timer, &QTimer::timeout, this, &CDeviceWidget::OnTimer);
}

void CDeviceWidget::SetVirtualDevice(IVirtualDevice* virtualDevice, IDevice* device)
{
    m_pVirtualDevice = virtualDevice;
    if (!m_pVirtualDevice)
        return;
    ConnectChannelSignal();
    m_pVirtualDevice->SetDevice(device);
    setFixedSize(m_pVirtualDevice->GetWidth(),
        m_pVirtualDevice->GetScreenHeight() + m_pVirtualDevice->GetKeyboardHeight());
    update();
}

IVirtualDevice* CDeviceWidget::GetVirtualDevice() const
{
    return m_pVirtualDevice;
}

int CDeviceWidget::GetPressTicks() const
{
    return m_nPressTicks;
}

void CDeviceWidget::ConnectChannelSignal()
{
    // A panel may declare the signal on its own class, which the client
    // never sees: only its meta-object knows it.
    const QMetaObject* meta = m_pVirtualDevice->metaObject();
    const int index = meta->indexOfSignal("deviceChannelChanged()");
    if (index < 0)
        return;
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("OnDeviceChannelChanged()"));
    connect(m_pVirtualDevice, meta->method(index), this, slot, Qt::UniqueConnection);
}

void CDeviceWidget::OnDeviceChannelChanged()
{
    Q_EMIT deviceChannelChanged();
}

void CDeviceWidget::OnTimer()
{
    ++m_nPressTicks;
}

void CDeviceWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!m_pVirtualDevice)
        return;
    QPainter painter(this);
    // A panel of a server's device asks the server while it draws; an
    // exception must not leave through Qt's event handling. The poll shows
    // the network error.
    try {
        m_pVirtualDevice->Paint(&painter);
    } catch (const std::exception&) {
    }
}

int CDeviceWidget::KeyAt(const QPoint& pos) const
{
    if (!m_pVirtualDevice)
        return -1;
    const int count = m_pVirtualDevice->GetKeyCount();
    for (int key = 0; key < count; ++key) {
        if (m_pVirtualDevice->GetKeyRect(key).contains(pos))
            return key;
    }
    return -1;
}

void CDeviceWidget::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(KeyAt(event->position().toPoint()) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QFrame::mouseMoveEvent(event);
}

void CDeviceWidget::mousePressEvent(QMouseEvent* event)
{
    if (KeyAt(event->position().toPoint()) >= 0) {
        m_nPressTicks = 0;
        m_timer.start(HOLD_TICK_MS);
    }
    QFrame::mousePressEvent(event);
}

void CDeviceWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const int key = KeyAt(event->position().toPoint());
    if (key >= 0) {
        const int code = m_nPressTicks > LONG_PRESS_TICKS ? (key | LONG_PRESS_BIT) : key;
        m_timer.stop();
        try {
            m_pVirtualDevice->PressKey(code);
        } catch (const std::exception&) {
        }
    }
    QFrame::mouseReleaseEvent(event);
}
