#pragma once

class QDockWidget;
class QPushButton;

// What the main window offers a device GUI: a place for the GUI's own buttons
// and dock windows. Whatever is added belongs to the host's widget tree.
class ISpecificControls
{
public:
    virtual void AddOptionalButton(QPushButton* button) = 0;
    virtual void RemoveOptionalButton(QPushButton* button) = 0;
    virtual void AddDockWindow(QDockWidget* window) = 0;
    virtual void RemoveDockWindow(QDockWidget* window) = 0;

protected:
    // The host is never deleted through this interface.
    ~ISpecificControls() = default;
};
