#pragma once

#include <QString>
#include <QStringList>

class CPtyServer;
class CRZ450Simulator;

// The simulator program's command language: one command per line, read from
// standard input, each answered with at most a line or two of text.
class CSimConsole
{
public:
    CSimConsole(CRZ450Simulator* simulator, CPtyServer* server);

    QString Execute(const QString& line);
    bool QuitRequested() const { return m_quit; }

    static QString Help();
    static int ParseMode(const QString& name); // 0 when not a mode name

private:
    QString Faults(const QString& command, const QStringList& args);
    QString LogCommands(const QString& command, const QStringList& args);
    QString DeviceCommands(const QString& command, const QStringList& args);
    QString Alarm(const QStringList& args);
    QString Status() const;

    CRZ450Simulator* const m_simulator;
    CPtyServer* const m_server;
    bool m_quit = false;
};
