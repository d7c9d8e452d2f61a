#include "replay/CReplayController.h"
#include "mainwindow/StatusBar.h"

#include "IRZ450DeviceGui.h"
#include "app/CClientSession.h"
#include "app/CGuardedCall.h"
#include "live/CLiveFeed.h"
#include "live/CLiveRecorder.h"
#include "mainwindow/CConnectionStatus.h"
#include "proxy/CMetaDevice.h"
#include "replay/CReplayBar.h"
#include "replay/CReplayPlayer.h"
#include "replay/CReplaySource.h"
#include "replay/CReplayView.h"
#include "storage/CStoragePanel.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

CReplayController::CReplayController(QMainWindow* window, const WIDGETS& widgets, CLiveFeed* feed,
    CConnectionStatus* title, CStoragePanel* storage)
    : QObject(window)
    , m_pWindow(window)
    , m_widgets(widgets)
    , m_pFeed(feed)
    , m_pTitle(title)
    , m_pStorage(storage)
{
    connect(widgets.fileReplayAction, &QAction::triggered, this, &CReplayController::OnFileReplayAction);
    connect(widgets.storageReplayAction, &QAction::triggered, this, &CReplayController::OnStorageReplayAction);
    connect(widgets.storageMenu, &QMenu::aboutToShow, this, &CReplayController::OnStorageMenuAboutToShow);
}

CReplayController::~CReplayController()
{
    // The window's widgets may be gone already; the bar among them.
    delete m_pBar.data();
}

bool CReplayController::Start(const QString& path)
{
    auto source = std::make_unique<CReplaySource>();
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = source->Load(path, DeviceType(), error);
    QApplication::restoreOverrideCursor();
    if (!loaded) {
        // The texts name what the file says of itself: never taken as markup.
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), error, QMessageBox::Ok, m_pWindow);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return false;
    }
    End();
    m_pSource = std::move(source);
    if (m_pFeed)
        m_pFeed->SetViewsHeld(true);
    m_pView = std::make_unique<CReplayView>(m_widgets.realtimeDiagram, m_pSource->Mode());
    m_pPlayer = std::make_unique<CReplayPlayer>(*m_pSource, *m_pView);
    if (m_pSource->HasSweeps())
        m_pView->OpenSpectrumWindow();
    connect(m_pPlayer.get(), &CReplayPlayer::finished, this, &CReplayController::OnPlayerFinished);
    connect(m_pPlayer.get(), &CReplayPlayer::recordShown, this, &CReplayController::recordShown);
    connect(m_pPlayer.get(), &CReplayPlayer::viewReset, this, &CReplayController::viewReset);
    ShowBar();
    if (!m_pSource->Note().isEmpty())
        m_widgets.statusBar->showMessage(
            tr("Replaying the readable part of %1: %2").arg(m_pSource->Name(), m_pSource->Note()));
    Q_EMIT notesChanged(m_pSource->Notes());
    m_pPlayer->Play();
    return true;
}

void CReplayController::ShowBar()
{
    m_pBar = new CReplayBar(m_pPlayer.get(), m_pSource->Name());
    m_pBar->setObjectName(QStringLiteral("m_pReplayBar"));
    m_widgets.barLayout->addWidget(m_pBar);
    connect(m_pBar, &CReplayBar::closeRequested, this, &CReplayController::End);
    connect(m_pBar, &CReplayBar::languageChanged, this, &CReplayController::ShowLabel);
    m_pLabel = new QLabel(m_widgets.statusBar);
    m_pLabel->setObjectName(QStringLiteral("m_pReplayLabel"));
    m_pLabel->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; color: darkRed }"));
    m_widgets.statusBar->addPermanentWidget(m_pLabel, 0);
    ShowLabel();
    if (m_pTitle)
        m_pTitle->ShowReplay(m_pSource->Name());
}

void CReplayController::ShowLabel()
{
    if (m_pLabel)
        m_pLabel->setText(tr("Replay"));
}

void CReplayController::End()
{
    if (!IsReplaying())
        return;
    // The close button that asked for this is still at work inside the bar.
    m_pBar->hide();
    m_pBar->deleteLater();
    m_pBar = nullptr;
    delete m_pLabel.data();
    m_pPlayer.reset();
    m_pView.reset();
    m_pSource.reset();
    if (m_pTitle)
        m_pTitle->ShowReplay(QString());
    if (auto* gui = dynamic_cast<IRZ450DeviceGui*>(CClientSession::DeviceGui()))
        gui->ClearSweeps();
    if (m_pFeed)
        m_pFeed->SetViewsHeld(false);
    Q_EMIT notesChanged({});
}

bool CReplayController::IsReplaying() const
{
    return m_pPlayer != nullptr;
}

void CReplayController::OnPlayerFinished()
{
    m_widgets.statusBar->showMessage(tr("The replay reached the end of %1").arg(m_pSource->Name()),
        StatusBar::MESSAGE_MS);
}

void CReplayController::OnFileReplayAction()
{
    const QString recordings = QStringLiteral("*.") + QLatin1String(RecordingSettings::EXTENSION);
    const QString filter = tr("Recordings and realtime data files (%1 *.rdf)").arg(recordings) + QStringLiteral(";;")
        + tr("All files (*)");
    const QString folder = m_pStorage ? m_pStorage->StoragePath() : QString();
    const QString path = QFileDialog::getOpenFileName(m_pWindow, tr("Replay a file"), folder, filter);
    if (!path.isEmpty())
        Start(path);
}

bool CReplayController::Replayable(const QTreeWidgetItem* item)
{
    const int kind = CStorageTree::KindOf(item);
    return kind == CStorageTree::KindRealtime || kind == CStorageTree::KindRecording;
}

void CReplayController::OnStorageReplayAction()
{
    QTreeWidgetItem* item = m_widgets.storageTree->currentItem();
    if (m_pStorage && Replayable(item))
        Start(m_pStorage->PathOf(item));
}

void CReplayController::OnStorageMenuAboutToShow()
{
    const QTreeWidgetItem* item = m_widgets.storageTree->currentItem();
    m_widgets.storageReplayAction->setEnabled(Replayable(item));
}

QString CReplayController::DeviceType() const
{
    CMetaDevice* device = CClientSession::Device();
    return device ? CGuardedCall::Value([device] { return device->GetDevID(); }, QString()) : QString();
}
