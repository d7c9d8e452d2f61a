#pragma once

#include "app/SERVER_SETTINGS.h"

#include <QString>

// One option of the server, on the command line as --name and in the
// config file as the key name.
struct SERVER_OPTION
{
    using Apply = bool (*)(const QString& value, SERVER_SETTINGS& settings, QString& error);

    QString name;
    QString valueName;
    QString description;
    bool list; // repeated, its values add up; otherwise the last one counts
    Apply apply;
    // Given without a value on the command line, where apply gets "1"; the
    // config file gives it a value like any key.
    bool flag = false;

    // A switch's word, the same for every option: yes, true, on or 1 (or
    // nothing, as a flag on the command line gives), and no, false, off or 0.
    static bool ParseSwitch(const QString& value, bool& on, QString& error);
};
