#include "CWatchCommand.h"

#include "CBandTable.h"
#include "CBaselineCommand.h"
#include "CCtlConsole.h"
#include "CCtlDevice.h"
#include "CCtlSession.h"
#include "CtlExit.h"
#include "alerts/CAlertJson.h"
#include "alerts/CAlertRules.h"
#include "alerts/CLookJudge.h"
#include "baseline/CBaselineFile.h"
#include "protocol/CServerAddress.h"
#include "proxy/CLookWorker.h"
#include "watch/CRZ450Looker.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {

const char* const RULES_OPTION = "rules";
const char* const SITE_OPTION = "site";
const int SLEEP_MS = 200;

// The device opened as the other commands open it, owned with what it
// needs (the driver plug-ins of a local one).
CLookWorker::Opener Opener(const CTL_OPTIONS& options)
{
    return [options](QString& error) -> std::shared_ptr<CMetaDevice> {
        auto device = std::make_shared<CCtlDevice>();
        if (!device->Open(options, error))
            return nullptr;
        return std::shared_ptr<CMetaDevice>(device, device->Get());
    };
}

bool UsesBaseline(const QList<ALERT_RULE>& rules)
{
    return std::any_of(rules.cbegin(), rules.cend(),
        [](const ALERT_RULE& rule) { return rule.condition == ALERT_RULE::OverBaseline; });
}

} // namespace

CWatchCommand::CWatchCommand() = default;

CWatchCommand::~CWatchCommand()
{
    StopDetectors();
}

QString CWatchCommand::Synopsis() const
{
    return QStringLiteral("[--device URL]... [--rules FILE] [--site NAME [--margin DB]]");
}

QString CWatchCommand::Summary() const
{
    return tr("Print a JSON line as each alert starts and ends, until stopped.");
}

QString CWatchCommand::Description() const
{
    return tr("Watches one detector or several (--device given once for each; without it, the one attached to "
              "this computer) and prints one JSON line on standard output as each alert starts and as it ends: "
              "{\"event\": \"start\" or \"end\", \"detector\", \"band\", \"band_name\", \"condition\", "
              "\"started\", \"level_dbm\", \"peak_dbm\", and at the end \"ended\" and \"duration_s\"}. An alert is "
              "an alarm that lasted as long as the rules ask: any alarm of 3 s without --rules, which names a JSON "
              "file of rules as the client's Preferences keep them. A rule of the condition \"baseline\" compares "
              "with the newest baseline of the site --site. Encrypted servers take a --fingerprint each, in the "
              "order of their --device (one serves them all), and the same access key. A detector that cannot "
              "be reached is said on standard error and tried again; the others go on. SIGINT or SIGTERM ends "
              "it with exit code 0; a rules file or a baseline that cannot be read, with 5.");
}

void CWatchCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addOption({ QLatin1String(RULES_OPTION), tr("The alert rules, a JSON file."), QStringLiteral("FILE") });
    parser.addOption(
        { QLatin1String(SITE_OPTION), tr("The site whose baseline the rules compare with."), QStringLiteral("NAME") });
    CBaselineCommand::AddSharedOptions(parser);
}

bool CWatchCommand::Take(const QCommandLineParser& parser, QString& error)
{
    if (!parser.positionalArguments().isEmpty()) {
        error = tr("watch takes no arguments");
        return false;
    }
    m_strRulesFile = parser.value(QLatin1String(RULES_OPTION));
    m_strSite = parser.value(QLatin1String(SITE_OPTION));
    return CBaselineCommand::TakeShared(parser, m_strStorage, m_dMargin, error);
}

