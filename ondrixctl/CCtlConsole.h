#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// ondrixctl's output. Results go to standard output, everything else to
// standard error: notes, progress and errors, so that a script can take the
// results through a pipe while the user watches the rest. On a terminal the
// progress is one line rewritten in place; into a file or a pipe it comes
// as a line at most once a second.
class CCtlConsole
{
public:
    CCtlConsole();
    // A progress line left standing is ended.
    ~CCtlConsole();
    CCtlConsole(const CCtlConsole&) = delete;
    CCtlConsole& operator=(const CCtlConsole&) = delete;

    void SetQuiet(bool quiet) { m_bQuiet = quiet; }

    void Out(const QString& text);
    void Note(const QString& text);
    void Progress(const QString& text);
    // Shown even when quiet: a result that is not what it seems.
    void Warning(const QString& text);
    // Always shown, after the program's name.
    void Error(const QString& text);

private:
    static void Write(std::FILE* stream, const QString& text);
    void EndProgressLine();

    bool m_bQuiet = false;
    bool m_bTerminal = false;
    bool m_bProgressLine = false; // a progress line stands unfinished on the terminal
    QElapsedTimer m_lastProgress;
};
