#include "mainwindow/CWindowLayout.h"
#include "app/ClientSettingsKeys.h"

#include "ui_CMainWindow.h"

#include <QSettings>

namespace {


const QRect DEFAULT_GEOMETRY(0, 30, 600, 400);
const int DEFAULT_COLUMN_WIDTH = 75;

} // namespace

CWindowLayout::CWindowLayout(QMainWindow* window, Ui::CMainWindow& ui)
    : m_pWindow(window)
    , m_ui(ui)
{
}

void CWindowLayout::Restore()
{
    QSettings settings;
    m_pWindow->setGeometry(settings.value(ClientSettingsKeys::WINDOW_GEOMETRY, DEFAULT_GEOMETRY).toRect());
    m_pWindow->setWindowState(settings.value(ClientSettingsKeys::WINDOW_MAXIMIZED, false).toBool() ? Qt::WindowMaximized : Qt::WindowNoState);
    if (!m_ui.m_pRightSplitter->restoreState(settings.value(ClientSettingsKeys::WINDOW_SPLITTER).toByteArray()))
        SetPaneSizes(m_pWindow->height() / 2, m_pWindow->height() / 2);
    QTreeWidget* list = m_ui.m_pLogListTree;
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(column, settings.value(QString::fromLatin1(ClientSettingsKeys::LOG_COLUMN).arg(column), DEFAULT_COLUMN_WIDTH).toInt());
    m_ui.m_pTabWidget->setCurrentIndex(settings.value(ClientSettingsKeys::LOG_TAB_INDEX, 0).toInt());
}

void CWindowLayout::Save() const
{
    QSettings settings;
    const bool maximized = m_pWindow->isMaximized();
    settings.setValue(ClientSettingsKeys::WINDOW_MAXIMIZED, maximized);
    // The size to come back to from a maximized window.
    settings.setValue(ClientSettingsKeys::WINDOW_GEOMETRY, maximized ? m_pWindow->normalGeometry() : m_pWindow->geometry());
    settings.setValue(ClientSettingsKeys::WINDOW_SPLITTER, m_ui.m_pRightSplitter->saveState());
    QTreeWidget* list = m_ui.m_pLogListTree;
    for (int column = 0; column < list->columnCount(); ++column)
        settings.setValue(QString::fromLatin1(ClientSettingsKeys::LOG_COLUMN).arg(column), list->columnWidth(column));
    settings.setValue(ClientSettingsKeys::LOG_TAB_INDEX, m_ui.m_pTabWidget->currentIndex());
}

void CWindowLayout::SetPaneSizes(int logSize, int realtimeSize)
{
    m_ui.m_pRightSplitter->setSizes({ logSize, realtimeSize });
}

void CWindowLayout::ToggleLogMaximized()
{
    const int h = m_pWindow->height();
    const bool maximize = m_ui.m_pRightSplitter->sizes().value(1) != 0;
    if (maximize)
        SetPaneSizes(h, 0);
    else
        SetPaneSizes(h / 2, h / 2);
    m_ui.m_pLogMaxAction->setChecked(maximize);
    m_ui.m_pMaxLogButton->setChecked(maximize);
    m_ui.m_pMaxRealtimeAction->setChecked(false);
    m_ui.m_pMaxRealtimeButton->setChecked(false);
}

void CWindowLayout::ToggleRealtimeMaximized()
{
    const int h = m_pWindow->height();
    const bool maximize = m_ui.m_pRightSplitter->sizes().value(0) != 0;
    if (maximize)
        SetPaneSizes(0, h);
    else
        SetPaneSizes(h / 2, h / 2);
    m_ui.m_pMaxRealtimeAction->setChecked(maximize);
    m_ui.m_pMaxRealtimeButton->setChecked(maximize);
    m_ui.m_pLogMaxAction->setChecked(false);
    m_ui.m_pMaxLogButton->setChecked(false);
}

void CWindowLayout::ShowLogPage(int index)
{
    m_ui.m_pTabWidget->setCurrentIndex(index);
    FollowLogPage(index);
}

void CWindowLayout::FollowLogPage(int index)
{
    m_ui.m_pLogDiagramAction->setChecked(index == 0);
    m_ui.m_pLogListAction->setChecked(index != 0);
}
