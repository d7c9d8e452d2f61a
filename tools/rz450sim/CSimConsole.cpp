#include "CSimConsole.h"

#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "RZ450Layout.h"

#include <optional>

namespace {

const QString OK = QStringLiteral("ok");

std::optional<int> Arg(const QStringList& args, int index)
{
    bool ok = false;
    const int value = index < args.size() ? args.at(index).toInt(&ok, 0) : 0;
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString ModeName(int mode)
{
    switch (mode) {
    case CRZ450Simulator::MODE_MAN: return QStringLiteral("manual");
    case CRZ450Simulator::MODE_SRCH: return QStringLiteral("search");
    case CRZ450Simulator::MODE_AUTO: return QStringLiteral("auto");
    default: return QString::number(mode);
    }
}

QString Usage(const QString& command, const QString& arguments)
{
    return QStringLiteral("usage: %1 %2").arg(command, arguments);
}

} // namespace

CSimConsole::CSimConsole(CRZ450Simulator* simulator, CPtyServer* server)
    : m_simulator(simulator)
    , m_server(server)
{
}

QString CSimConsole::Execute(const QString& line)
{
    QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString command = words.takeFirst().toLower();
    if (command == QLatin1String("quit")) {
        m_quit = true;
        return QStringLiteral("bye");
    }
    if (command == QLatin1String("help"))
        return Help();
    if (command == QLatin1String("status"))
        return Status();
    for (auto handler : { &CSimConsole::Faults, &CSimConsole::LogCommands, &CSimConsole::DeviceCommands }) {
        const QString reply = (this->*handler)(command, words);
        if (!reply.isNull())
            return reply;
    }
    return QStringLiteral("unknown command: %1 (try help)").arg(command);
}

QString CSimConsole::Faults(const QString& command, const QStringList& args)
{
    if (command == QLatin1String("time")) {
        m_simulator->RequestTime();
        return OK;
    }
    if (command != QLatin1String("short") && command != QLatin1String("silence") && command != QLatin1String("garbage")
        && command != QLatin1String("unknown"))
        return {};
    const std::optional<int> count = Arg(args, 0);
    if (!count || *count < 0)
        return Usage(command,
            command == QLatin1String("short") ? QStringLiteral("COUNT [BYTES]") : QStringLiteral("COUNT"));
    if (command == QLatin1String("short")) {
        const std::optional<int> bytes = args.size() > 1 ? Arg(args, 1) : std::optional<int>(150);
        if (!bytes)
            return Usage(command, QStringLiteral("COUNT [BYTES]"));
        m_simulator->InjectShortAnswers(*count, *bytes);
    } else if (command == QLatin1String("silence")) {
        m_simulator->InjectSilence(*count);
    } else if (command == QLatin1String("garbage")) {
        m_simulator->InjectGarbage(*count);
    } else {
        m_simulator->InjectUnknownType(*count);
    }
    return OK;
}

QString CSimConsole::LogCommands(const QString& command, const QStringList& args)
{
    if (command == QLatin1String("wrap")) {
        m_simulator->SetWrappedLog();
        return QStringLiteral("ok: %1 blocks, current bank %2").arg(m_simulator->LogBlocks()).arg(m_simulator->Bank());
    }
    if (command == QLatin1String("clearlog")) {
        m_simulator->ClearLog();
        return OK;
    }
    if (command == QLatin1String("log")) {
        const std::optional<int> blocks = Arg(args, 0);
        const std::optional<int> banks = args.size() > 1 ? Arg(args, 1) : std::optional<int>(1);
        if (!blocks || !banks)
            return Usage(command, QStringLiteral("BLOCKS [BANKS]"));
        m_simulator->FillLog(*blocks, *banks);
        return QStringLiteral("ok: %1 blocks, current bank %2").arg(m_simulator->LogBlocks()).arg(m_simulator->Bank());
    }
    if (command != QLatin1String("badsum") && command != QLatin1String("shortblock")
        && command != QLatin1String("cutat"))
        return {};
    const std::optional<int> block = Arg(args, 0);
    if (!block)
        return Usage(command, QStringLiteral("BLOCK"));
    if (command == QLatin1String("badsum"))
        m_simulator->InjectBadChecksum(*block);
    else if (command == QLatin1String("shortblock"))
        m_simulator->InjectShortBlock(*block);
    else
        m_simulator->InjectDisconnectAtBlock(*block);
    return OK;
}

QString CSimConsole::DeviceCommands(const QString& command, const QStringList& args)
{
    if (command == QLatin1String("disconnect")) {
        m_server->Disconnect();
        return OK;
    }
    if (command == QLatin1String("reconnect"))
        return m_server->Reconnect() ? QStringLiteral("ok: %1 -> %2").arg(m_server->Path(), m_server->SlavePath())
                                     : QStringLiteral("error: ") + m_server->ErrorString();
    if (command == QLatin1String("alarm"))
        return Alarm(args);
    if (command == QLatin1String("mode")) {
        const int mode = ParseMode(args.value(0));
        if (mode == 0)
            return Usage(command, QStringLiteral("manual|search|auto"));
        m_simulator->SetMode(mode);
        return OK;
    }
    if (command != QLatin1String("key") && command != QLatin1String("band"))
        return {};
    const std::optional<int> value = Arg(args, 0);
    if (command == QLatin1String("key")) {
        if (!value || *value < 0 || *value > 15)
            return Usage(command, QStringLiteral("0..15"));
        m_simulator->PressKey(static_cast<quint8>(0x10 | *value));
        return OK;
    }
    if (!value || *value < 0 || *value > 30)
        return Usage(command, QStringLiteral("0..30"));
    m_simulator->SetBand(*value);
    return OK;
}

QString CSimConsole::Alarm(const QStringList& args)
{
    if (args.value(0) == QLatin1String("off")) {
        m_simulator->ClearIndicationFlags();
        return OK;
    }
    QList<int> bands;
    for (int i = 0; i < args.size(); ++i) {
        const std::optional<int> band = Arg(args, i);
        if (!band || *band < 0 || *band >= RZ450Layout::INDICATED_BANDS)
            return Usage(QStringLiteral("alarm"), QStringLiteral("0..18... | off"));
        bands.append(*band);
    }
    if (bands.isEmpty())
        return Usage(QStringLiteral("alarm"), QStringLiteral("0..18... | off"));
    m_simulator->SetIndicationFlags(bands);
    return OK;
}

QString CSimConsole::Status() const
{
    QStringList commands;
    for (quint8 command : m_simulator->Commands())
        commands.append(QString::number(command));
    return QStringLiteral("mode %1 band %2 bank %3 polls %4 reports %5 commands [%6] log %7 blocks; %8 %9")
        .arg(ModeName(m_simulator->Mode()))
        .arg(m_simulator->Band())
        .arg(m_simulator->Bank())
        .arg(m_simulator->Polls())
        .arg(m_simulator->StatusReports())
        .arg(commands.join(QLatin1Char(' ')))
        .arg(m_simulator->LogBlocks())
        .arg(m_server->Path(), m_server->IsConnected() ? QStringLiteral("connected") : QStringLiteral("disconnected"));
}

int CSimConsole::ParseMode(const QString& name)
{
    const QString mode = name.toLower();
    if (mode == QLatin1String("manual") || mode == QLatin1String("man") || mode == QLatin1String("1"))
        return CRZ450Simulator::MODE_MAN;
    if (mode == QLatin1String("search") || mode == QLatin1String("srch") || mode == QLatin1String("2"))
        return CRZ450Simulator::MODE_SRCH;
    if (mode == QLatin1String("auto") || mode == QLatin1String("automatic") || mode == QLatin1String("4"))
        return CRZ450Simulator::MODE_AUTO;
    return 0;
}

QString CSimConsole::Help()
{
    return QStringLiteral(
        "Commands (standard input, one per line):\n"
        "  status                 mode, band, bank, polls, reports, commands received, log size, link\n"
        "  mode manual|search|auto\n"
        "  band B                 manual band 0..30\n"
        "  alarm B... | alarm off automatic mode: pins the alarm flags of bands B (0..18), or lets them go\n"
        "  key K                  press key K (0..15) as if from the host\n"
        "  time                   ask the host for the time at the next poll\n"
        "  short N [BYTES]        answer the next N polls with only BYTES bytes (150)\n"
        "  silence N              answer the next N polls with nothing\n"
        "  garbage N              answer the next N polls with 1..600 random bytes\n"
        "  unknown N              answer the next N polls with a 300-byte answer of type 7\n"
        "  disconnect             close the pty (the client's reads fail)\n"
        "  reconnect              new pty behind the same link; the detector restarts\n"
        "  log N [BANKS]          fill the log with N full blocks over BANKS banks (1)\n"
        "  wrap                   all 1000 log blocks in use, the ring written past its end\n"
        "  badsum N               send log block N with a wrong checksum (once)\n"
        "  shortblock N           send only 100 bytes of log block N (once)\n"
        "  cutat N                drop off the link instead of sending log block N (once);\n"
        "                         the pty comes back a second later\n"
        "  clearlog               empty the log\n"
        "  quit                   stop the simulator\n"
        "Faults armed together answer one poll each: silence, short, garbage, unknown.\n"
        "\n"
        "Keys (low nibble of the key byte; the high nibble repeats it 1..10 times):\n"
        "  0 next mode: manual -> automatic -> search -> manual\n"
        "  1 next band, 2 previous band (manual mode; 0..18, with the base stations\n"
        "    19..30 while settings byte 45 is set; wraps)\n"
        "  3 mute on/off   4 volume step 0..7   5 menu (ignored)\n"
        "  long presses (key + 8): 8 manual mode on band 0, 11 demodulator off/AM/FM,\n"
        "    9, 10 and 12 as 1, 2 and 4\n");
}
