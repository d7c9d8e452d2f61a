#include "CCtlProgram.h"

#include "CBaselineCommand.h"
#include "CClockCommand.h"
#include "CCtlSession.h"
#include "CDownloadLogCommand.h"
#include "CExportCommand.h"
#include "CRecordCommand.h"
#include "CReportCommand.h"
#include "CSettingsCommand.h"
#include "CStatusCommand.h"
#include "CWatchCommand.h"
#include "CtlExit.h"
#include "app/CErrorText.h"

#include <QCommandLineParser>

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <exception>

namespace {

const char* const DEVICE_OPTION = "device";
const char* const TIMEOUT_OPTION = "timeout";
const char* const FINGERPRINT_OPTION = "fingerprint";
const char* const KEY_FILE_OPTION = "key-file";
// A key on the command line would show in the process list: it comes from
// a file or from here.
const char* const KEY_VARIABLE = "ONDRIX_KEY";
constexpr qint64 MAX_KEY_FILE_BYTES = 4096;
const char* const QUIET_OPTION = "quiet";
const char* const HELP_OPTION = "help";
const char* const VERSION_OPTION = "version";

constexpr int HELP_WIDTH = 79;

// Each line of text broken between words to fit the help's width.
QString Wrapped(const QString& text)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > HELP_WIDTH) {
                lines.append(line);
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

QString FirstLineReplaced(const QString& text, const QString& line)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    return line + (end < 0 ? QString() : text.mid(end));
}

} // namespace

CCtlProgram::CCtlProgram()
{
    m_commands.push_back(std::make_unique<CStatusCommand>());
    m_commands.push_back(std::make_unique<CDownloadLogCommand>());
    m_commands.push_back(std::make_unique<CRecordCommand>());
    m_commands.push_back(std::make_unique<CExportCommand>());
    m_commands.push_back(std::make_unique<CReportCommand>());
    m_commands.push_back(std::make_unique<CBaselineCommand>());
    m_commands.push_back(std::make_unique<CSettingsCommand>());
    m_commands.push_back(std::make_unique<CClockCommand>());
    m_commands.push_back(std::make_unique<CWatchCommand>());
}

CCtlProgram::~CCtlProgram() = default;

void CCtlProgram::AddCommonOptions(QCommandLineParser& parser)
{
    parser.addOption({ QLatin1String(DEVICE_OPTION),
        tr("The detector an Ondrix Server shares at URL (a host name or address); without it, the detector "
           "attached to this computer."),
        QStringLiteral("URL") });
    parser.addOption({ QLatin1String(FINGERPRINT_OPTION),
        tr("For an encrypted server (ondrixs://host[:port]): the SHA-256 fingerprint its certificate must have, "
           "as \"OndrixServer --fingerprint\" prints it."),
        QStringLiteral("HEX") });
    parser.addOption({ QLatin1String(KEY_FILE_OPTION),
        tr("The file holding the access key for the server (else the environment variable %1).")
            .arg(QLatin1String(KEY_VARIABLE)),
        QStringLiteral("FILE") });
    parser.addOption({ QLatin1String(TIMEOUT_OPTION),
        tr("How long to wait for the detector to come online or to answer (default %1).")
            .arg(CTL_OPTIONS::DEFAULT_TIMEOUT_MS / 1000),
        QStringLiteral("SECONDS") });
    parser.addOption(
        { { QStringLiteral("q"), QLatin1String(QUIET_OPTION) }, tr("No progress and no notes, only errors.") });
    parser.addOption({ { QStringLiteral("h"), QLatin1String(HELP_OPTION) }, tr("Show this help.") });
}

bool CCtlProgram::ParseCommon(QCommandLineParser& parser, const QStringList& arguments) const
{
    AddCommonOptions(parser);
    parser.addOption({ { QStringLiteral("v"), QLatin1String(VERSION_OPTION) }, tr("Show the version.") });
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    return parser.parse(arguments);
}

bool CCtlProgram::NeedsGui(const QStringList& arguments) const
{
    QCommandLineParser parser;
    if (!ParseCommon(parser, arguments) || parser.positionalArguments().isEmpty())
        return false;
    const CCtlCommand* command = Find(parser.positionalArguments().first());
    return command && command->NeedsGui();
}

CCtlCommand* CCtlProgram::Find(const QString& name) const
{
    for (const auto& command : m_commands) {
        if (command->Name() == name)
            return command.get();
    }
    return nullptr;
}

int CCtlProgram::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    if (!ParseCommon(parser, arguments))
        return UsageError(parser.errorText());
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(QLatin1String(VERSION_OPTION))) {
        m_console.Out(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return CtlExit::Ok;
    }
    if (rest.isEmpty() && parser.isSet(QLatin1String(HELP_OPTION))) {
        m_console.Out(ProgramHelp(parser));
        return CtlExit::Ok;
    }
    if (rest.isEmpty())
        return UsageError(tr("no command given"));
    CCtlCommand* command = Find(rest.first());
    if (!command)
        return UsageError(tr("unknown command \"%1\"").arg(rest.first()));
    return RunCommand(*command, parser, rest.mid(1));
}

