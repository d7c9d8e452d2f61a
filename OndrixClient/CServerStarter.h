#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CMetaDevice;
class CStartupWindow;
class QWidget;

// Start Server: runs the Ondrix Server beside the client, detached, for the
// device the client holds, and connects a start-up window to it. The user is
// told when a server already runs and when the program is missing; the
// current device is then left, or put back, as it was.
class CServerStarter : public QObject
{
    Q_OBJECT

public:
    explicit CServerStarter(QWidget* window);
    ~CServerStarter() override;

    enum Result { Unchanged, Connected, Failed };
    // Connected: Connection() holds the server's device and GUI. Failed:
    // the server started but could not be reached; `error` says why.
    Result Start(CMetaDevice* current, QString& error);
    CStartupWindow* Connection() const;

    static QString ProgramPath();

private:
    QWidget* m_pWindow;
    std::unique_ptr<CStartupWindow> m_pConnection;
};
