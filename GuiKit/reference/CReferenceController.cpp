#include "reference/CReferenceController.h"

#include "GuiKitSettingsKeys.h"
#include "reference/CNewSignals.h"
#include "reference/CNewSignalsWindow.h"
#include "reference/CReferenceDialog.h"
#include "reference/CReferenceOverlay.h"
#include "reference/CReferenceResampler.h"
#include "sites/CSiteFolder.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/SpectrumLevels.h"

#include "SPECTRUM_SWEEP.h"

#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

#include <algorithm>

CReferenceController::CReferenceController(const CSpectrumTraces& traces, QWidget* graph)
    : QObject(graph)
    , m_traces(traces)
    , m_pGraph(graph)
    , m_pOverlay(new CReferenceOverlay(graph))
    , m_dMarginDb(std::clamp(QSettings()
                                 .value(QLatin1String(GuiKitSettingsKeys::SPECTRUM_NEW_SIGNAL_MARGIN),
                                     CNewSignals::DEFAULT_MARGIN_DB)
                                 .toDouble(),
          0.0, CNewSignals::MAX_MARGIN_DB))
{
    setObjectName(QStringLiteral("ReferenceController"));
    m_ask = [this](const QString& question) {
        return QMessageBox::question(m_pGraph->window(), tr("Spectrum Reference"), question) == QMessageBox::Yes;
    };
    m_tell = [this](const QString& message) {
        QMessageBox::warning(m_pGraph->window(), tr("Spectrum Reference"), message);
    };
}

void CReferenceController::SetSweep(const SPECTRUM_SWEEP& sweep)
{
    if (sweep.points.isEmpty() || sweep.levelMinDbm == SpectrumLevels::SEARCH_MODE_MARKER)
        return;
    const bool sameRange = sweep.rangeStartMhz == m_nRangeStartMhz && sweep.rangeEndMhz == m_nRangeEndMhz
        && size_t(sweep.points.size()) == m_live.size();
    m_live.resize(size_t(sweep.points.size()));
    for (size_t i = 0; i < m_live.size(); ++i)
        m_live[i] = sweep.levelMinDbm + int(quint8(sweep.points.at(qsizetype(i))));
    m_nRangeStartMhz = sweep.rangeStartMhz;
    m_nRangeEndMhz = sweep.rangeEndMhz;
    m_nLevelMinDbm = sweep.levelMinDbm;
    if (!sameRange)
        Apply();
    Refresh();
}

void CReferenceController::AddActions(QMenu* menu)
{
    const bool loaded = HasReference();
    menu->addSeparator();
    menu->addAction(tr("Save Trace as Reference..."), this, &CReferenceController::OnSaveAction)
        ->setObjectName(QStringLiteral("ReferenceSave"));
    menu->actions().constLast()->setEnabled(!TracesWithData().isEmpty());
    menu->addAction(tr("Load Reference..."), this, &CReferenceController::OnLoadAction)
        ->setObjectName(QStringLiteral("ReferenceLoad"));
    menu->addAction(tr("Hide Reference"), this, &CReferenceController::Hide)
        ->setObjectName(QStringLiteral("ReferenceHide"));
    menu->actions().constLast()->setEnabled(loaded);
    QAction* difference = menu->addAction(tr("Difference View"));
    difference->setObjectName(QStringLiteral("ReferenceDifference"));
    difference->setCheckable(true);
    difference->setChecked(m_pOverlay->IsDifferenceView());
    difference->setEnabled(loaded);
    connect(difference, &QAction::toggled, this, &CReferenceController::SetDifferenceView);
    menu->addAction(tr("New Signals..."), this, &CReferenceController::OnNewSignalsAction)
        ->setObjectName(QStringLiteral("ReferenceNewSignals"));
    menu->actions().constLast()->setEnabled(loaded);
}

QString CReferenceController::TraceName(CSpectrumReference::Trace trace) const
{
    switch (trace) {
    case CSpectrumReference::Live: return tr("Live");
    case CSpectrumReference::MaxHold: return tr("Max hold");
    case CSpectrumReference::MinHold: return tr("Min hold");
    case CSpectrumReference::Average: return tr("Average");
    }
    return QString();
}

