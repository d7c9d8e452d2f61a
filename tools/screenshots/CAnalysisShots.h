#pragma once

#include <QDir>
#include <QString>

class CMainWindow;
class CRZ450Simulator;
class CSpectrumScene;
class QWidget;

// The sweep analysis pictures, after the spectrum window's own: the traces
// with markers over a site's reference, the difference from it with the
// new signals the hidden transmitter makes, and a band over its baseline
// marked on the realtime diagram.
class CAnalysisShots
{
public:
    static constexpr int TRACES_MS = 8000;
    static constexpr int BASELINE_MS = 40000;
    static constexpr int SETTLE_MS = 1500;
    static constexpr int MODE_SETTLE_MS = 10000;
    static constexpr int STEP_TIMEOUT_MS = 30000;

    CAnalysisShots(CRZ450Simulator* simulator, CMainWindow* window, const QDir& folder);

    // With the spectrum window open on the scene.
    bool Spectrum(QWidget* spectrum, const CSpectrumScene& scene);
    bool Baseline();
    QString Error() const { return m_strError; }

private:
    bool SaveReference(QWidget* spectrum, const CSpectrumScene& scene);
    void PlaceMarkers(QWidget* spectrum, int transmitterPoint);
    bool Save(QWidget* widget, const QString& name);
    bool Fail(const QString& error);

    CRZ450Simulator* m_pSimulator;
    CMainWindow* m_pWindow;
    QDir m_folder;
    QString m_strError;
};
