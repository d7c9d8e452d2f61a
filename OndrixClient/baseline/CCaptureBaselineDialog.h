#pragma once

#include "CRecord.h"
#include "baseline/CBaselineStats.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

namespace Ui {
class CCaptureBaselineDialog;
}

// Captures a site's baseline from the live records: the site (one of the
// storage's or a new name) and the minutes are asked for, then every live
// record given to Add goes into the levels until the time is up, and the
// baseline is saved into the site's folder (CBaselineFile). The dialog
// stays open meanwhile, with the samples counted and the time left, so that
// the window can be watched; Cancel (or closing it) ends the capture and
// saves nothing. Time is counted on the PC's clock: it is the operator's
// wait that the minutes set.
class CCaptureBaselineDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int TICK_MS = 250;

    explicit CCaptureBaselineDialog(const QString& storage, QWidget* parent = nullptr);
    ~CCaptureBaselineDialog() override;

    // The detector the records come from; empty when none is connected.
    void SetDevice(const QString& device) { m_strDevice = device; }
    void SetSite(const QString& site);
    void SetMinutes(double minutes);
    // What Start does; false, with the reason shown, when it cannot start.
    bool Start();
    bool IsRunning() const { return m_bRunning; }
    void Add(const CRecord& record);
    // elapsedMs more of the capture's time; the timer calls it, and a test
    // may as well.
    void Advance(qint64 elapsedMs);
    qint64 Samples() const { return m_stats.Samples(); }
    QString Status() const;
    QString SiteError() const;
    QString SavedPath() const { return m_strSavedPath; }

    void reject() override;

Q_SIGNALS:
    void saved(const QString& path, const QString& site);

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnStartButton();
    void OnTimer();
    void OnSiteEdited(const QString& text);
    void Finish();
    void ShowProgress();
    void SetRunning(bool running);

    std::unique_ptr<Ui::CCaptureBaselineDialog> m_pUi;
    QString m_strStorage;
    QString m_strDevice;
    QString m_strSite;
    QString m_strSavedPath;
    CBaselineStats m_stats;
    bool m_bRunning = false;
    qint64 m_nTotalMs = 0;
    qint64 m_nElapsedMs = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
