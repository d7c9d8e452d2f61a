#pragma once

#include "server/CServerSharing.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CMetaDevice;
class QLabel;
class QMainWindow;
class QStatusBar;

// The main window's title and the status bar's connection field: which
// device the window works with, where it is, and how a server started from
// here shares it. The texts are kept as facts, so that they follow a
// language change.
class CConnectionStatus : public QObject
{
    Q_OBJECT

public:
    // Adds the field to the status bar for the device the window opens with.
    CConnectionStatus(QMainWindow* window, QStatusBar* statusBar, CMetaDevice* device);

    // After a connection restart: the title names the device and its place.
    void Show(CMetaDevice* device);
    void ShowSharing(const CServerSharing& sharing);
    // A server that could not be reached is not asked again until the
    // connection changes, unless the proxy is winning the connection back
    // by itself: the failure stays readable instead of a network error on
    // every poll.
    void Fail(CMetaDevice* device, const QString& failure);
    bool IsDown() const;
    bool IsReconnecting() const { return m_bReconnecting; }
    // The title names the file a replay shows; empty when none does.
    void ShowReplay(const QString& fileName);
    void Retranslate();

Q_SIGNALS:
    // Once per connection won back; the records of the time between are
    // lost to the live view.
    void reconnected();

private:
    void Follow(CMetaDevice* device);
    void OnConnectionLost();
    void OnReconnected();
    void OnWaiting(bool on);
    QString Place() const;
    QString LabelText() const;
    QString TitleText() const;
    QString ConnectionTitle() const;

    QMainWindow* m_pWindow;
    QLabel* m_pLabel;
    QPointer<CMetaDevice> m_pDevice;
    bool m_bReconnecting = false;
    bool m_bWaiting = false; // the server does not answer, and is not lost yet
    QString m_strUrl;
    bool m_bLocal = false;
    bool m_bExposed = false; // plain text over a network
    bool m_bNamed = false;
    QString m_strName;
    bool m_bShared = false;
    CServerSharing m_sharing;
    bool m_bDown = false;
    QString m_strReplay;
};
