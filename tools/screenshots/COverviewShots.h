#pragma once

#include <QDir>
#include <QString>

class CMainWindow;
class CRZ450Simulator;

// The overview with an alarm on the detector in use beside two servers that
// cannot be reached, and the alert list it made.
class COverviewShots
{
public:
    static constexpr int ALERT_TIMEOUT_MS = 15000;
    static constexpr int SETTLE_MS = 1500;

    COverviewShots(CRZ450Simulator* simulator, CMainWindow* window, const QDir& folder);

    bool Run();
    QString Error() const { return m_strError; }

private:
    void AddRooms();
    bool Save(QWidget* widget, const QString& name);
    bool Fail(const QString& error);

    CRZ450Simulator* m_pSimulator;
    CMainWindow* m_pWindow;
    QDir m_folder;
    QString m_strError;
};
