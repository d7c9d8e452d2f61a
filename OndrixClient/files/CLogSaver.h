#pragma once

#include "CLogRecord.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class IDevice;

// Stores a downloaded event log in a storage folder: one log data file per
// bank, named as the device named the bank.
class CLogSaver
{
public:
    enum Result { Failed = -1, NoEvents = 0, Saved = 1 };

    explicit CLogSaver(IDevice* device);

    // Failed also when a file cannot be written; the files written before it
    // stay.
    Result Save(const QString& strFolder);
    // The same for banks already taken from the device: a failure is then
    // the folder's alone.
    Result Save(const QString& strFolder, const QList<CLogRecord>& banks, const QString& deviceType);
    // File names the last Save wrote, in the device's bank order.
    QStringList SavedNames() const;

private:
    static QString UniqueName(const QString& name, const QSet<QString>& used);

    IDevice* m_pDevice;
    QStringList m_savedNames;
};
