#include "CRecordCommand.h"

#include "CCtlConsole.h"
#include "CCtlSession.h"
#include "CtlExit.h"
#include "files/CDataFile.h"
#include "proxy/CMetaDevice.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>

namespace {

const char* const SECONDS_OPTION = "seconds";
constexpr int TAKE_INTERVAL_MS = 200;
// An hour: the records are held in memory until the end, about a million
// of them at the line rate.
constexpr int MAX_SECONDS = 3600;

} // namespace

QString CRecordCommand::Summary() const
{
    return tr("Record N seconds of live data into FILE.rdf.");
}

QString CRecordCommand::Description() const
{
    return tr("Collects the live records the detector sends during the next N seconds (at most %1) and writes "
              "them as one realtime data file (.rdf), as the client saves its live data. The file is written "
              "when the time is up; Ctrl-C before that leaves FILE as it was.")
        .arg(MAX_SECONDS);
}

void CRecordCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ QLatin1String(SECONDS_OPTION), tr("How long to record, in seconds."), QStringLiteral("N") });
    parser.addPositionalArgument(QStringLiteral("FILE.rdf"), tr("The realtime data file to write."));
}

bool CRecordCommand::Take(const QCommandLineParser& parser, QString& error)
{
    bool ok = false;
    m_nSeconds = parser.value(QLatin1String(SECONDS_OPTION)).toInt(&ok);
    if (!parser.isSet(QLatin1String(SECONDS_OPTION)) || !ok || m_nSeconds < 1 || m_nSeconds > MAX_SECONDS) {
        error = tr("--seconds takes a whole number of seconds, 1 to %1").arg(MAX_SECONDS);
        return false;
    }
    return TakeOne(parser, QStringLiteral("FILE.rdf"), m_strFile, error);
}

int CRecordCommand::Run(CCtlSession& session)
{
    int code = session.CheckWritable(m_strFile);
    if (code == CtlExit::Ok)
        code = session.OpenDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = session.Device();
    m_live.Start(device);
    const qint64 duration = qint64(m_nSeconds) * 1000;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < duration) {
        if (!session.Sleep(int(std::min<qint64>(TAKE_INTERVAL_MS, duration - elapsed.elapsed()))))
            return session.Interrupted(tr("recording; nothing was written"));
        m_records.append(m_live.Take(device, session.Console()));
        session.Console().Progress(tr("Recording: %1 of %2 s, %n record(s)", nullptr, int(m_records.size()))
                                       .arg(elapsed.elapsed() / 1000)
                                       .arg(m_nSeconds));
    }
    if (m_records.isEmpty())
        return session.Fail(CtlExit::Failed, tr("the detector sent no live records in %1 s").arg(m_nSeconds));
    const int kind = device->GetCurrentMode() == IDevice::MODE_AUTO ? 1 : 0;
    if (!CDataFile::Save(m_strFile, device->GetDevID(), kind, m_records))
        return session.Fail(CtlExit::CannotWrite, tr("cannot write %1").arg(QDir::toNativeSeparators(m_strFile)));
    session.Console().Note(
        tr("%n record(s) written to %1.", nullptr, int(m_records.size())).arg(QDir::toNativeSeparators(m_strFile)));
    return CtlExit::Ok;
}
