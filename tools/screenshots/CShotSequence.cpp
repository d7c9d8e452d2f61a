#include "CShotSequence.h"
#include "widgets/BarGraph.h"

#include "CAnalysisShots.h"
#include "CModalAnswerer.h"
#include "COverviewShots.h"
#include "CRZ450Simulator.h"
#include "CSpectrumScene.h"
#include "IDeviceGui.h"
#include "IVirtualDevice.h"
#include "RZ450Layout.h"
#include "app/CClientSession.h"
#include "diagram/CQDiagramWidget.h"
#include "mainwindow/CMainWindow.h"
#include "widgets/CLabel.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using namespace RZ450Layout;

namespace {

// The front panel's menu key opens the settings dialog.
const int MENU_KEY = 5;
const char* const SETTINGS_DIALOG_CLASS = "CRZ450MenuDialog";
const char* const SPECTRUM_BUTTON_TEXT = "Spectrum";
const char* const SPECTRUM_WINDOW_NAME = "CSpectrumWindow";
const char* const WATERFALL_NAME = "WaterfallWidget";
// Off the window, which takes the screen's top left corner.
const QPoint POINTER_AWAY(1900, 1190);
// Pixels from the waterfall's top: a recent sweep.
const int POINTER_ROW = 4;
const int POINTER_SETTLE_MS = 300;
// Sweeps of the transmitter before its picture: a bar of its own rows.
const int TRANSMITTER_SWEEPS = 20;
const char* const LOG_READ_MESSAGE = "The log has been successfully read!";

template <class T>
T* Child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace

CShotSequence::CShotSequence(CRZ450Simulator* simulator, CMainWindow* window, CModalAnswerer* answerer,
    const QDir& folder)
    : m_pSimulator(simulator)
    , m_pWindow(window)
    , m_pAnswerer(answerer)
    , m_folder(folder)
{
}

bool CShotSequence::Run()
{
    // A pointer over a diagram would draw its cursor line into the picture.
    QCursor::setPos(POINTER_AWAY);
    // The live pane keeps the automatic mode's records for the storage
    // picture; the scan band goes last.
    return WaitOnline() && MainWindowShot() && OverviewShot() && StorageLogShot() && SettingsShot() && SpectrumShot();
}

bool CShotSequence::WaitOnline()
{
    const bool live = QTest::qWaitFor(
        [this] { return m_pWindow->GetState() == CMainWindow::StateOnline && m_pWindow->GetFedRecordCount() > 0; },
        ONLINE_TIMEOUT_MS);
    return live || Fail(QStringLiteral("the client did not go online with the simulated detector"));
}

bool CShotSequence::MainWindowShot()
{
    // The detector was started in automatic mode: every band's alarms,
    // over a time axis they fill, on the whole height of the window.
    ShowMinutes(m_pWindow, MAIN_WINDOW_MINUTES);
    auto* maximize = Child<QPushButton>(m_pWindow, "m_pMaxRealtimeButton");
    maximize->click();
    QTest::qWait(MAIN_WINDOW_MS);
    const bool saved = Save(m_pWindow, QStringLiteral("main-window.png"));
    maximize->click();
    return saved;
}

void CShotSequence::ShowMinutes(CMainWindow* window, int minutes)
{
    // As the time axis' menu does it.
    auto* diagram = Child<CQDiagramWidget>(window, "m_pRealtimeGraphFrame");
    QAction action;
    action.setObjectName(QString::number(minutes));
    QObject::connect(&action, &QAction::triggered, diagram, &CQDiagramWidget::OnXMenuDateAction);
    action.trigger();
}

bool CShotSequence::OverviewShot()
{
    COverviewShots shots(m_pSimulator, m_pWindow, m_folder);
    return shots.Run() || Fail(shots.Error());
}

bool CShotSequence::SpectrumShot()
{
    CSpectrumScene scene(m_pSimulator);
    scene.Start();
    m_pSimulator->SetMode(CRZ450Simulator::MODE_MAN);
    m_pSimulator->SetBand(BAND_SCAN);
    // The device GUI shows its button once the detector is on the scan band.
    if (!QTest::qWaitFor([this] { return SpectrumButton() != nullptr; }, STEP_TIMEOUT_MS))
        return Fail(QStringLiteral("no Spectrum button on the scan band"));
    SpectrumButton()->click();
    QWidget* window = SpectrumWindow();
    if (!window || !window->isVisible())
        return Fail(QStringLiteral("the Spectrum button opened no spectrum window"));
    QTest::qWait(SPECTRUM_MS);
    // The hidden transmitter on the air for a while, with the waterfall's
    // readout on it.
    if (!QTest::qWaitFor([&] { return scene.TransmitterSweeps() >= TRANSMITTER_SWEEPS; }, SPECTRUM_MS))
        return Fail(QStringLiteral("the spectrum scene's transmitter never came on"));
    PointAtTransmitter(window, scene);
    const bool saved = Save(window, QStringLiteral("spectrum-window.png"));
    CAnalysisShots analysis(m_pSimulator, m_pWindow, m_folder);
    const bool analysed = saved && analysis.Spectrum(window, scene);
    window->close();
    if (saved && !analysed)
        return Fail(analysis.Error());
    return saved && (analysis.Baseline() || Fail(analysis.Error()));
}

QPushButton* CShotSequence::SpectrumButton() const
{
    for (QPushButton* button : m_pWindow->findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String(SPECTRUM_BUTTON_TEXT) && button->isVisible())
            return button;
    }
    return nullptr;
}

