#include "CBaselineCommand.h"

#include "CCtlSession.h"
#include "CtlExit.h"
#include "RZ450Queries.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CBaselineRecordings.h"
#include "baseline/CBaselineStats.h"
#include "protocol/CBandName.h"
#include "proxy/CMetaDevice.h"
#include "report/CReportWriter.h"
#include "sites/CSiteFolder.h"
#include "storage/CStorageLocation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char* const CAPTURE = "capture";
const char* const COMPARE = "compare";
const char* const MINUTES_OPTION = "minutes";
const char* const SITE_OPTION = "site";
const char* const MARGIN_OPTION = "margin";
const char* const STORAGE_OPTION = "storage";
constexpr int TAKE_INTERVAL_MS = 200;
// A week: the levels are summed up as they come, so memory sets no limit.
constexpr double MAX_MINUTES = 7 * 24 * 60;
constexpr double MAX_MARGIN_DB = 100;

QString DeviceType()
{
    return QLatin1String(RZ450Queries::DEVICE_TYPE);
}

} // namespace

QString CBaselineCommand::Synopsis() const
{
    return QStringLiteral("capture --minutes N --site NAME | compare --site NAME [--margin DB] FILE...");
}

QString CBaselineCommand::Summary() const
{
    return tr("Capture a site's baseline of band levels, or compare data files with it.");
}

QString CBaselineCommand::Description() const
{
    return tr("capture: sums up the band levels the detector sends during the next N minutes (a fraction is "
              "fine, at most %1) into a new baseline of the site NAME: each band's median, 95th percentile, "
              "maximum and number of samples, kept in the site's folder of the storage. Ctrl-C before the end "
              "keeps nothing.\n"
              "compare: compares data files and recordings (.rdf, .ldf, .orzrec) with the site's newest "
              "baseline. A band is flagged while its level is over its baseline's 95th percentile by more than "
              "the margin (default %2 dB). Each flagged band is a line of the output; the exit code is 0 when "
              "none was flagged, 1 when one was, 5 when the baseline or a file cannot be read.")
        .arg(MAX_MINUTES)
        .arg(CBaselineComparator::DEFAULT_MARGIN_DB);
}

void CBaselineCommand::AddSharedOptions(QCommandLineParser& parser)
{
    parser.addOption({ QLatin1String(STORAGE_OPTION),
        tr("The storage folder that holds the sites (default: the client's, now %1).")
            .arg(QDir::toNativeSeparators(CStorageLocation::OfClient(DeviceType()))),
        QStringLiteral("DIR") });
    parser.addOption({ QLatin1String(MARGIN_OPTION),
        tr("How far over its baseline's 95th percentile a band's level must go to be flagged (default %1).")
            .arg(CBaselineComparator::DEFAULT_MARGIN_DB),
        QStringLiteral("DB") });
}

bool CBaselineCommand::TakeShared(const QCommandLineParser& parser, QString& storage, double& margin, QString& error)
{
    storage = parser.isSet(QLatin1String(STORAGE_OPTION)) ? parser.value(QLatin1String(STORAGE_OPTION))
                                                          : CStorageLocation::OfClient(DeviceType());
    margin = CBaselineComparator::DEFAULT_MARGIN_DB;
    if (!parser.isSet(QLatin1String(MARGIN_OPTION)))
        return true;
    bool ok = false;
    margin = parser.value(QLatin1String(MARGIN_OPTION)).toDouble(&ok);
    // Asked the other way round, "nan" would pass.
    if (!ok || !(margin >= 0 && margin <= MAX_MARGIN_DB)) {
        error = tr("--margin takes decibels, 0 to %1").arg(MAX_MARGIN_DB);
        return false;
    }
    return true;
}

void CBaselineCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ QLatin1String(SITE_OPTION), tr("The site the baseline is of."), QStringLiteral("NAME") });
    parser.addOption(
        { QLatin1String(MINUTES_OPTION), tr("capture: how long to capture, in minutes."), QStringLiteral("N") });
    AddSharedOptions(parser);
    parser.addPositionalArgument(QStringLiteral("ACTION"), tr("capture or compare."));
    parser.addPositionalArgument(QStringLiteral("FILE"),
        tr("compare: data files and recordings (.rdf, .ldf, .orzrec)."), QStringLiteral("FILE..."));
}