int CCtlProgram::RunCommand(CCtlCommand& command, const QCommandLineParser& common, const QStringList& rest)
{
    QCommandLineParser own;
    AddCommonOptions(own);
    command.AddOptions(own);
    if (!own.parse(QStringList { QCoreApplication::applicationName() } + rest))
        return UsageError(own.errorText());
    if (common.isSet(QLatin1String(HELP_OPTION)) || own.isSet(QLatin1String(HELP_OPTION))) {
        m_console.Out(CommandHelp(command, own));
        return CtlExit::Ok;
    }
    CTL_OPTIONS options;
    QString error;
    if (!TakeOptions(common, own, options, error) || !command.Take(own, error))
        return UsageError(error);
    m_console.SetQuiet(options.quiet);
    CCtlSession session(options, m_console);
    try {
        return command.Run(session);
    } catch (const std::exception& exception) {
        // Only the proxy throws: the server went away or answered nonsense.
        m_console.Error(tr("the connection to the detector broke: %1").arg(CErrorText::FromException(exception)));
        return CtlExit::NoDevice;
    }
}

QString CCtlProgram::Value(const QCommandLineParser& common, const QCommandLineParser& own, const QString& name)
{
    return own.isSet(name) ? own.value(name) : common.value(name);
}

bool CCtlProgram::TakeOptions(const QCommandLineParser& common, const QCommandLineParser& own, CTL_OPTIONS& options,
    QString& error) const
{
    options.device = Value(common, own, QLatin1String(DEVICE_OPTION));
    options.devices = common.values(QLatin1String(DEVICE_OPTION)) + own.values(QLatin1String(DEVICE_OPTION));
    options.quiet = common.isSet(QLatin1String(QUIET_OPTION)) || own.isSet(QLatin1String(QUIET_OPTION));
    if (common.isSet(QLatin1String(DEVICE_OPTION)) || own.isSet(QLatin1String(DEVICE_OPTION))) {
        if (options.device.trimmed().isEmpty()) {
            error = tr("--device takes the address of an Ondrix Server");
            return false;
        }
    }
    if (!TakeCredentials(common, own, options, error))
        return false;
    const QString timeout = Value(common, own, QLatin1String(TIMEOUT_OPTION));
    if (timeout.isEmpty())
        return true;
    bool ok = false;
    const double seconds = timeout.toDouble(&ok);
    // Asked the other way round, "nan" would pass and become no number of
    // milliseconds at all.
    if (!ok || !(seconds > 0 && seconds <= 3600)) {
        error = tr("--timeout takes seconds, more than 0 and at most 3600");
        return false;
    }
    // More than 0 stays more than 0: a time-out of 0 ms would give up unasked.
    options.timeoutMs = std::max(1, int(seconds * 1000));
    return true;
}

bool CCtlProgram::TakeCredentials(const QCommandLineParser& common, const QCommandLineParser& own, CTL_OPTIONS& options,
    QString& error)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    for (const QString& given :
        common.values(QLatin1String(FINGERPRINT_OPTION)) + own.values(QLatin1String(FINGERPRINT_OPTION))) {
        const QString fingerprint = QString(given).remove(QLatin1Char(' ')).toLower();
        if (!hex.match(fingerprint).hasMatch()) {
            error = tr("--fingerprint takes the 64 hex digits of a SHA-256 fingerprint");
            return false;
        }
        options.fingerprints.append(fingerprint);
    }
    options.fingerprint = Value(common, own, QLatin1String(FINGERPRINT_OPTION)).remove(QLatin1Char(' ')).toLower();
    const QString keyFile = Value(common, own, QLatin1String(KEY_FILE_OPTION));
    if (keyFile.isEmpty()) {
        options.key = qEnvironmentVariable(KEY_VARIABLE).trimmed();
        return true;
    }
    QFile file(keyFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MAX_KEY_FILE_BYTES) {
        error = tr("--key-file: %1 cannot be read as a key").arg(keyFile);
        return false;
    }
    options.key = QString::fromUtf8(file.readAll()).trimmed();
    return true;
}

QString CCtlProgram::ProgramHelp(const QCommandLineParser& parser) const
{
    QString commands;
    for (const auto& command : m_commands) {
        commands += QStringLiteral("  %1 %2\n      %3\n").arg(command->Name(), command->Synopsis(), command->Summary());
    }
    return FirstLineReplaced(parser.helpText(),
               Wrapped(tr("Usage: %1 [options] COMMAND [command options]\n"
                          "Drives an RZ450 detector without a display: the one attached to this computer, "
                          "through the driver plug-in beside this program, or one an Ondrix Server shares "
                          "(--device).")
                           .arg(QCoreApplication::applicationName())))
        + tr("\nCommands:\n") + commands + QLatin1Char('\n')
        + Wrapped(tr("\"%1 COMMAND --help\" describes a command. Exit codes: 0 done; 1 the detector did not "
                     "do it; 2 wrong command line; 3 no detector to talk to or the connection broke; 4 the "
                     "detector did not come online; 5 an input file is no good; 6 an output cannot be "
                     "written; 130 interrupted (Ctrl-C). See also man %1.")
                      .arg(QCoreApplication::applicationName()));
}

QString CCtlProgram::CommandHelp(const CCtlCommand& command, const QCommandLineParser& parser)
{
    return FirstLineReplaced(parser.helpText(),
        Wrapped(
            tr("Usage: %1 [options] %2 %3\n%4")
                .arg(QCoreApplication::applicationName(), command.Name(), command.Synopsis(), command.Description())));
}

int CCtlProgram::UsageError(const QString& text)
{
    m_console.Error(text + tr(" (see %1 --help)").arg(QCoreApplication::applicationName()));
    return CtlExit::Usage;
}
