#pragma once

#include "server/CServerSharing.h"

#include <QObject>
#include <QString>

#include <memory>

class CMetaDevice;
class CStartupWindow;
class QWidget;

// Start Server: asks how to share the detector, runs the Ondrix Server
// beside the client for the device the client holds (until the client quits,
// unless the user chose to keep sharing), and
// connects a start-up window to it. The user is told when a server already
// runs and when the program is missing; the current device is then left, or
// put back, as it was.
class CServerStarter : public QObject
{
    Q_OBJECT

public:
    // The server needs a moment before it listens: connects are tried this
    // far apart until this long has passed.
    static constexpr int CONNECT_PAUSE_MS = 200;
    static constexpr int CONNECT_WINDOW_MS = 3000;
    static constexpr int START_MS = 5000;
    static constexpr int STOP_MS = 5000;

    explicit CServerStarter(QWidget* window);
    ~CServerStarter() override;

    enum Result { Unchanged, Connected, Failed };
    // Connected: Connection() holds the server's device and GUI. Failed:
    // the server started but could not be reached; `error` says why.
    Result Start(CMetaDevice* current, QString& error);
    CStartupWindow* Connection() const;
    // The sharing the server was started with.
    CServerSharing GetSharing() const;

    // The environment variable ONDRIX_SERVER_PROGRAM, when set, names the
    // program to run instead of the server beside the client: tests point
    // it at a stand-in of their own or at a server built elsewhere.
    static QString ProgramPath();

private:
    bool AskSharing();
    bool Launch();
    Result Connect(QString& error);

    QWidget* m_pWindow;
    CServerSharing m_sharing;
    std::unique_ptr<CStartupWindow> m_pConnection;
};
