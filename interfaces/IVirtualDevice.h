#pragma once

#include <QObject>

class IDevice;
class QPainter;
class QRect;

// The device's front panel as the host window draws and clicks it. Same rule
// as IDevice: the order of the virtual operations is part of the contract.
class IVirtualDevice : public QObject
{
public:
    ~IVirtualDevice() override = default;

    // The device is not owned.
    virtual bool SetDevice(IDevice* device) = 0;
    // Draws the whole panel with its top left corner at (0, 0).
    virtual void Paint(QPainter* painter) = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // The host sizes itself to GetWidth() by GetScreenHeight() + GetKeyboardHeight().
    virtual int GetWidth() = 0;
    virtual int GetScreenHeight() = 0;
    virtual int GetKeyboardHeight() = 0;
    virtual int GetKeyCount() = 0;
    // In panel coordinates, index 0 to GetKeyCount() - 1.
    virtual QRect GetKeyRect(int index) = 0;
    // A long press arrives as the key index with the bit of value 8 set.
    virtual void PressKey(int key) = 0;
};
