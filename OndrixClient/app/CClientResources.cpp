#include "app/CClientResources.h"

#include <QFile>

#include <mutex>

// Q_INIT_RESOURCE declares the registration function where it stands, so
// it must stand outside every namespace.
static void RegisterResources()
{
    Q_INIT_RESOURCE(OndrixClient);
}

void CClientResources::Init()
{
    static std::once_flag once;
    std::call_once(once, RegisterResources);
}

QString CClientResources::StyleSheet()
{
    Init();
    QFile file(QStringLiteral(":/CMainWindow/OndrixClient.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
