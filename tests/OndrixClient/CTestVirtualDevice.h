#pragma once

#include "IVirtualDevice.h"

#include <QList>
#include <QRect>

// A front panel of six keys in two rows below a screen; it keeps the codes
// it is sent.
class CTestVirtualDevice : public IVirtualDevice
{
    Q_OBJECT

public:
    static constexpr int WIDTH = 120;
    static constexpr int SCREEN_HEIGHT = 60;
    static constexpr int KEYBOARD_HEIGHT = 80;
    static constexpr int KEYS = 6;

    QList<int> PressedKeys() const { return m_keys; }
    IDevice* Device() const { return m_pDevice; }
    int Paints() const { return m_nPaints; }

    bool SetDevice(IDevice* device) override;
    void Paint(QPainter* painter) override;
    void Start() override { }
    void Stop() override { }
    int GetWidth() override { return WIDTH; }
    int GetScreenHeight() override { return SCREEN_HEIGHT; }
    int GetKeyboardHeight() override { return KEYBOARD_HEIGHT; }
    int GetKeyCount() override { return KEYS; }
    QRect GetKeyRect(int index) override;
    void PressKey(int key) override;

private:
    QList<int> m_keys;
    IDevice* m_pDevice = nullptr;
    int m_nPaints = 0;
};
