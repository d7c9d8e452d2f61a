#pragma once

#include <memory>

class CMainWindow;
class CStartupWindow;

// The client's start: icon, style sheet, the first settings scope and the
// language, the plug-ins through a start-up window that is not shown, the
// local device, and the main window. Destroyed after the event loop, it
// takes the windows down first and the plug-ins' objects last.
class CClientProgram
{
public:
    CClientProgram();
    ~CClientProgram();
    CClientProgram(const CClientProgram&) = delete;
    CClientProgram& operator=(const CClientProgram&) = delete;

    // False when no device GUI plug-in was found (the user has been told):
    // the program cannot go on and no main window exists.
    bool Start();
    CMainWindow* GetMainWindow() const;
    CStartupWindow* GetStartupWindow() const;

private:
    std::unique_ptr<CStartupWindow> m_pStartupWindow;
    std::unique_ptr<CMainWindow> m_pMainWindow;
};
