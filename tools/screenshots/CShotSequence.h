#pragma once

#include <QDir>
#include <QString>

class CMainWindow;
class CModalAnswerer;
class CRZ450Simulator;
class CSpectrumScene;
class QPushButton;
class QWidget;

// The README pictures, taken one after the other from the running
// client: the live main window, the spectrum window of the scan band and
// its sweep analysis (CAnalysisShots), a band over its baseline, the
// detector's settings dialog and a downloaded log in the storage tree. The
// simulated detector is steered between them as a user would steer the
// real one.
class CShotSequence
{
public:
    // Live records to draw before the main window is pictured, and the
    // time axis they fill.
    static constexpr int MAIN_WINDOW_MS = 165000;
    static constexpr int MAIN_WINDOW_MINUTES = 3;
    // The log the detector holds: full blocks over banks.
    static constexpr int LOG_BLOCKS = 6;
    static constexpr int LOG_BANKS = 3;
    // About one waterfall row arrives per 100 ms.
    static constexpr int SPECTRUM_MS = 30000;
    static constexpr int SETTINGS_SETTLE_MS = 1500;
    static constexpr int LOG_SETTLE_MS = 1500;
    static constexpr int ONLINE_TIMEOUT_MS = 30000;
    static constexpr int STEP_TIMEOUT_MS = 20000;

    CShotSequence(CRZ450Simulator* simulator, CMainWindow* window, CModalAnswerer* answerer, const QDir& folder);

    // The realtime diagram's time axis as its menu sets it.
    static void ShowMinutes(CMainWindow* window, int minutes);

    // False at the first picture that could not be made, with Error() saying why.
    bool Run();
    QString Error() const { return m_strError; }

private:
    bool WaitOnline();
    bool MainWindowShot();
    bool OverviewShot();
    bool SpectrumShot();
    bool SettingsShot();
    bool StorageLogShot();
    QPushButton* SpectrumButton() const;
    void PointAtTransmitter(QWidget* window, const CSpectrumScene& scene);
    QWidget* SpectrumWindow() const;
    bool Save(QWidget* widget, const QString& name);
    bool Fail(const QString& error);

    CRZ450Simulator* m_pSimulator;
    CMainWindow* m_pWindow;
    CModalAnswerer* m_pAnswerer;
    QDir m_folder;
    QString m_strError;
};
