#pragma once

#include <QString>

// Where the client keeps its storage folder, named in one place for the
// client and for the programs beside it that work in the same folder
// (ondrixctl's baselines).
class CStorageLocation
{
public:
    // The folder used when the user never chose one: the program's data
    // folder of the settings scope in force, one subfolder per device.
    static QString Default(const QString& deviceId);
    // The storage folder the client's own settings name, or the client's
    // default, asked from another program (whose scope is put back after).
    static QString OfClient(const QString& deviceId);
};
