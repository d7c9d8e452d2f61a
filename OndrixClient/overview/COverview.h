#pragma once

#include "RZ450_LOOK.h"
#include "overview/OVERVIEW_DETECTOR.h"
#include "proxy/CLookWorker.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>

class CAlertCenter;
class COverviewModel;
class COverviewWatch;

// The detectors watched together, without a window: their list (kept in
// the settings), the rows that show them, the threads that look at them,
// and the alert centre each look goes to. The windows and the main
// window's overview mode are views of its model.
class COverview : public QObject
{
    Q_OBJECT

public:
    // How often silent rows are looked for.
    static constexpr int CHECK_MS = 1000;

    COverview(CLookWorker::Looker looker, CAlertCenter* center, QObject* parent = nullptr);
    ~COverview() override;

    // From the settings, and watching starts.
    void Start();
    // The main window's proxy of this computer's detector (not owned), or
    // none while it works with a server's.
    void SetLocalDevice(CMetaDevice* device);
    const QList<OVERVIEW_DETECTOR>& Detectors() const { return m_detectors; }
    COverviewModel* Model() const { return m_pModel; }
    CAlertCenter* Center() const { return m_pCenter; }

    // Each remembered at once; false when it was there already or the list is full.
    bool Add(const OVERVIEW_DETECTOR& detector);
    void Rename(int row, const QString& name);
    void Remove(const QList<int>& rows);
    // The rules and sites of the alert settings, applied to every detector.
    void ApplyAlertSettings();

    static QString Label(const OVERVIEW_DETECTOR& detector);
    // Each detector's id for its alert settings, with its label.
    QList<QPair<QString, QString>> AlertDetectors() const;

private:
    void Restart();
    void OnLooked(int row, const RZ450_LOOK& look);
    void OnCheckTimer();
    void UpdateLevels();

    CAlertCenter* m_pCenter;
    COverviewModel* m_pModel;
    COverviewWatch* m_pWatch;
    QList<OVERVIEW_DETECTOR> m_detectors;
    QTimer m_checkTimer;
    CMetaDevice* m_pLocalDevice = nullptr;
};
