#include "CCtlConsole.h"

#include <QCoreApplication>

#include <unistd.h>

namespace {

constexpr int PROGRESS_INTERVAL_MS = 1000;

} // namespace

CCtlConsole::CCtlConsole()
    : m_bTerminal(::isatty(STDERR_FILENO) == 1)
{
}

void CCtlConsole::Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void CCtlConsole::EndProgressLine()
{
    if (!m_bProgressLine)
        return;
    Write(stderr, QStringLiteral("\n"));
    m_bProgressLine = false;
}

CCtlConsole::~CCtlConsole()
{
    EndProgressLine();
}

void CCtlConsole::Out(const QString& text)
{
    EndProgressLine();
    Write(stdout, text + QLatin1Char('\n'));
}

void CCtlConsole::Note(const QString& text)
{
    if (m_bQuiet)
        return;
    EndProgressLine();
    Write(stderr, text + QLatin1Char('\n'));
}

void CCtlConsole::Progress(const QString& text)
{
    if (m_bQuiet)
        return;
    if (m_bTerminal) {
        // Back to the line's start, the text, and the rest of an older,
        // longer text cleared.
        Write(stderr, QStringLiteral("\r") + text + QStringLiteral("\x1b[K"));
        m_bProgressLine = true;
        return;
    }
    if (m_lastProgress.isValid() && !m_lastProgress.hasExpired(PROGRESS_INTERVAL_MS))
        return;
    m_lastProgress.start();
    Write(stderr, text + QLatin1Char('\n'));
}

void CCtlConsole::Warning(const QString& text)
{
    EndProgressLine();
    Write(stderr, QCoreApplication::applicationName() + QStringLiteral(": warning: ") + text + QLatin1Char('\n'));
}

void CCtlConsole::Error(const QString& text)
{
    EndProgressLine();
    Write(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + text + QLatin1Char('\n'));
}
