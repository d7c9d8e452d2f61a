#include "CPlugHub.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <new>

namespace {

const char* const ENTRY_NAME = "QueryInterface";

// The pattern is anchored at the start of the name, so "Module*" never picks
// up a "GuiModule*" file and the two lists stay apart.
QStringList MatchingFiles(const QDir& dir, const QString& prefix)
{
    const QString pattern = prefix + QStringLiteral("*") + QStringLiteral(ONDRIX_PLUGIN_SUFFIX);
    return dir.entryList({ pattern }, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

template <typename Object>
void LoadOne(const QString& path, QList<Object*>& objects)
{
    using Entry = bool (*)(Object**);
    QLibrary library(path);
    // Unloading would pull the code from under the objects already handed out.
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load())
        return;
    const auto entry = reinterpret_cast<Entry>(library.resolve(ENTRY_NAME));
    Object* object = nullptr;
    if (entry && entry(&object))
        objects.append(object);
}

template <typename Object>
bool LoadAll(const QString& folder, const QString& prefix, QList<Object*>& objects)
{
    const QDir dir(folder);
    const QStringList files = MatchingFiles(dir, prefix);
    if (files.isEmpty())
        return false;
    for (const QString& file : files)
        LoadOne(dir.absoluteFilePath(file), objects);
    return true;
}

} // namespace

CPlugHub::CPlugHub(const QString& folder)
    : m_strFolder(folder)
{
}

void CPlugHub::Init()
{
}

bool CPlugHub::LoadDevices(QList<IDevice*>& devices)
{
    return LoadAll(GetFolder(), QStringLiteral("Module"), devices);
}

bool CPlugHub::LoadDeviceGuis(QList<IDeviceGui*>& guis)
{
    return LoadAll(GetFolder(), QStringLiteral("GuiModule"), guis);
}

QString CPlugHub::GetFolder() const
{
    return m_strFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_strFolder;
}

extern "C" PLUGHUB_EXPORT bool QueryPlugHubInterface(IPlugHub** out)
{
    if (!out)
        return false;
    *out = new (std::nothrow) CPlugHub;
    return true;
}
