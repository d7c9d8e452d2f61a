// A simulated RZ450 detector on a pseudo-terminal, for trying the client
// without hardware and for tests and benchmarks that need a live link.

#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CSimConsole.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace {

struct Options
{
    QString link;
    bool paced = false;
    bool nibble = false;
    int seconds = 0;
    int mode = CRZ450Simulator::MODE_MAN;
    int band = -1;
    int logBlocks = 0;
    int logBanks = 1;
};

int g_signalPipe[2] = { -1, -1 };

void OnStopSignal(int)
{
    const char byte = 1;
    if (write(g_signalPipe[1], &byte, 1) < 0) {
        // Full pipe: a stop is already pending.
    }
}

// Stop signals end up as a readable descriptor. A handler rather than a
// blocked mask, because any thread may receive a process-directed signal,
// including threads a runtime starts before main().
int WatchStopSignals()
{
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : { SIGINT, SIGTERM, SIGHUP })
        sigaction(number, &action, nullptr);
    return g_signalPipe[0];
}

void Print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString HelpText(const QCommandLineParser& parser)
{
    return parser.helpText() + QLatin1Char('\n')
        + QStringLiteral("Prints \"RZ450 simulator on <link>\" once the link exists, then serves until\n"
                         "the time is up, a quit command, SIGINT or SIGTERM. The end of standard input\n"
                         "does not stop it. The link is removed on exit.\n\n")
        + CSimConsole::Help();
}

// Nothing to go on, otherwise the code to exit with at once.
std::optional<int> ParseOptions(const QCoreApplication& app, Options& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated RZ450 detector on a pseudo-terminal."));
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help."));
    const QCommandLineOption link(QStringLiteral("link"),
        QStringLiteral("Symbolic link to create (default: in a new temporary folder)."), QStringLiteral("path"));
    const QCommandLineOption paced(QStringLiteral("paced"), QStringLiteral("Pace bytes at 921600 baud, 8N1."));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
        QStringLiteral("Run for N seconds; 0 runs until stopped."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("Starting mode: manual, search or auto."),
        QStringLiteral("mode"), QStringLiteral("manual"));
    const QCommandLineOption band(QStringLiteral("band"), QStringLiteral("Starting manual band, 0..30."),
        QStringLiteral("N"));
    const QCommandLineOption nibble(QStringLiteral("nibble"),
        QStringLiteral("Nibble encoding: every byte as two link bytes, high half first."));
    const QCommandLineOption log(QStringLiteral("log"),
        QStringLiteral("Start with N full log blocks spread over B banks."), QStringLiteral("N[:B]"));
    parser.addOptions({ help, link, paced, seconds, mode, band, nibble, log });
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(HelpText(parser)), stdout);
        return 0;
    }
    bool ok = true;
    options.link = parser.value(link);
    options.paced = parser.isSet(paced);
    options.nibble = parser.isSet(nibble);
    options.seconds = parser.value(seconds).toInt(&ok);
    options.mode = CSimConsole::ParseMode(parser.value(mode));
    if (parser.isSet(band))
        options.band = parser.value(band).toInt(&ok);
    bool logOk = true;
    if (parser.isSet(log)) {
        const QStringList parts = parser.value(log).split(QLatin1Char(':'));
        options.logBlocks = parts.value(0).toInt(&logOk);
        bool banksOk = true;
        if (parts.size() > 1)
            options.logBanks = parts.value(1).toInt(&banksOk);
        logOk = logOk && banksOk && parts.size() <= 2 && options.logBlocks >= 0
            && options.logBlocks <= CRZ450Simulator::LOG_BLOCKS && options.logBanks >= 1;
    }
    if (!ok || !logOk || options.seconds < 0 || options.mode == 0
        || (parser.isSet(band) && (options.band < 0 || options.band > 30))) {
        std::fprintf(stderr, "invalid option value (see --help)\n");
        return 2;
    }
    return std::nullopt;
}

// Splits what arrived on standard input into lines and runs each.
void RunInput(CSimConsole& console, QByteArray& pending, bool& inputOpen)
{
    char buffer[1024];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        inputOpen = false; // EOF: keep serving; run.sh gives us /dev/null
        return;
    }
    pending.append(buffer, static_cast<int>(got));
    int end = 0;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QString reply = console.Execute(QString::fromLocal8Bit(pending.left(end)));
        pending.remove(0, end + 1);
        if (!reply.isEmpty())
            Print(reply);
    }
}

void Serve(CSimConsole& console, int signalFd, int seconds)
{
    QElapsedTimer running;
    running.start();
    QByteArray pending;
    bool inputOpen = true;
    while (!console.QuitRequested()) {
        int timeout = -1;
        if (seconds > 0) {
            timeout = static_cast<int>(qint64(seconds) * 1000 - running.elapsed());
            if (timeout <= 0)
                return;
        }
        pollfd fds[2] = { { signalFd, POLLIN, 0 }, { STDIN_FILENO, POLLIN, 0 } };
        if (poll(fds, inputOpen ? 2 : 1, timeout) < 0)
            continue;
        if (fds[0].revents & POLLIN)
            return;
        if (inputOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            RunInput(console, pending, inputOpen);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rz450sim"));
    Options options;
    if (const std::optional<int> exit = ParseOptions(app, options))
        return *exit;

    // A reader that went away must not kill us before the link is removed.
    std::signal(SIGPIPE, SIG_IGN);
    const int signalFd = WatchStopSignals();
    if (signalFd < 0)
        return 1;

    CRZ450Simulator simulator(options.nibble ? CRZ450Simulator::NibbleMode : CRZ450Simulator::ByteMode);
    simulator.SetMode(options.mode);
    if (options.band >= 0)
        simulator.SetBand(options.band);
    if (options.logBlocks > 0)
        simulator.FillLog(options.logBlocks, options.logBanks);
    CPtyServer server(&simulator);
    server.SetPaced(options.paced);
    if (!server.Start(options.link)) {
        std::fprintf(stderr, "rz450sim: %s\n", qPrintable(server.ErrorString()));
        return 1;
    }
    Print(QStringLiteral("RZ450 simulator on %1").arg(server.Path()));

    CSimConsole console(&simulator, &server);
    Serve(console, signalFd, options.seconds);
    server.Stop();
    return 0;
}
