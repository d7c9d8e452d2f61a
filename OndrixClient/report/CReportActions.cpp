#include "report/CReportActions.h"

#include "app/CClientSession.h"
#include "diagram/CQDiagramWidget.h"
#include "notes/CNoteActions.h"
#include "proxy/CMetaDevice.h"
#include "report/CReportAlerts.h"
#include "report/CReportBaseline.h"
#include "report/CReportBuilder.h"
#include "report/CReportDialog.h"
#include "report/CReportWriter.h"
#include "spectrum/CSpectrumWindow.h"
#include "storage/CStoragePanel.h"
#include "waterfall/CWaterfallWidget.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QUrl>

namespace {

// The wait cursor while something long runs.
struct WAIT_CURSOR
{
    WAIT_CURSOR() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WAIT_CURSOR() { QApplication::restoreOverrideCursor(); }
    WAIT_CURSOR(const WAIT_CURSOR&) = delete;
    WAIT_CURSOR& operator=(const WAIT_CURSOR&) = delete;
};

} // namespace

CReportActions::CReportActions(QMainWindow* window, const WIDGETS& widgets, CStoragePanel* storage)
    : QObject(window)
    , m_pWindow(window)
    , m_widgets(widgets)
    , m_pStorage(storage)
{
    connect(widgets.reportAction, &QAction::triggered, this, &CReportActions::Run);
}

void CReportActions::Warn(const QString& text) const
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text, QMessageBox::Ok, m_pWindow);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void CReportActions::AddLiveDiagrams(REPORT_INPUT& input) const
{
    input.diagrams.append(CReportBuilder::Picture(m_widgets.realtimeDiagram, tr("Realtime diagram"),
        QSize(CReportBuilder::DIAGRAM_WIDTH, CReportBuilder::DIAGRAM_HEIGHT)));
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        auto* spectrum = qobject_cast<CSpectrumWindow*>(window);
        const CWaterfallWidget* waterfall = spectrum ? spectrum->findChild<CWaterfallWidget*>() : nullptr;
        if (spectrum && (spectrum->isVisible() || (waterfall && waterfall->History().Count() > 0)))
            input.diagrams.append(CReportBuilder::Picture(spectrum, tr("Spectrum and waterfall")));
    }
}

bool CReportActions::Build(REPORT_INPUT& input)
{
    const QStringList files = m_pStorage->SelectedFiles();
    m_files = files;
    CMetaDevice* device = CClientSession::Device();
    QString error;
    const WAIT_CURSOR wait;
    if (!files.isEmpty()) {
        const QString type = device ? device->GetDevID() : QString();
        if (!CReportBuilder::FromFiles(files, type, CClientSession::DeviceGui(), input, error)) {
            Warn(error);
            return false;
        }
        return true;
    }
    if (!CReportBuilder::FromLive(device, input, error, m_pNotes ? m_pNotes->Notes() : QList<NOTE>())) {
        Warn(error);
        return false;
    }
    if (input.data.IsEmpty()) {
        Warn(tr("There is nothing to report: choose data files in the storage, or collect live data first."));
        return false;
    }
    AddLiveDiagrams(input);
    return true;
}

bool CReportActions::AddBaseline(REPORT_INPUT& input) const
{
    if (input.baselineSite.isEmpty())
        return true;
    const QString storage = m_pStorage->StoragePath();
    CMetaDevice* device = CClientSession::Device();
    QString error;
    bool compared = false;
    {
        const WAIT_CURSOR wait;
        compared = m_files.isEmpty()
            ? CReportBaseline::FromDevice(storage, input.baselineSite, device, input.baselineMarginDb, input.baseline,
                error)
            : CReportBaseline::FromFiles(storage, input.baselineSite, m_files, device ? device->GetDevID() : QString(),
                input.baselineMarginDb, input.baseline, error);
    }
    if (!compared)
        Warn(error);
    return compared;
}

QString CReportActions::Run()
{
    REPORT_INPUT input;
    input.paper = CReportDialog::DefaultPaper();
    if (!Build(input))
        return QString();
    const QString name = tr("report") + QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_hhmm"))
        + QStringLiteral(".pdf");
    CReportDialog dialog(input, QDir(CReportDialog::DefaultFolder(m_pStorage->StoragePath())).filePath(name),
        m_pWindow);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    dialog.Apply(input);
    if (!AddBaseline(input))
        return QString();
    QString path = dialog.Path();
    QString error;
    // A damaged alert log costs the report only the alerts it lost.
    if (!CReportAlerts::Load(m_pStorage->StoragePath(), input.from, input.to, input.alerts, error))
        Warn(error);
    m_widgets.statusBar->showMessage(tr("Writing the report..."));
    bool written = false;
    {
        const WAIT_CURSOR wait;
        written = CReportWriter::Write(input, path, error);
    }
    if (!written) {
        m_widgets.statusBar->clearMessage();
        Warn(error);
        return QString();
    }
    m_widgets.statusBar->showMessage(tr("The report has been written: %1").arg(QDir::toNativeSeparators(path)), 10000);
    if (dialog.OpenWhenDone() && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        m_widgets.statusBar->showMessage(
            tr("The report has been written, but no viewer could open it: %1").arg(QDir::toNativeSeparators(path)));
    return path;
}
