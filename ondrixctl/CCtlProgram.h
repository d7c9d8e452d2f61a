#pragma once

#include "CCtlConsole.h"
#include "CTL_OPTIONS.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>
#include <vector>

class CCtlCommand;
class QCommandLineParser;

// ondrixctl's command line: the options every command shares, the command's
// name, and the command's own options; help and version; the command run
// with a session. Every failure ends in one line on standard error and the
// exit code of CtlExit.
class CCtlProgram
{
    Q_DECLARE_TR_FUNCTIONS(CCtlProgram)

public:
    CCtlProgram();
    ~CCtlProgram();

    // Asked before the application object exists: whether the command the
    // arguments name draws (and so needs the GUI's application object).
    bool NeedsGui(const QStringList& arguments) const;
    int Run(const QStringList& arguments);

private:
    // Splits off the command: the common options before it are parsed, the
    // rest is the command's.
    bool ParseCommon(QCommandLineParser& parser, const QStringList& arguments) const;
    CCtlCommand* Find(const QString& name) const;
    int RunCommand(CCtlCommand& command, const QCommandLineParser& common, const QStringList& rest);
    bool TakeOptions(const QCommandLineParser& common, const QCommandLineParser& own, CTL_OPTIONS& options,
        QString& error) const;
    static bool TakeCredentials(const QCommandLineParser& common, const QCommandLineParser& own, CTL_OPTIONS& options,
        QString& error);
    static void AddCommonOptions(QCommandLineParser& parser);
    // The value of a common option, from the command's options when given
    // there, else from those before the command.
    static QString Value(const QCommandLineParser& common, const QCommandLineParser& own, const QString& name);
    QString ProgramHelp(const QCommandLineParser& parser) const;
    static QString CommandHelp(const CCtlCommand& command, const QCommandLineParser& parser);
    int UsageError(const QString& text);

    std::vector<std::unique_ptr<CCtlCommand>> m_commands;
    CCtlConsole m_console;
};
