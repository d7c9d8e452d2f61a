#include "CDownloadLogCommand.h"

#include "CCtlSession.h"
#include "CtlExit.h"
#include "RZ450Layout.h"
#include "files/CLogSaver.h"
#include "proxy/CMetaDevice.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

const char* const RETRIES_OPTION = "retries";

// The outermost folder of path that is missing, the first that mkpath
// makes; empty when the whole path is there.
QString OutermostMissing(const QString& path)
{
    QString missing;
    for (QFileInfo info(QDir(path).absolutePath()); !info.exists() && !info.isRoot(); info.setFile(info.path()))
        missing = info.absoluteFilePath();
    return missing;
}

// The folders made for the log go again, from folder out to outermost;
// rmdir leaves one that is no longer empty, and those around it.
void RemoveMade(const QString& folder, const QString& outermost)
{
    for (QString path = QDir(folder).absolutePath(); QDir().rmdir(path) && path != outermost;)
        path = QFileInfo(path).path();
}

} // namespace

QString CDownloadLogCommand::Summary() const
{
    return tr("Download the event log into DIR, one .ldf file per bank.");
}

QString CDownloadLogCommand::Description() const
{
    return tr("Reads the event log out of the detector's flash memory and writes one log data file (.ldf) per "
              "log bank into DIR, which is made when missing; the names of the files written are printed. A "
              "failed download is tried again up to N times. Nothing is written before the whole log has "
              "arrived: a failure or Ctrl-C on the way leaves DIR as it was.");
}

void CDownloadLogCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ QLatin1String(RETRIES_OPTION),
        tr("Try a failed download again up to N times (default %1).").arg(DEFAULT_RETRIES), QStringLiteral("N"),
        QString::number(DEFAULT_RETRIES) });
    parser.addPositionalArgument(QStringLiteral("DIR"), tr("The folder the log files go to."));
}

bool CDownloadLogCommand::Take(const QCommandLineParser& parser, QString& error)
{
    bool ok = false;
    m_nRetries = parser.value(QLatin1String(RETRIES_OPTION)).toInt(&ok);
    if (!ok || m_nRetries < 0) {
        error = tr("--retries takes a whole number, 0 or more");
        return false;
    }
    return TakeOne(parser, QStringLiteral("DIR"), m_strFolder, error);
}

int CDownloadLogCommand::Run(CCtlSession& session)
{
    // Found out before the download, which takes seconds.
    const QString made = OutermostMissing(m_strFolder);
    if (!QDir().mkpath(m_strFolder)) {
        return session.Fail(CtlExit::CannotWrite,
            tr("%1 is not a folder and cannot be made one").arg(QDir::toNativeSeparators(m_strFolder)));
    }
    // Without a log, the folders made for it go again (empty, they are
    // ours), and only those; also when the proxy throws, the connection
    // broken.
    auto removeMade = qScopeGuard([this, &made] {
        if (!made.isEmpty())
            RemoveMade(m_strFolder, made);
    });
    int code = session.CheckWritable(QDir(m_strFolder).filePath(QStringLiteral(".ondrixctl-probe")));
    if (code == CtlExit::Ok)
        code = session.OpenDevice();
    if (code == CtlExit::Ok)
        code = Download(session);
    if (code != CtlExit::Ok)
        return code;
    code = Save(session);
    removeMade.dismiss();
    return code;
}

int CDownloadLogCommand::Download(CCtlSession& session)
{
    for (int attempt = 0;; ++attempt) {
        switch (ReadOnce(session)) {
        case Arrived: return CtlExit::Ok;
        case Stopped: return session.Interrupted(tr("downloading the log; nothing was written"));
        case NotStarted: return session.Fail(CtlExit::Failed, tr("the detector did not start sending its log"));
        case Refused: return session.Refused();
        case Failed:
            if (attempt >= m_nRetries)
                return session.Fail(CtlExit::Failed, tr("the log download failed"));
            session.Console().Note(tr("The log download failed; trying again."));
            break;
        }
    }
}

CDownloadLogCommand::Outcome CDownloadLogCommand::ReadOnce(CCtlSession& session)
{
    using namespace RZ450Layout::Log;
    CMetaDevice* device = session.Device();
    session.Console().Note(tr("Downloading the event log..."));
    // Refused, the server's progress would be of someone else's download.
    if (!device->Request(IDevice::ReadLog))
        return Refused;
    // Once the detector sends blocks, the driver ends the download itself
    // when one does not come; only a download that never starts needs a
    // limit here.
    QElapsedTimer waiting;
    waiting.start();
    for (;;) {
        if (!session.Sleep(CCtlSession::POLL_MS))
            return Stopped;
        const int progress = device->GetLogLoadProgress();
        if (progress == PROGRESS_DONE)
            return Arrived;
        if (progress == PROGRESS_FAILED)
            return Failed;
        if (progress == 0 && waiting.hasExpired(session.Options().timeoutMs))
            return NotStarted;
        session.Console().Progress(tr("Downloading the event log: %1%").arg(progress));
    }
}

int CDownloadLogCommand::Save(CCtlSession& session)
{
    CMetaDevice* device = session.Device();
    const QList<CLogRecord> banks = device->GetLogRecords();
    CLogSaver saver(device);
    const CLogSaver::Result result = saver.Save(m_strFolder, banks, device->GetDevID());
    const QDir folder(m_strFolder);
    for (const QString& name : saver.SavedNames())
        session.Console().Out(QDir::toNativeSeparators(folder.filePath(name)));
    if (result == CLogSaver::Failed) {
        return session.Fail(CtlExit::CannotWrite,
            tr("could not write the log into %1 (%2 of its banks written)")
                .arg(QDir::toNativeSeparators(m_strFolder))
                .arg(saver.SavedNames().size()));
    }
    if (result == CLogSaver::NoEvents)
        session.Console().Note(tr("The log holds no events; no file was written."));
    else
        session.Console().Note(tr("%n log file(s) written.", nullptr, int(saver.SavedNames().size())));
    return CtlExit::Ok;
}
