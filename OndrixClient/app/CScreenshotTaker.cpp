#include "app/CScreenshotTaker.h"

#include "mainwindow/CMainWindow.h"

#include <QCoreApplication>
#include <QPixmap>

#include <cstdio>

CScreenshotTaker::CScreenshotTaker(CMainWindow* window, const QString& file)
    : m_pWindow(window)
    , m_strFile(file)
{
    connect(&m_timer, &QTimer::timeout, this, &CScreenshotTaker::OnTimer);
    m_timer.start(CHECK_MS);
    m_sinceStart.start();
}

void CScreenshotTaker::OnTimer()
{
    if (m_pWindow->GetFedRecordCount() > 0 && !m_sinceFirstRecord.isValid())
        m_sinceFirstRecord.start();
    // Some seconds of records make lines rather than dots.
    if (m_sinceFirstRecord.isValid() && m_sinceFirstRecord.elapsed() >= DRAWING_MS)
        Finish(0);
    else if (m_sinceStart.elapsed() >= GIVE_UP_MS)
        Finish(1);
}

void CScreenshotTaker::Finish(int exitCode)
{
    m_timer.stop();
    const bool saved = m_pWindow->grab().save(m_strFile, "PNG");
    if (!saved)
        std::fprintf(stderr, "Could not save the screenshot to %s\n", qPrintable(m_strFile));
    else if (exitCode != 0)
        std::fprintf(stderr, "No live records arrived; the screenshot shows the window without them.\n");
    QCoreApplication::exit(saved ? exitCode : 1);
}