std::vector<double> CReferenceController::TraceLevels(CSpectrumReference::Trace trace) const
{
    if (trace == CSpectrumReference::Live)
        return m_live;
    if (m_traces.Sweeps() == 0)
        return {};
    static const CSpectrumTraces::Trace held[]
        = { CSpectrumTraces::MaxHold, CSpectrumTraces::MaxHold, CSpectrumTraces::MinHold, CSpectrumTraces::Average };
    return m_traces.Values(held[trace]);
}

QList<CSpectrumReference::Trace> CReferenceController::TracesWithData() const
{
    QList<CSpectrumReference::Trace> traces;
    for (int i = 0; i < CSpectrumReference::TRACE_COUNT; ++i) {
        if (!TraceLevels(CSpectrumReference::Trace(i)).empty())
            traces.append(CSpectrumReference::Trace(i));
    }
    return traces;
}

bool CReferenceController::Save(CSpectrumReference::Trace trace, const QString& site, const QString& name,
    QString& error)
{
    CSpectrumReference reference;
    reference.name = name;
    reference.site = site;
    reference.trace = trace;
    reference.levels = TraceLevels(trace);
    reference.saved = QDateTime::currentDateTimeUtc();
    const bool live = trace == CSpectrumReference::Live;
    reference.rangeStartMhz = live ? m_nRangeStartMhz : m_traces.RangeStartMhz();
    reference.rangeEndMhz = live ? m_nRangeEndMhz : m_traces.RangeEndMhz();
    if (reference.levels.empty()) {
        error = tr("The trace \"%1\" has no sweep yet; nothing was saved.").arg(TraceName(trace));
        return false;
    }
    CReferenceFile::SaveResult result = CReferenceFile::Save(Storage(), reference, false, error);
    if (result == CReferenceFile::Exists) {
        if (!m_ask(error + QLatin1Char(' ') + tr("Replace it?"))) {
            error.clear();
            return false;
        }
        result = CReferenceFile::Save(Storage(), reference, true, error);
    }
    return result == CReferenceFile::Saved;
}

bool CReferenceController::Load(const QString& site, const QString& name, QString& error)
{
    CSpectrumReference reference;
    return CReferenceFile::Load(Storage(), site, name, reference, error) && Use(reference, error);
}

bool CReferenceController::Use(const CSpectrumReference& reference, QString& error)
{
    if (m_live.empty()) {
        error = tr("No sweep has come yet. A reference is compared with the detector's present points: load it once "
                   "the spectrum shows a sweep.");
        return false;
    }
    const int points = int(m_live.size());
    const QString mismatch = CReferenceResampler::Mismatch(reference, m_nRangeStartMhz, m_nRangeEndMhz, points);
    const auto fit = CReferenceResampler::FitOf(reference, m_nRangeStartMhz, m_nRangeEndMhz, points);
    switch (fit) {
    case CReferenceResampler::NoOverlap:
        error = mismatch + QLatin1Char(' ') + tr("They share no frequency, so the reference cannot be compared.");
        return false;
    case CReferenceResampler::Resamplable:
        if (!m_ask(mismatch + QStringLiteral("\n\n")
                + tr("Resample the reference onto the present points? Points outside its range are not compared."))) {
            error.clear();
            return false;
        }
        break;
    case CReferenceResampler::Same: break;
    }
    m_reference = reference;
    m_bResampleAgreed = fit == CReferenceResampler::Resamplable;
    Apply();
    Refresh();
    return true;
}

void CReferenceController::Hide()
{
    m_reference.reset();
    m_applied.clear();
    m_bFinding = false;
    if (m_pSignalsWindow)
        m_pSignalsWindow->hide();
    Refresh();
}

void CReferenceController::SetDifferenceView(bool on)
{
    m_pOverlay->SetDifferenceView(on && HasReference());
}

void CReferenceController::SetMarginDb(double marginDb)
{
    m_dMarginDb = std::clamp(marginDb, 0.0, CNewSignals::MAX_MARGIN_DB);
    QSettings().setValue(QLatin1String(GuiKitSettingsKeys::SPECTRUM_NEW_SIGNAL_MARGIN), m_dMarginDb);
    Refresh();
}

