#pragma once

class QWidget;

// The program's other top-level windows when its main window closes. The
// device GUI's windows (the spectrum window among them) have no parent:
// left open they would keep the program running without its main window.
class COtherWindows
{
public:
    static void Close(const QWidget* mainWindow);
};
