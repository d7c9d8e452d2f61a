#pragma once

#include <QString>

class CCtlSession;
class QCommandLineParser;

// One ondrixctl command: its name, its help, its own options and arguments,
// and the work. The program parses the command line with the options every
// command shares; the command adds its own and takes what it needs.
class CCtlCommand
{
public:
    virtual ~CCtlCommand() = default;

    virtual QString Name() const = 0;
    // What follows the name on the usage line: "[--json]".
    virtual QString Synopsis() const = 0;
    // One line for the list of commands.
    virtual QString Summary() const = 0;
    // What the command does, for its --help.
    virtual QString Description() const = 0;
    virtual void AddOptions(QCommandLineParser& parser) const;
    // Keeps the values; false with the reason when the command line is
    // wrong.
    virtual bool Take(const QCommandLineParser& parser, QString& error) = 0;
    // The exit code (CtlExit).
    virtual int Run(CCtlSession& session) = 0;
    // Only a command that draws needs the GUI's application object (on the
    // offscreen platform); the others run without a display.
    virtual bool NeedsGui() const { return false; }

protected:
    // The one positional argument of a command that takes one, or false.
    static bool TakeOne(const QCommandLineParser& parser, const QString& what, QString& value, QString& error);
};
