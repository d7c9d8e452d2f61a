#pragma once

#include "GuiKitExport.h"
#include "reference/CReferenceFile.h"
#include "reference/CSpectrumReference.h"
#include "reference/NEW_SIGNAL.h"
#include "spectrum/IMarkerTrace.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class CNewSignalsWindow;
class CReferenceOverlay;
class CSpectrumTraces;
class QMenu;
class QWidget;
struct SPECTRUM_SWEEP;

// The spectrum window's reference: saving a trace as a site's reference,
// loading one (resampled onto the present points only when the user
// agrees), the difference view and the new signals above it, with their
// entries in the graph's context menu. Its overlay and the New Signals
// window belong to the graph. Every refusal comes back as a message; the
// questions go through Ask and the messages through Tell, which a test
// replaces. Markers may sit on the reference as on any trace.
class GUIKIT_EXPORT CReferenceController : public QObject, public IMarkerTrace
{
    Q_OBJECT

public:
    using AskFunction = std::function<bool(const QString& question)>;
    using TellFunction = std::function<void(const QString& message)>;

    CReferenceController(const CSpectrumTraces& traces, QWidget* graph);

    void SetAsk(AskFunction ask) { m_ask = std::move(ask); }
    void SetTell(TellFunction tell) { m_tell = std::move(tell); }

    // A sweep while searching, or without points, changes nothing.
    void SetSweep(const SPECTRUM_SWEEP& sweep);
    // The menu's entries, for the graph's context menu.
    void AddActions(QMenu* menu);

    QString TraceName(CSpectrumReference::Trace trace) const;
    // dBm per point; empty when the trace has no data yet.
    std::vector<double> TraceLevels(CSpectrumReference::Trace trace) const;
    QList<CSpectrumReference::Trace> TracesWithData() const;

    // Asks before replacing a reference of that name.
    bool Save(CSpectrumReference::Trace trace, const QString& site, const QString& name, QString& error);
    bool Load(const QString& site, const QString& name, QString& error);
    // Another range is asked about; false with no error when the user said no.
    bool Use(const CSpectrumReference& reference, QString& error);
    void Hide();
    bool HasReference() const { return m_reference.has_value(); }
    const CSpectrumReference& Reference() const { return *m_reference; }
    // The reference at the present points (NaN where it has none).
    const std::vector<double>& Applied() const { return m_applied; }

    void SetDifferenceView(bool on);
    // Clamped to 0 .. CNewSignals::MAX_MARGIN_DB; kept in the settings.
    void SetMarginDb(double marginDb);
    double MarginDb() const { return m_dMarginDb; }
    // Finds and lists the new signals from now on, with each sweep.
    void ShowNewSignals();
    const QList<NEW_SIGNAL>& Signals() const { return m_signals; }

    QString Name() const override;
    QColor Colour() const override;
    const std::vector<double>& Values() const override { return m_applied; }
    bool IsShown() const override { return HasReference(); }

    // "Reference: NAME (SITE)", and why it is not drawn when it is not;
    // empty without a reference.
    QString Legend() const;

    CReferenceOverlay* Overlay() const { return m_pOverlay; }
    CNewSignalsWindow* NewSignalsWindow() const;

Q_SIGNALS:
    // The traces' legend shows it.
    void legendChanged(const QString& legend);

private:
    void OnSaveAction();
    void OnLoadAction();
    void OnNewSignalsAction();
    void OnSignalsWindowClosed();
    QString Storage() const;
    void Apply();
    void Refresh();

    const CSpectrumTraces& m_traces;
    QWidget* m_pGraph;
    CReferenceOverlay* m_pOverlay;
    QPointer<CNewSignalsWindow> m_pSignalsWindow;
    AskFunction m_ask;
    TellFunction m_tell;

    std::optional<CSpectrumReference> m_reference;
    bool m_bResampleAgreed = false;
    std::vector<double> m_applied;
    std::vector<double> m_live;
    int m_nRangeStartMhz = 0;
    int m_nRangeEndMhz = 0;
    int m_nLevelMinDbm = 0;
    double m_dMarginDb;
    bool m_bFinding = false;
    QString m_strLegend; // as said last
    // One sweep's signals, bounded by CNewSignals::MAX_SIGNALS.
    QList<NEW_SIGNAL> m_signals;
};
