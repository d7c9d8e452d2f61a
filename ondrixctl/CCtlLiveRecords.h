#pragma once

#include "CRecord.h"
#include "proxy/CRecordCursor.h"

#include <QCoreApplication>
#include <QList>

class CCtlConsole;
class CMetaDevice;

// The live records a detector adds while a command waits, taken as they
// come, with a warning for every record lost on the way.
class CCtlLiveRecords
{
    Q_DECLARE_TR_FUNCTIONS(CCtlLiveRecords)

public:
    // From the records the device adds from now on.
    void Start(CMetaDevice* device);
    // Those added since the last call.
    QList<CRecord> Take(CMetaDevice* device, CCtlConsole& console);

private:
    CRecordCursor m_cursor;
};
