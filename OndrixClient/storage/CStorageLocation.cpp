#include "storage/CStorageLocation.h"

#include "app/ClientSettingsKeys.h"
#include "storage/CStorageTree.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

QString CStorageLocation::Default(const QString& deviceId)
{
    QString storage = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A server names its device as it likes; a name that would lead out of
    // the program's folder is not used as a folder name.
    if (CStorageTree::IsPlainName(deviceId))
        storage += QLatin1Char('/') + deviceId;
    return storage;
}

QString CStorageLocation::OfClient(const QString& deviceId)
{
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QLatin1String(ClientSettingsKeys::SCOPE_ORGANIZATION));
    QCoreApplication::setApplicationName(QLatin1String(ClientSettingsKeys::SCOPE_APPLICATION));
    QString storage = QSettings().value(QLatin1String(ClientSettingsKeys::STORAGE_PATH)).toString();
    if (storage.isEmpty())
        storage = Default(deviceId);
    QCoreApplication::setOrganizationName(organization);
    QCoreApplication::setApplicationName(application);
    return storage;
}
