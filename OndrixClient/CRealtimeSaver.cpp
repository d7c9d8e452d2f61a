#include "CRealtimeSaver.h"

#include "CDataFile.h"
#include "CGuardedCall.h"
#include "CMetaDevice.h"
#include "CRealtimeFileName.h"

#include <QDir>

CRealtimeSaver::CRealtimeSaver(CMetaDevice* device)
    : m_pDevice(device)
{
}

CRealtimeSaver::Result CRealtimeSaver::Save(const QString& folder)
{
    CMetaDevice* device = m_pDevice;
    if (CGuardedCall::Value([device] { return device->GetCurrentRecordIndex() == 0; }, false))
        return NothingToSave;
    const bool saved = CGuardedCall::Value([&] {
        const int mode = device->GetCurrentMode();
        return Save(folder, mode == IDevice::MODE_AUTO, CRealtimeFileName::Prefix(mode, device->GetCurrentBand()));
    }, false);
    return saved ? Saved : Failed;
}

bool CRealtimeSaver::Save(const QString& folder, bool automatic, const QString& prefix)
{
    if (folder.isEmpty() || !m_pDevice)
        return false;
    return CGuardedCall::Value([&] {
        const QList<CRecord> records = m_pDevice->GetRealtimeRecords();
        if (records.isEmpty())
            return false;
        m_strName = CRealtimeFileName::Make(prefix, records.first().time);
        const QString path = QDir(folder).filePath(m_strName + QStringLiteral(".rdf"));
        return CDataFile::Save(path, m_pDevice->GetDevID(), automatic ? 1 : 0, records);
    }, false);
}

QString CRealtimeSaver::Name() const
{
    return m_strName;
}
