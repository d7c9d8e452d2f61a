#pragma once

#include "IPlugHub.h"

#include <QString>

// Loads every plug-in whose file name matches "Module*" or "GuiModule*" with
// the platform's suffix from one folder, by absolute path, and keeps the
// libraries loaded for the rest of the process: the objects they hand out
// run their code.
class PLUGHUB_EXPORT CPlugHub : public IPlugHub
{
public:
    // An empty folder means the program's own folder, looked up at load time.
    explicit CPlugHub(const QString& folder = QString());

    void Init() override;
    bool LoadDevices(QList<IDevice*>& devices) override;
    bool LoadDeviceGuis(QList<IDeviceGui*>& guis) override;

    QString GetFolder() const;

private:
    QString m_strFolder;
};
