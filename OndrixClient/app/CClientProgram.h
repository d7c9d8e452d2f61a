#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class CMainWindow;
class CStartupWindow;

// The client's start: icon, style sheet, the first settings scope and the
// language, the plug-ins through a start-up window that is not shown, the
// local device or a server's, and the main window. Destroyed after the event loop, it
// takes the windows down first and the plug-ins' objects last.
class CClientProgram
{
    Q_DECLARE_TR_FUNCTIONS(CClientProgram)

public:
    CClientProgram();
    ~CClientProgram();
    CClientProgram(const CClientProgram&) = delete;
    CClientProgram& operator=(const CClientProgram&) = delete;

    // False when no device GUI plug-in was found (the user has been told):
    // the program cannot go on and no main window exists. With a server
    // address the device on that server is used instead of the local one;
    // when it cannot be reached the window opens offline and says why.
    bool Start(const QString& server = QString());
    CMainWindow* GetMainWindow() const;
    CStartupWindow* GetStartupWindow() const;

private:
    // The reason when the connect failed, else empty.
    QString Connect(const QString& server);

    std::unique_ptr<CStartupWindow> m_pStartupWindow;
    std::unique_ptr<CMainWindow> m_pMainWindow;
};