void CReferenceController::ShowNewSignals()
{
    if (!HasReference())
        return;
    if (!m_pSignalsWindow) {
        m_pSignalsWindow = new CNewSignalsWindow(m_pGraph->window());
        connect(m_pSignalsWindow, &CNewSignalsWindow::closed, this, &CReferenceController::OnSignalsWindowClosed);
    }
    m_bFinding = true;
    Refresh();
    m_pSignalsWindow->show();
    m_pSignalsWindow->raise();
}

void CReferenceController::OnSaveAction()
{
    CReferenceDialog dialog(CReferenceDialog::SaveMode, Storage(), m_pGraph->window());
    QList<QPair<CSpectrumReference::Trace, QString>> traces;
    for (const CSpectrumReference::Trace trace : TracesWithData())
        traces.append({ trace, TraceName(trace) });
    dialog.SetTraces(traces);
    if (HasReference())
        dialog.SetSite(m_reference->site);
    QString error;
    if (dialog.exec() == QDialog::Accepted && !Save(dialog.Trace(), dialog.Site(), dialog.Name(), error)
        && !error.isEmpty())
        m_tell(error);
}

void CReferenceController::OnLoadAction()
{
    CReferenceDialog dialog(CReferenceDialog::LoadMode, Storage(), m_pGraph->window());
    if (HasReference())
        dialog.SetSite(m_reference->site);
    QString error;
    if (dialog.exec() == QDialog::Accepted && !Load(dialog.Site(), dialog.Name(), error) && !error.isEmpty())
        m_tell(error);
}

void CReferenceController::OnNewSignalsAction()
{
    bool ok = false;
    const double margin = QInputDialog::getDouble(m_pGraph->window(), tr("New Signals"),
        tr("A signal is new when it passes the reference by more than (dB):"), m_dMarginDb, 0.0,
        CNewSignals::MAX_MARGIN_DB, 1, &ok);
    if (!ok)
        return;
    SetMarginDb(margin);
    ShowNewSignals();
}

void CReferenceController::OnSignalsWindowClosed()
{
    m_bFinding = false;
    Refresh();
}

QString CReferenceController::Storage() const
{
    return CSiteFolder::Storage();
}

// A reference used after a question stays in use, resampled, when the
// detector moves to yet another range; one that fitted as it stood is not
// resampled unasked.
void CReferenceController::Apply()
{
    m_applied.clear();
    if (!m_reference || m_live.empty())
        return;
    const int points = int(m_live.size());
    const auto fit = CReferenceResampler::FitOf(*m_reference, m_nRangeStartMhz, m_nRangeEndMhz, points);
    if (fit == CReferenceResampler::Same || (fit == CReferenceResampler::Resamplable && m_bResampleAgreed))
        m_applied = CReferenceResampler::Resample(*m_reference, m_nRangeStartMhz, m_nRangeEndMhz, points);
}

void CReferenceController::Refresh()
{
    const bool comparable = HasReference() && !m_applied.empty();
    const QString note = HasReference() && !comparable ? tr("not comparable with the present range") : QString();
    m_pOverlay->SetLive(m_live, m_nLevelMinDbm);
    m_pOverlay->SetReference(Legend(), m_applied, note);
    const QString legend = note.isEmpty() ? Legend() : Legend() + QStringLiteral(" - ") + note;
    if (legend != m_strLegend) {
        m_strLegend = legend;
        Q_EMIT legendChanged(legend);
    }
    m_signals.clear();
    std::vector<bool> marked;
    if (m_bFinding && comparable) {
        const std::vector<double>& maxHold = m_traces.Values(CSpectrumTraces::MaxHold);
        m_signals = CNewSignals::Find(m_live, maxHold, m_applied, m_dMarginDb, m_nRangeStartMhz, m_nRangeEndMhz);
        marked = CNewSignals::Over(m_live, maxHold, m_applied, m_dMarginDb);
    }
    m_pOverlay->SetMarked(marked);
    if (m_pSignalsWindow)
        m_pSignalsWindow->SetSignals(m_signals, m_dMarginDb);
}

QString CReferenceController::Name() const
{
    return tr("Reference");
}

QColor CReferenceController::Colour() const
{
    return CReferenceOverlay::Colour();
}

QString CReferenceController::Legend() const
{
    return HasReference() ? tr("Reference: %1 (%2)").arg(m_reference->name, m_reference->site) : QString();
}

CNewSignalsWindow* CReferenceController::NewSignalsWindow() const
{
    return m_pSignalsWindow;
}
