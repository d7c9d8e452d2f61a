#include "CClockCommand.h"

#include "CCtlSession.h"
#include "CtlExit.h"
#include "proxy/CMetaDevice.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <cstdlib>

namespace {

bool ShowsPcTime(CMetaDevice* device)
{
    const QDateTime clock = device->GetTime();
    return clock.isValid() && std::abs(clock.secsTo(QDateTime::currentDateTime())) <= CClockCommand::TOLERANCE_S;
}

} // namespace

QString CClockCommand::Summary() const
{
    return tr("Set the detector's clock to the PC's.");
}

QString CClockCommand::Description() const
{
    return tr("Sends the PC's local time to the detector with its settings, unchanged, and waits until the "
              "detector's clock reads the PC's time within %1 s. It fails when the clock does not follow, "
              "for example through a read-only connection to a server.")
        .arg(TOLERANCE_S);
}

void CClockCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addPositionalArgument(QStringLiteral("sync"), tr("Set the clock to the PC's."));
}

bool CClockCommand::Take(const QCommandLineParser& parser, QString& error)
{
    if (parser.positionalArguments() == QStringList { QStringLiteral("sync") })
        return true;
    error = tr("clock takes sync");
    return false;
}

int CClockCommand::Run(CCtlSession& session)
{
    const int code = session.OpenDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = session.Device();
    device->SetTime(QDateTime::currentDateTime());
    if (!device->Request(IDevice::WriteSettings))
        return session.Refused();
    const int taken = session.AwaitWrite([device] { return ShowsPcTime(device); },
        tr("waiting for the detector's clock"), tr("the detector's clock does not follow the PC's"));
    if (taken == CtlExit::Ok)
        session.Console().Note(tr("The detector's clock reads %1.").arg(device->GetTime().toString(Qt::ISODate)));
    return taken;
}
