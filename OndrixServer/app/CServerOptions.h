#pragma once

#include "app/SERVER_SETTINGS.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The server's command line and its optional INI file, read into the
// settings. The file gives the same keys as the options without their
// dashes; an option given on the command line wins over the file.
class CServerOptions
{
    Q_DECLARE_TR_FUNCTIONS(CServerOptions)

public:
    static constexpr char PROGRAM_NAME[] = "OndrixServer";
    static constexpr int EXIT_USAGE = 2;

    // `arguments` as QCoreApplication::arguments() gives them, the program
    // first. False when the program must end now with `exitCode`: 0 after
    // --help or --version, whose text is in `message`; EXIT_USAGE for a bad
    // option, value or file, which `message` names.
    static bool Parse(const QStringList& arguments, SERVER_SETTINGS& settings, QString& message, int& exitCode);
};
