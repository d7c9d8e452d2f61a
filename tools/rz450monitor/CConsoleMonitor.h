#pragma once

#include <QObject>
#include <QString>
#include <QTextStream>
#include <QTimer>

#include <QList>
#include <QPair>

class IDevice;
class IRZ450Device;
class QSocketNotifier;

// Watches one detector from the console: a status line once a second,
// scheduled key presses, and commands typed on standard input.
class CConsoleMonitor : public QObject
{
    Q_OBJECT

public:
    struct OPTIONS
    {
        int seconds = 0;                   // 0: until interrupted
        QList<QPair<int, int>> keyPresses; // (second, key)
        bool download = false;             // download the event log once online
    };

    CConsoleMonitor(IDevice* device, const OPTIONS& options, QObject* parent = nullptr);
    ~CConsoleMonitor() override;

    bool Start();

private:
    void OnTimerTimeout();
    void OnInputActivated();
    void PrintStatus();
    void PrintNewestRecord();
    void HandleCommand(const QString& line);
    void StartDownload();
    void CheckDownload();
    void PrintLog();
    void Finish();

    IDevice* m_pDevice;
    IRZ450Device* m_pRz450;
    OPTIONS m_options;
    QTimer m_timer;
    QSocketNotifier* m_pInput = nullptr;
    QTextStream m_out;
    int m_nTick = 0;
    bool m_bDownloading = false;
    bool m_bDownloadDone = false;
};
