#include "CReportCommand.h"

#include "CBaselineCommand.h"
#include "CCtlSession.h"
#include "CPlugHub.h"
#include "CtlExit.h"
#include "IDeviceGui.h"
#include "RZ450Queries.h"
#include "report/CReportAlerts.h"
#include "report/CReportBaseline.h"
#include "report/CReportBuilder.h"
#include "report/CReportWriter.h"
#include "sites/CSiteFolder.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

const char* const BASELINE_OPTION = "baseline";

// The device GUIs beside the program, which draw the report's diagrams as
// the client's log area draws them.
class CDeviceGuis
{
public:
    CDeviceGuis()
    {
        CPlugHub().LoadDeviceGuis(m_guis);
        m_guis.removeAll(nullptr);
    }
    ~CDeviceGuis() { qDeleteAll(m_guis); }
    CDeviceGuis(const CDeviceGuis&) = delete;
    CDeviceGuis& operator=(const CDeviceGuis&) = delete;

    IDeviceGui* Find(const QString& type) const
    {
        for (IDeviceGui* gui : m_guis) {
            if (gui->GetDeviceType() == type)
                return gui;
        }
        return nullptr;
    }

private:
    QList<IDeviceGui*> m_guis;
};

} // namespace

CReportCommand::CReportCommand()
    : CDataFilesCommand(QStringLiteral("pdf"), tr("The PDF file to write."))
{
}

QString CReportCommand::Summary() const
{
    return tr("Write a PDF report of data files and recordings (.rdf, .ldf, .orzrec).");
}

QString CReportCommand::Description() const
{
    return tr("Writes the sweep report of the data files to OUT as a PDF, as the client's report does: the "
              "title block, the summary of each band, the table of alarms, a diagram of each file and the notes "
              "taken during the sweep, with the readings of their moments. With "
              "--baseline NAME it adds each time a band stood over the site's newest baseline (see the baseline "
              "command). Needs no detector and no display. A file or a baseline that cannot be read ends it "
              "with exit code 5, before OUT is touched; OUT is written whole or left as it was.");
}

void CReportCommand::AddOptions(QCommandLineParser& parser) const
{
    CDataFilesCommand::AddOptions(parser);
    parser.addOption({ QLatin1String(BASELINE_OPTION),
        tr("Compare the data with the newest baseline of the site NAME."), QStringLiteral("NAME") });
    CBaselineCommand::AddSharedOptions(parser);
}

bool CReportCommand::Take(const QCommandLineParser& parser, QString& error)
{
    if (!CDataFilesCommand::Take(parser, error)
        || !CBaselineCommand::TakeShared(parser, m_strStorage, m_dMargin, error))
        return false;
    m_strBaselineSite = parser.value(QLatin1String(BASELINE_OPTION));
    QString why;
    if (parser.isSet(QLatin1String(BASELINE_OPTION)) && !CSiteFolder::IsValidName(m_strBaselineSite, why)) {
        error = tr("--baseline: %1").arg(why);
        return false;
    }
    return true;
}

int CReportCommand::Run(CCtlSession& session)
{
    // As for the export: a target that cannot be written is told apart
    // from inputs that are no good.
    const int code = session.CheckWritable(m_strOut);
    if (code != CtlExit::Ok)
        return code;
    const QString type = QLatin1String(RZ450Queries::DEVICE_TYPE);
    const CDeviceGuis guis;
    REPORT_INPUT input;
    QString error;
    if (!CReportBuilder::FromFiles(m_files, type, guis.Find(type), input, error)
        || (!m_strBaselineSite.isEmpty()
            && !CReportBaseline::FromFiles(m_strStorage, m_strBaselineSite, m_files, type, m_dMargin, input.baseline,
                error)))
        return session.Fail(CtlExit::BadInput, error);
    // A damaged alert log costs the report only the alerts it lost.
    if (!CReportAlerts::Load(m_strStorage, input.from, input.to, input.alerts, error))
        session.Console().Warning(error);
    if (!CReportWriter::Write(input, m_strOut, error))
        return session.Fail(CtlExit::CannotWrite, error);
    session.Console().Note(tr("The report is in %1.").arg(QDir::toNativeSeparators(m_strOut)));
    return CtlExit::Ok;
}
