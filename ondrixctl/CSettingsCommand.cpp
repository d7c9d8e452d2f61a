#include "CSettingsCommand.h"

#include "CCtlSession.h"
#include "CRZ450MenuFile.h"
#include "CtlExit.h"
#include "RZ450Layout.h"
#include "proxy/CMetaDevice.h"

#include <QCommandLineParser>
#include <QDir>

QString CSettingsCommand::Summary() const
{
    return tr("Save the detector's settings to a menu file, or send one to it.");
}

QString CSettingsCommand::Description() const
{
    return tr("get: writes the detector's settings block (%1 bytes) to FILE.mnu, the menu file the client's "
              "settings dialog saves and loads.\n"
              "put: sends FILE.mnu to the detector and waits until the detector reports the settings it was "
              "sent (bytes 0 to %2; the others stay on the PC). It fails when the detector, or a read-only "
              "connection to a server, does not take them.")
        .arg(RZ450Layout::MENU_SIZE)
        .arg(RZ450Layout::SETTINGS_SENT - 1);
}

void CSettingsCommand::AddOptions(QCommandLineParser& parser) const
{
    parser.addPositionalArgument(QStringLiteral("get|put"), tr("Save the settings, or send them."));
    parser.addPositionalArgument(QStringLiteral("FILE.mnu"), tr("The menu file."));
}

bool CSettingsCommand::Take(const QCommandLineParser& parser, QString& error)
{
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    if (action != QLatin1String("get") && action != QLatin1String("put")) {
        error = tr("settings takes get or put");
        return false;
    }
    if (arguments.size() != 2 || arguments.at(1).isEmpty()) {
        error = tr("settings %1 takes one FILE.mnu").arg(action);
        return false;
    }
    m_bPut = action == QLatin1String("put");
    m_strFile = arguments.at(1);
    return true;
}

int CSettingsCommand::Run(CCtlSession& session)
{
    return m_bPut ? Put(session) : Get(session);
}

int CSettingsCommand::Get(CCtlSession& session)
{
    const int code = session.OpenDevice();
    if (code != CtlExit::Ok)
        return code;
    const QByteArray block = session.Device()->GetMenuData();
    if (block.size() != RZ450Layout::MENU_SIZE) {
        return session.Fail(CtlExit::Failed,
            tr("the detector sent %1 bytes of settings instead of %2").arg(block.size()).arg(RZ450Layout::MENU_SIZE));
    }
    if (!CRZ450MenuFile::Write(m_strFile, block))
        return session.Fail(CtlExit::CannotWrite, tr("cannot write %1").arg(QDir::toNativeSeparators(m_strFile)));
    session.Console().Note(tr("The detector's settings are in %1.").arg(QDir::toNativeSeparators(m_strFile)));
    return CtlExit::Ok;
}

int CSettingsCommand::Put(CCtlSession& session)
{
    const QString shown = QDir::toNativeSeparators(m_strFile);
    QByteArray block;
    switch (CRZ450MenuFile::Read(m_strFile, block)) {
    case CRZ450MenuFile::OpenFailed: return session.Fail(CtlExit::BadInput, tr("cannot read %1").arg(shown));
    case CRZ450MenuFile::WrongSize:
        return session.Fail(CtlExit::BadInput,
            tr("%1 is not a menu file: a menu file holds exactly %2 bytes").arg(shown).arg(RZ450Layout::MENU_SIZE));
    case CRZ450MenuFile::Ok: break;
    }
    const int code = session.OpenDevice();
    if (code != CtlExit::Ok)
        return code;
    CMetaDevice* device = session.Device();
    if (!device->SetMenuData(block))
        return session.Fail(CtlExit::Failed, tr("the detector refused the settings (a read-only connection?)"));
    if (!device->Request(IDevice::WriteSettings))
        return session.Refused();
    const QByteArray sent = block.left(RZ450Layout::SETTINGS_SENT);
    const int taken = session.AwaitWrite([&] { return Reported(session) == sent; },
        tr("waiting for the detector to take the settings"),
        tr("the detector did not take the settings of %1").arg(shown));
    if (taken == CtlExit::Ok)
        session.Console().Note(tr("The detector took the settings of %1.").arg(shown));
    return taken;
}

QByteArray CSettingsCommand::Reported(CCtlSession& session)
{
    return session.Device()->GetMenuData().left(RZ450Layout::SETTINGS_SENT);
}