bool CWatchCommand::LoadRules(QString& error)
{
    m_rules = CAlertRules::Default();
    if (!m_strRulesFile.isEmpty()) {
        QFile file(m_strRulesFile);
        if (!file.open(QIODevice::ReadOnly)) {
            error = tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(m_strRulesFile), file.errorString());
            return false;
        }
        QString why;
        if (!CAlertRules::FromJson(file.read(CAlertRules::MAX_BYTES + 1), m_rules, why)) {
            error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_strRulesFile), why);
            return false;
        }
    }
    if (m_strSite.isEmpty()) {
        if (UsesBaseline(m_rules)) {
            error = tr("a rule compares with a baseline: name its site with --site");
            return false;
        }
        return true;
    }
    return CBaselineFile::Latest(m_strStorage, m_strSite, m_baseline, error);
}

int CWatchCommand::Run(CCtlSession& session)
{
    QString error;
    if (!LoadRules(error))
        return session.Fail(CtlExit::BadInput, error);
    m_pConsole = &session.Console();
    for (int band = 0; band < RZ450Layout::BAND_COUNT; ++band)
        m_bandNames.append(CBandTable::EnglishName(band));
    StartDetectors(session);
    while (session.Sleep(SLEEP_MS)) { }
    StopDetectors();
    return CtlExit::Ok;
}

void CWatchCommand::StartDetectors(CCtlSession& session)
{
    const CTL_OPTIONS& options = session.Options();
    const QStringList devices = options.devices.isEmpty() ? QStringList { QString() } : options.devices;
    int encrypted = 0;
    m_detectors.resize(size_t(devices.size()));
    for (int i = 0; i < devices.size(); ++i) {
        CTL_OPTIONS own = options;
        own.device = devices[i];
        if (CServerAddress(own.device).IsEncrypted() && !options.fingerprints.isEmpty())
            own.fingerprint = options.fingerprints.value(encrypted++, options.fingerprints.constLast());
        DETECTOR& detector = m_detectors[size_t(i)];
        detector.name = own.device.isEmpty() ? QStringLiteral("local") : own.device;
        detector.tracker = std::make_unique<CAlertTracker>(detector.name, m_rules);
        if (!m_strSite.isEmpty())
            detector.comparator = std::make_unique<CBaselineComparator>(m_baseline, m_dMargin);
        detector.thread = new QThread;
        detector.worker = new CLookWorker(i, Opener(own), &CRZ450Looker::Look);
        detector.worker->moveToThread(detector.thread);
        QObject::connect(detector.thread, &QThread::started, detector.worker, &CLookWorker::Start);
        QObject::connect(detector.worker, &CLookWorker::looked, &m_receiver,
            [this](int index, const RZ450_LOOK& look) { OnLook(index, look); });
        detector.thread->start();
    }
}

void CWatchCommand::StopDetectors()
{
    for (DETECTOR& detector : m_detectors) {
        if (!detector.thread)
            continue;
        // The proxy goes in the thread that made it.
        QMetaObject::invokeMethod(detector.worker, &CLookWorker::Stop, Qt::BlockingQueuedConnection);
        detector.thread->quit();
        detector.thread->wait();
        delete detector.worker;
        delete detector.thread;
        detector.worker = nullptr;
        detector.thread = nullptr;
    }
}

void CWatchCommand::OnLook(int index, const RZ450_LOOK& look)
{
    if (index < 0 || size_t(index) >= m_detectors.size())
        return;
    DETECTOR& detector = m_detectors[size_t(index)];
    SayState(detector, look);
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    const QList<ALERT> events
        = CLookJudge::Judge(look, m_bandNames, *detector.tracker, detector.comparator.get(), nowMs);
    for (const ALERT& alert : events)
        m_pConsole->Out(QString::fromUtf8(CAlertJson::Line(alert)).trimmed());
}

void CWatchCommand::SayState(DETECTOR& detector, const RZ450_LOOK& look)
{
    const QString state = look.online
        ? tr("%1: online").arg(detector.name)
        : tr("%1: offline%2")
              .arg(detector.name, look.error.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(look.error));
    if (state == detector.state)
        return;
    detector.state = state;
    m_pConsole->Note(state);
}
