#pragma once

#include <QString>

class CMetaDevice;

// Stores what the device collected live as one realtime data file, named
// after the band group watched and the time of the first record.
class CRealtimeSaver
{
public:
    enum Result { Saved, NothingToSave, Failed };

    explicit CRealtimeSaver(CMetaDevice* device);

    // The whole live buffer in the folder, named by the device's current
    // mode and band; the name used (without extension) is in Name().
    Result Save(const QString& folder);
    // As Save, with the automatic flag and the name prefix given.
    bool Save(const QString& folder, bool automatic, const QString& prefix);
    QString Name() const;

private:
    CMetaDevice* m_pDevice;
    QString m_strName;
};