void CShotSequence::PointAtTransmitter(QWidget* window, const CSpectrumScene& scene)
{
    auto* waterfall = window->findChild<QWidget*>(QLatin1String(WATERFALL_NAME));
    // The columns lie under the bars, whose points the graph spreads over its width.
    const int x = int(BarGraph::PointX(scene.TransmitterPoint(), SPECTRUM_POINTS));
    QTest::mouseMove(waterfall, QPoint(x, POINTER_ROW));
    QTest::qWait(POINTER_SETTLE_MS);
}

QWidget* CShotSequence::SpectrumWindow() const
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(SPECTRUM_WINDOW_NAME))
            return widget;
    }
    return nullptr;
}

bool CShotSequence::SettingsShot()
{
    IDeviceGui* gui = CClientSession::DeviceGui();
    if (!gui || !gui->GetVirtualDevice())
        return Fail(QStringLiteral("the device GUI has no front panel"));
    const QString file = m_folder.filePath(QStringLiteral("settings-dialog.png"));
    m_pAnswerer->GrabNext(QLatin1String(SETTINGS_DIALOG_CLASS), file, SETTINGS_SETTLE_MS);
    // Returns once the answerer has pictured and cancelled the dialog.
    gui->GetVirtualDevice()->PressKey(MENU_KEY);
    return m_pAnswerer->Grabbed() || Fail(QStringLiteral("the settings dialog was not saved to %1").arg(file));
}

bool CShotSequence::StorageLogShot()
{
    auto* tree = Child<QTreeWidget>(m_pWindow, "m_pStorageTree");
    tree->setCurrentItem(tree->topLevelItem(0)); // into the storage root
    // Only the prepared log: no live alarm the detector has logged since.
    m_pSimulator->FillLog(LOG_BLOCKS, LOG_BANKS);
    const int before = int(m_pAnswerer->Messages().size());
    // Returns once the answerer has dismissed the download's last message.
    Child<QPushButton>(m_pWindow, "m_pDownloadButton")->click();
    const QStringList messages = m_pAnswerer->Messages().mid(before);
    if (!messages.contains(QLatin1String(LOG_READ_MESSAGE)))
        return Fail(QStringLiteral("the log download said: %1").arg(messages.join(QStringLiteral(" / "))));
    tree->expandAll();
    QTest::qWait(LOG_SETTLE_MS);
    return Save(m_pWindow, QStringLiteral("storage-log.png"));
}

bool CShotSequence::Save(QWidget* widget, const QString& name)
{
    const QString file = m_folder.filePath(name);
    return widget->grab().save(file, "PNG") || Fail(QStringLiteral("could not write %1").arg(file));
}

bool CShotSequence::Fail(const QString& error)
{
    m_strError = error;
    return false;
}
