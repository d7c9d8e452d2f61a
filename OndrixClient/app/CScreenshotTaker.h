#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class CMainWindow;

// Saves a picture of the main window once live records have been drawn
// for a while, then ends the program. Gives up after a time-out, saving
// what there is and ending with a failure code.
class CScreenshotTaker : public QObject
{
    Q_OBJECT

public:
    static constexpr int CHECK_MS = 100;
    static constexpr int DRAWING_MS = 2500;
    static constexpr int GIVE_UP_MS = 30000;

    CScreenshotTaker(CMainWindow* window, const QString& file);

private Q_SLOTS:
    void OnTimer();

private:
    void Finish(int exitCode);

    CMainWindow* m_pWindow;
    QString m_strFile;
    QTimer m_timer;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceFirstRecord;
};