bool CBaselineCommand::Take(const QCommandLineParser& parser, QString& error)
{
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    m_bCapture = action == QLatin1String(CAPTURE);
    m_files = arguments.mid(1);
    m_strSite = parser.value(QLatin1String(SITE_OPTION));
    QString why;
    if (!m_bCapture && action != QLatin1String(COMPARE))
        error = tr("baseline takes capture or compare");
    else if (!parser.isSet(QLatin1String(SITE_OPTION)))
        error = tr("baseline %1 takes --site NAME").arg(action);
    else if (!CSiteFolder::IsValidName(m_strSite, why))
        error = tr("--site: %1").arg(why);
    else if (TakeShared(parser, m_strStorage, m_dMargin, error)) {
        if (m_bCapture)
            return TakeCapture(parser, error);
        if (!m_files.isEmpty())
            return true;
        error = tr("baseline compare takes one data file or more");
    }
    return false;
}

bool CBaselineCommand::TakeCapture(const QCommandLineParser& parser, QString& error)
{
    bool ok = false;
    m_dMinutes = parser.value(QLatin1String(MINUTES_OPTION)).toDouble(&ok);
    if (!ok || !(m_dMinutes > 0 && m_dMinutes <= MAX_MINUTES))
        error = tr("baseline capture takes --minutes N, more than 0 and at most %1").arg(MAX_MINUTES);
    else if (!m_files.isEmpty())
        error = tr("baseline capture takes no files");
    return error.isEmpty();
}

int CBaselineCommand::Run(CCtlSession& session)
{
    return m_bCapture ? Capture(session) : Compare(session);
}

int CBaselineCommand::Capture(CCtlSession& session)
{
    const int code = session.OpenDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = session.Device();
    CBaselineStats stats;
    stats.SetDevice(device->GetDevID());
    m_live.Start(device);
    const qint64 duration = std::max<qint64>(1, std::llround(m_dMinutes * 60000));
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < duration) {
        if (!session.Sleep(int(std::min<qint64>(TAKE_INTERVAL_MS, duration - elapsed.elapsed()))))
            return session.Interrupted(tr("capturing the baseline; nothing was kept"));
        for (const CRecord& record : m_live.Take(device, session.Console()))
            stats.Add(record);
        session.Console().Progress(tr("Capturing the baseline of %1: %2 of %3 s, %n sample(s)", nullptr,
            int(std::min<qint64>(stats.Samples(), std::numeric_limits<int>::max())))
                                       .arg(m_strSite)
                                       .arg(elapsed.elapsed() / 1000)
                                       .arg(duration / 1000));
    }
    CBaseline baseline;
    QString path, error;
    if (!stats.Result(m_strSite, baseline, error))
        return session.Fail(CtlExit::Failed, error);
    if (!CBaselineFile::Save(m_strStorage, baseline, path, error))
        return session.Fail(CtlExit::CannotWrite, error);
    session.Console().Out(QDir::toNativeSeparators(path));
    session.Console().Note(
        tr("The baseline of %1 holds %n band(s).", nullptr, int(baseline.bands.size())).arg(m_strSite));
    return CtlExit::Ok;
}

int CBaselineCommand::Compare(CCtlSession& session)
{
    CBaseline baseline;
    QString error;
    if (!CBaselineFile::Latest(m_strStorage, m_strSite, baseline, error))
        return session.Fail(CtlExit::BadInput, error);
    CBaselineComparator comparator(baseline, m_dMargin);
    if (!CBaselineRecordings::Compare(m_files, DeviceType(), comparator, error))
        return session.Fail(CtlExit::BadInput, error);
    const QString captured = CReportWriter::FormatTime(quint64(std::max<qint64>(0, baseline.start.toSecsSinceEpoch())));
    const QList<BASELINE_FLAG> bands = comparator.Bands();
    for (const BASELINE_FLAG& band : bands) {
        const QString name = CBandName::Plain(band.name);
        session.Console().Out(tr("%1 (band %2): peak %3, %4 over its 95th percentile, %5 to %6, times over: %7")
                                  .arg(name.isEmpty() ? QStringLiteral("-") : name)
                                  .arg(band.band)
                                  .arg(CReportWriter::FormatLevel(band.dPeak), CReportWriter::FormatDb(band.dExcess),
                                      CReportWriter::FormatTime(band.start), CReportWriter::FormatTime(band.end))
                                  .arg(band.nIntervals));
    }
    if (bands.isEmpty()) {
        session.Console().Note(tr("No band stood over the baseline of %1 of %2 by more than %3.")
                                   .arg(m_strSite, captured, CReportWriter::FormatDb(m_dMargin)));
        return CtlExit::Ok;
    }
    return session.Fail(CtlExit::Failed,
        tr("%n band(s) stood over the baseline of %1 of %2 by more than %3", nullptr, int(bands.size()))
            .arg(m_strSite, captured, CReportWriter::FormatDb(m_dMargin)));
}
