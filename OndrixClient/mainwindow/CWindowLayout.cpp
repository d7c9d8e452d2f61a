#include "mainwindow/CWindowLayout.h"
#include "app/ClientSettingsKeys.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

const QRect DEFAULT_GEOMETRY(0, 30, 600, 400);
const int DEFAULT_COLUMN_WIDTH = 75;

} // namespace

CWindowLayout::CWindowLayout(QMainWindow* window, const WIDGETS& widgets)
    : m_pWindow(window)
    , m_widgets(widgets)
{
}

void CWindowLayout::Restore()
{
    QSettings settings;
    m_pWindow->setGeometry(settings.value(ClientSettingsKeys::WINDOW_GEOMETRY, DEFAULT_GEOMETRY).toRect());
    m_pWindow->setWindowState(
        settings.value(ClientSettingsKeys::WINDOW_MAXIMIZED, false).toBool() ? Qt::WindowMaximized : Qt::WindowNoState);
    if (!m_widgets.panes->restoreState(settings.value(ClientSettingsKeys::WINDOW_SPLITTER).toByteArray()))
        SetPaneSizes(m_pWindow->height() / 2, m_pWindow->height() / 2);
    QTreeWidget* list = m_widgets.logList;
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(column,
            settings.value(QString::fromLatin1(ClientSettingsKeys::LOG_COLUMN).arg(column), DEFAULT_COLUMN_WIDTH)
                .toInt());
    m_widgets.logPages->setCurrentIndex(settings.value(ClientSettingsKeys::LOG_TAB_INDEX, 0).toInt());
}

void CWindowLayout::Save() const
{
    QSettings settings;
    const bool maximized = m_pWindow->isMaximized();
    settings.setValue(ClientSettingsKeys::WINDOW_MAXIMIZED, maximized);
    // The size to come back to from a maximized window.
    settings.setValue(ClientSettingsKeys::WINDOW_GEOMETRY,
        maximized ? m_pWindow->normalGeometry() : m_pWindow->geometry());
    settings.setValue(ClientSettingsKeys::WINDOW_SPLITTER, m_widgets.panes->saveState());
    QTreeWidget* list = m_widgets.logList;
    for (int column = 0; column < list->columnCount(); ++column)
        settings.setValue(QString::fromLatin1(ClientSettingsKeys::LOG_COLUMN).arg(column), list->columnWidth(column));
    settings.setValue(ClientSettingsKeys::LOG_TAB_INDEX, m_widgets.logPages->currentIndex());
}

void CWindowLayout::SetPaneSizes(int logSize, int realtimeSize)
{
    m_widgets.panes->setSizes({ logSize, realtimeSize });
}

void CWindowLayout::ToggleLogMaximized()
{
    const int h = m_pWindow->height();
    const bool maximize = m_widgets.panes->sizes().value(1) != 0;
    if (maximize)
        SetPaneSizes(h, 0);
    else
        SetPaneSizes(h / 2, h / 2);
    m_widgets.logMaxAction->setChecked(maximize);
    m_widgets.logMaxButton->setChecked(maximize);
    m_widgets.realtimeMaxAction->setChecked(false);
    m_widgets.realtimeMaxButton->setChecked(false);
}

void CWindowLayout::ToggleRealtimeMaximized()
{
    const int h = m_pWindow->height();
    const bool maximize = m_widgets.panes->sizes().value(0) != 0;
    if (maximize)
        SetPaneSizes(0, h);
    else
        SetPaneSizes(h / 2, h / 2);
    m_widgets.realtimeMaxAction->setChecked(maximize);
    m_widgets.realtimeMaxButton->setChecked(maximize);
    m_widgets.logMaxAction->setChecked(false);
    m_widgets.logMaxButton->setChecked(false);
}

void CWindowLayout::ShowLogPage(int index)
{
    m_widgets.logPages->setCurrentIndex(index);
    FollowLogPage(index);
}

void CWindowLayout::FollowLogPage(int index)
{
    m_widgets.logDiagramAction->setChecked(index == 0);
    m_widgets.logListAction->setChecked(index != 0);
}
