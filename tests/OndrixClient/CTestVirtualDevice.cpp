#include "CTestVirtualDevice.h"

#include <QPainter>

bool CTestVirtualDevice::SetDevice(IDevice* device)
{
    m_pDevice = device;
    return true;
}

void CTestVirtualDevice::Paint(QPainter* painter)
{
    ++m_nPaints;
    painter->fillRect(0, 0, WIDTH, SCREEN_HEIGHT, QColor(120, 220, 140));
    for (int key = 0; key < KEYS; ++key)
        painter->fillRect(GetKeyRect(key), Qt::darkGray);
}

QRect CTestVirtualDevice::GetKeyRect(int index)
{
    // Three keys a row, 30 x 30 with 10 pixels between them.
    const int row = index / 3;
    const int column = index % 3;
    return QRect(10 + column * 40, SCREEN_HEIGHT + 10 + row * 40, 30, 30);
}

void CTestVirtualDevice::PressKey(int key)
{
    m_keys.append(key);
}
