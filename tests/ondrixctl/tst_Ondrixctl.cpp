// The installed ondrixctl as a script runs it, without a display: against
// simulated detectors on pseudo-terminals, attached or shared by an Ondrix
// Server, every command and each failure's exit code.
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineCodec.h"
#include "baseline/CBaselineFile.h"
#include "files/CDataFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// Where a row's command finds its detector.
// NoPlugins: a copy of the program in a folder without the driver plug-in.
enum Where { Local, Shared, ReadOnly, Nowhere, NoPlugins };
// What is done to the detector before the command.
// SmallFiles: no file the program writes may grow past 64 KiB, as on a
// full disk.
enum Setup { Plain, SkewedClock, BadChecksum, EmptyLog, SmallFiles };
// What is checked after it, beside the exit code.
enum Check {
    Nothing,
    Help,
    Lines,
    Json,
    OfflineJson,
    Quiet,
    LogFiles,
    RecordFile,
    MenuFile,
    SettingsTaken,
    ClockSet,
    Csv,
    Pdf,
    FoldersGone,
    NoCsv,
    InputKept,
    BaselineSaved,
    BaselineInClientStorage,
    FlaggedLines,
    NoBaselineMade
};

// What a row's run left to check.
struct RUN
{
    QString command; // the command's name; empty for the program alone
    QByteArray menu; // the menu file the row's folder holds
    QByteArray out;
    QByteArray errors;
};

struct DETECTOR
{
    CRZ450Simulator simulator;
    CPtyServer pty { &simulator };
    std::unique_ptr<CServerProcess> server;
};

// A 96-byte menu file of the detector's settings with one threshold moved.
QByteArray ChangedMenu(const CRZ450Simulator& simulator)
{
    QByteArray menu = simulator.Settings() + QByteArray(36, '\0');
    menu[5] = char(menu[5] ^ 1);
    return menu;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The row's sites and data beside the other files.
bool MakeStore(const QTemporaryDir& work)
{
    CBaseline baseline;
    baseline.site = QStringLiteral("Hall");
    baseline.start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    baseline.nSeconds = 60;
    baseline.bands = { { 2, QStringLiteral("GSM1800/"), -70, -65, -64, 60 }, { 3, QString(), -60, -58, -57, 60 } };
    QString path, error;
    const QString store = work.filePath(QStringLiteral("store"));
    const bool hall = CBaselineFile::Save(store, baseline, path, error);
    baseline.site = QStringLiteral("Cut");
    const bool cut = CBaselineFile::Save(store, baseline, path, error) && QFile(path).resize(20);
    QDir().mkpath(store + QStringLiteral("/Sites/Hollow"));
    baseline.site = QStringLiteral("Hollow");
    baseline.bands.clear();
    const bool hollow = Write(store + QStringLiteral("/Sites/Hollow/baseline-20231114-221320.orzbase"),
        CBaselineCodec::Encode(baseline));
    CRecord record;
    record.band = 2;
    record.time = 1700000100;
    record.values.append({ -40, -80, 0, 0 });
    // The storage folder the client was told to use.
    QSettings settings(work.filePath(QStringLiteral("config/Korvent/RZ450 Ondrix.conf")), QSettings::IniFormat);
    settings.setValue(QLatin1String(ClientSettingsKeys::STORAGE_PATH), work.filePath(QStringLiteral("chosen")));
    settings.sync();
    const bool client = settings.status() == QSettings::NoError;
    return hall && cut && hollow && client
        && CDataFile::Save(work.filePath(QStringLiteral("rose.rdf")), QStringLiteral("RZ450"), 0, { record });
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

Q_DECLARE_METATYPE(Where)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Check)

class tst_Ondrixctl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void commands_data();
    void commands();
    void interruptedLeavesNothing_data();
    void interruptedLeavesNothing();
    void watchTellsAlerts();

private:
    bool StartDetector(DETECTOR& detector, const QString& name, const QStringList& serverOptions = {});
    void Prepare(QProcess& process, Where where) const;
    void Verify(Check check, DETECTOR& detector, const QTemporaryDir& work, const RUN& run);

    QTemporaryDir m_folder;
    DETECTOR m_local;
    DETECTOR m_shared;
    DETECTOR m_readOnly;
    QString m_strFingerprint;
    QMap<QString, QByteArray> m_keys; // by role, and "wrong"
};

bool tst_Ondrixctl::StartDetector(DETECTOR& detector, const QString& name, const QStringList& serverOptions)
{
    detector.simulator.SetMode(CRZ450Simulator::MODE_MAN);
    detector.simulator.FillLog(6, 3);
    if (!detector.pty.Start(m_folder.filePath(name)))
        return false;
    if (name == QLatin1String("ttyLocal"))
        return true;
    detector.server = std::make_unique<CServerProcess>(detector.pty.Path());
    const QString address = CServerProcess::RandomAddress();
    QStringList options = serverOptions;
    options.replaceInStrings(QStringLiteral("SAME"), address);
    return detector.server->Start(address, options);
}

void tst_Ondrixctl::initTestCase()
{
    QVERIFY(StartDetector(m_local, QStringLiteral("ttyLocal")));
    // The shared detector's server listens with TLS as well.
    const QStringList state { QStringLiteral("--state-dir"), m_folder.filePath(QStringLiteral("state")) };
    m_strFingerprint = CServerProcess::Output(state + QStringList { QStringLiteral("--fingerprint") });
    for (const QString& line :
        CServerProcess::Output(state + QStringList { QStringLiteral("--show-keys") }).split(QLatin1Char('\n')))
        m_keys.insert(line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1).toLatin1());
    m_keys.insert(QStringLiteral("wrong"), QByteArray(32, 'f'));
    QVERIFY(StartDetector(m_shared, QStringLiteral("ttyShared"),
        state + QStringList { QStringLiteral("--tls-listen"), QStringLiteral("SAME") }));
    QVERIFY(StartDetector(m_readOnly, QStringLiteral("ttyReadOnly"),
        { QStringLiteral("--control"), QStringLiteral("none") }));
}

void tst_Ondrixctl::cleanupTestCase()
{
    m_shared.server.reset();
    m_readOnly.server.reset();
}

void tst_Ondrixctl::Prepare(QProcess& process, Where where) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display of any kind: the program must not need one.
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QLatin1String(name));
    const QString port = where == Local ? m_local.pty.Path() : m_folder.filePath(QStringLiteral("no-such-port"));
    environment.insert(QStringLiteral("RZ450_PORT"), port);
    // The copy finds the libraries, not the plug-ins, of the program folder.
    if (where == NoPlugins)
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), QFileInfo(QStringLiteral(ONDRIXCTL_PROGRAM)).path());
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
    process.setProcessEnvironment(environment);
}

void tst_Ondrixctl::commands_data()
{
    QTest::addColumn<Where>("where");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<Check>("check");
    // "@name" stands for a path in the row's own folder, which holds a good,
    // a short and a long menu file, a good data file, a big one, a damaged
    // one and one of another device, "blocker", a plain file that no folder
    // can be made under, and "kept", an empty folder. SERVER stands for the
    // row's server, NOSERVER for a loopback address that no server listens
    // on.
    const auto row = [](const char* name, Where where, Setup setup, const char* arguments, int exitCode, Check check) {
        QTest::newRow(name) << where << setup
                            << QString::fromLatin1(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts) << exitCode
                            << check;
    };
    row("help", Local, Plain, "--help", 0, Help);
    for (const char* command :
        { "status", "download-log", "record", "export", "report", "settings", "clock", "baseline", "watch" }) {
        const QByteArray name = QByteArray("help ") + command;
        const QByteArray arguments = QByteArray(command) + " --help";
        row(name.constData(), Local, Plain, arguments.constData(), 0, Help);
    }
    row("help before the command", Local, Plain, "--help clock", 0, Help);
    row("version", Local, Plain, "--version", 0, Nothing);
    row("status", Local, Plain, "status", 0, Lines);
    row("status json", Local, Plain, "status --json", 0, Json);
    row("download-log", Local, Plain, "download-log @logs", 0, LogFiles);
    row("record", Local, Plain, "record --seconds 1 @live.rdf", 0, RecordFile);
    row("settings get", Local, Plain, "settings get @saved.mnu", 0, MenuFile);
    row("settings put", Local, Plain, "settings put @good.mnu", 0, SettingsTaken);
    row("clock sync", Local, SkewedClock, "clock sync", 0, ClockSet);
    row("export", Nowhere, Plain, "export @good.rdf --csv @out.csv", 0, Csv);
    row("report", Nowhere, Plain, "report @good.rdf --pdf @out.pdf", 0, Pdf);
    row("server status", Shared, Plain, "status --json", 0, Json);
    row("server named after the command", Shared, Plain, "status --device SERVER --json", 0, Json);
    row("server settings get", Shared, Plain, "settings get @saved.mnu", 0, MenuFile);
    row("server download-log", Shared, Plain, "download-log @logs", 0, LogFiles);
    row("server record", Shared, Plain, "record --seconds 1 @live.rdf", 0, RecordFile);
    row("server settings put", Shared, Plain, "settings put @good.mnu", 0, SettingsTaken);
    row("server clock sync", Shared, SkewedClock, "clock sync", 0, ClockSet);
    // TLS stands for the shared server's encrypted address, FINGERPRINT for
    // its fingerprint; @view.key, @control.key and @wrong.key hold keys.
    row("encrypted status", Shared, Plain, "--device TLS --fingerprint FINGERPRINT --key-file @view.key status --json",
        0, Json);
    row("encrypted settings put", Shared, Plain,
        "--device TLS --fingerprint FINGERPRINT --key-file @control.key settings put @good.mnu", 0, SettingsTaken);
    row("encrypted settings put, view key", Shared, Plain,
        "--device TLS --fingerprint FINGERPRINT --key-file @view.key settings put @good.mnu", 1, Nothing);
    row("encrypted, wrong key", Shared, Plain, "--device TLS --fingerprint FINGERPRINT --key-file @wrong.key status", 3,
        Nothing);
    row("encrypted, fingerprint changed", Shared, Plain,
        "--device TLS --fingerprint 00000000000000000000000000000000000000000000000000000000000000ff --key-file "
        "@view.key status",
        3, Nothing);
    row("encrypted, fingerprint not given", Shared, Plain, "--device TLS --key-file @view.key status", 3, Nothing);

    row("log download fails", Local, BadChecksum, "download-log --retries 0 @logs", 1, Nothing);
    row("log download retried", Local, BadChecksum, "download-log @logs", 0, LogFiles);
    row("quiet", Local, Plain, "--quiet download-log @logs", 0, Quiet);
    row("empty log", Local, EmptyLog, "download-log @logs", 0, Nothing);
    row("read-only status", ReadOnly, Plain, "status --json", 0, Json);
    row("read-only settings put", ReadOnly, Plain, "settings put @good.mnu", 1, Nothing);
    row("read-only clock sync", ReadOnly, SkewedClock, "--timeout 2 clock sync", 1, Nothing);
    row("read-only clock already right", ReadOnly, Plain, "clock sync", 1, Nothing);
    row("read-only download-log", ReadOnly, Plain, "download-log @logs", 1, Nothing);
    row("no command", Local, Plain, "", 2, Nothing);
    row("unknown command", Local, Plain, "frobnicate", 2, Nothing);
    row("unknown option", Local, Plain, "status --jsno", 2, Nothing);
    row("no seconds", Local, Plain, "record @live.rdf", 2, Nothing);
    row("zero seconds", Local, Plain, "record --seconds 0 @live.rdf", 2, Nothing);
    row("two folders", Local, Plain, "download-log @a @b", 2, Nothing);
    row("settings without action", Local, Plain, "settings @good.mnu", 2, Nothing);
    row("clock without sync", Local, Plain, "clock", 2, Nothing);
    row("bad timeout", Local, Plain, "--timeout -1 status", 2, Nothing);
    row("timeout not a number", Local, Plain, "--timeout nan status", 2, Nothing);
    row("bad retries", Local, Plain, "download-log --retries x @logs", 2, Nothing);
    row("too long", Local, Plain, "record --seconds 3601 @live.rdf", 2, Nothing);
    row("status with an argument", Local, Plain, "status now", 2, Nothing);
    row("settings with two files", Local, Plain, "settings get @a.mnu @b.mnu", 2, Nothing);
    row("clock with more", Local, Plain, "clock sync now", 2, Nothing);
    row("export without target", Nowhere, Plain, "export @good.rdf", 2, Nothing);
    row("report without files", Nowhere, Plain, "report --pdf @out.pdf", 2, Nothing);
    row("no server", Nowhere, Plain, "--device NOSERVER status", 3, Nothing);
    row("no driver plug-in", NoPlugins, Plain, "status", 3, Nothing);
    row("offline", Nowhere, Plain, "--timeout 1 status --json", 4, OfflineJson);
    row("offline, time-out after the command", Nowhere, Plain, "status --timeout 0.5", 4, Nothing);
    row("offline download", Nowhere, Plain, "--timeout 1 download-log @logs", 4, Nothing);
    row("offline download, folders made", Nowhere, Plain, "--timeout 1 download-log @new/logs", 4, FoldersGone);
    row("offline download, folders made in one kept", Nowhere, Plain, "--timeout 1 download-log @kept/new/logs", 4,
        FoldersGone);
    row("menu file missing", Local, Plain, "settings put @missing.mnu", 5, Nothing);
    row("menu file short", Local, Plain, "settings put @short.mnu", 5, Nothing);
    row("menu file long", Local, Plain, "settings put @long.mnu", 5, Nothing);
    row("export damaged", Nowhere, Plain, "export @damaged.ldf --csv @out.csv", 5, Nothing);
    row("export of another device", Nowhere, Plain, "export @other.rdf --csv @out.csv", 5, Nothing);
    row("export partly", Nowhere, Plain, "export @good.rdf @damaged.ldf --csv @out.csv", 5, Csv);
    row("log folder unwritable", Local, Plain, "download-log @blocker/logs", 6, Nothing);
    row("recording unwritable", Local, Plain, "record --seconds 1 @blocker/live.rdf", 6, Nothing);
    row("menu file unwritable", Local, Plain, "settings get @blocker/saved.mnu", 6, Nothing);
    row("export unwritable", Nowhere, Plain, "export @good.rdf --csv @blocker/out.csv", 6, Nothing);
    row("export, the disk full on the way", Nowhere, SmallFiles, "export @big.rdf --csv @out.csv", 6, NoCsv);
    row("report damaged", Nowhere, Plain, "report @good.rdf @damaged.ldf --pdf @out.pdf", 5, Nothing);
    row("report unwritable", Nowhere, Plain, "report @good.rdf --pdf @blocker/out.pdf", 6, Nothing);
    row("export over its input", Nowhere, Plain, "export @other.rdf @good.rdf --csv @good.rdf", 2, InputKept);
    row("report over its input", Nowhere, Plain, "report @good.rdf --pdf @./good.rdf", 2, InputKept);
    // @store holds the sites "Hall" (band 2 at -65 dBm, band 3 at -58 dBm),
    // "Cut" (its baseline file cut short) and "Hollow" (a baseline of no
    // samples); @rose.rdf has band 2 at -40 dBm, @good.rdf band 3 at -60.
    row("baseline capture", Local, Plain, "baseline capture --minutes 0.02 --site Hall2 --storage @store", 0,
        BaselineSaved);
    row("baseline capture into the client's storage", Local, Plain, "baseline capture --minutes 0.02 --site Hall2", 0,
        BaselineInClientStorage);
    row("baseline compare, none over", Nowhere, Plain, "baseline compare --site Hall --storage @store @good.rdf", 0,
        FlaggedLines);
    row("baseline compare, one band over", Nowhere, Plain,
        "baseline compare --site Hall --storage @store @good.rdf @rose.rdf", 1, FlaggedLines);
    row("baseline compare, a wider margin", Nowhere, Plain,
        "baseline compare --site Hall --storage @store --margin 30 @rose.rdf", 0, FlaggedLines);
    row("report with a baseline", Nowhere, Plain, "report @rose.rdf --pdf @out.pdf --baseline Hall --storage @store", 0,
        Pdf);
    row("baseline compare, missing site", Nowhere, Plain, "baseline compare --site Hall3 --storage @store @good.rdf", 5,
        NoBaselineMade);
    row("baseline compare, damaged baseline", Nowhere, Plain, "baseline compare --site Cut --storage @store @good.rdf",
        5, NoBaselineMade);
    row("baseline compare, no samples", Nowhere, Plain, "baseline compare --site Hollow --storage @store @good.rdf", 5,
        NoBaselineMade);
    row("baseline compare, damaged data", Nowhere, Plain, "baseline compare --site Hall --storage @store @damaged.ldf",
        5, NoBaselineMade);
    row("report, missing baseline", Nowhere, Plain, "report @good.rdf --pdf @out.pdf --baseline Hall3 --storage @store",
        5, NoCsv);
    row("baseline capture offline", Nowhere, Plain,
        "--timeout 1 baseline capture --minutes 0.02 --site Hall2 --storage @store", 4, NoBaselineMade);
    row("baseline without action", Nowhere, Plain, "baseline --site Hall @good.rdf", 2, Nothing);
    row("baseline without site", Nowhere, Plain, "baseline compare @good.rdf", 2, Nothing);
    row("baseline, site leads out", Nowhere, Plain, "baseline compare --site ../Hall @good.rdf", 2, Nothing);
    row("baseline compare without files", Nowhere, Plain, "baseline compare --site Hall", 2, Nothing);
    row("baseline capture, minutes no number", Local, Plain, "baseline capture --minutes nan --site Hall", 2, Nothing);
    row("baseline capture with files", Local, Plain, "baseline capture --minutes 1 --site Hall @good.rdf", 2, Nothing);
    row("baseline, margin below 0", Nowhere, Plain, "baseline compare --site Hall --margin -1 @good.rdf", 2, Nothing);
    // @good.mnu is no JSON; @rules.json holds a rule of the baseline.
    row("watch, rules no JSON", Nowhere, Plain, "watch --rules @good.mnu", 5, Nothing);
    row("watch, rules missing", Nowhere, Plain, "watch --rules @missing.json", 5, Nothing);
    row("watch, baseline rule without site", Nowhere, Plain, "watch --rules @rules.json", 5, Nothing);
    row("watch, missing baseline", Nowhere, Plain, "watch --rules @rules.json --site Hall3 --storage @store", 5,
        Nothing);
    row("watch with an argument", Nowhere, Plain, "watch now", 2, Nothing);
    row("watch, bad fingerprint", Nowhere, Plain, "--fingerprint 12 watch", 2, Nothing);
}

void tst_Ondrixctl::commands()
{
    QFETCH(Where, where);
    QFETCH(Setup, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(Check, check);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    DETECTOR& detector = where == Shared ? m_shared : where == ReadOnly ? m_readOnly : m_local;
    RUN run;
    run.command = arguments.value(arguments.value(0) == QLatin1String("--help") ? 1 : 0);
    run.menu = ChangedMenu(detector.simulator);
    QVERIFY(Write(work.filePath(QStringLiteral("good.mnu")), run.menu));
    QVERIFY(Write(work.filePath(QStringLiteral("short.mnu")), QByteArray(95, '\1')));
    QVERIFY(Write(work.filePath(QStringLiteral("long.mnu")), run.menu + '\1'));
    QVERIFY(Write(work.filePath(QStringLiteral("damaged.ldf")), QByteArray("\0\0\0\x0aRZ450", 9)));
    QVERIFY(Write(work.filePath(QStringLiteral("blocker")), "x"));
    QVERIFY(Write(work.filePath(QStringLiteral("rules.json")),
        R"({"version": 1, "rules": [{"seconds": 1, "condition": "baseline"}]})"));
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("kept")));
    CRecord record;
    record.band = 3;
    record.time = 1700000000;
    record.values.append({ -60, -80, 0, 0 });
    QVERIFY(CDataFile::Save(work.filePath(QStringLiteral("good.rdf")), QStringLiteral("RZ450"), 0, { record }));
    QVERIFY(CDataFile::Save(work.filePath(QStringLiteral("other.rdf")), QStringLiteral("XY100"), 0, { record }));
    QVERIFY(CDataFile::Save(work.filePath(QStringLiteral("big.rdf")), QStringLiteral("RZ450"), 0,
        QList<CRecord>(4000, record)));
    QVERIFY(MakeStore(work));
    for (auto key = m_keys.cbegin(); key != m_keys.cend(); ++key)
        QVERIFY(Write(work.filePath(key.key() + QStringLiteral(".key")), key.value() + '\n'));
    if ((where == Shared || where == ReadOnly) && !arguments.contains(QLatin1String("SERVER"))
        && !arguments.contains(QLatin1String("TLS")))
        arguments = QStringList { QStringLiteral("--device"), QStringLiteral("SERVER") } + arguments;
    for (QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('@')))
            argument = work.filePath(argument.mid(1));
        else if (argument == QLatin1String("SERVER"))
            argument = detector.server->Address();
        else if (argument == QLatin1String("TLS"))
            argument = QStringLiteral("ondrixs://") + detector.server->Address();
        else if (argument == QLatin1String("FINGERPRINT"))
            argument = m_strFingerprint;
        else if (argument == QLatin1String("NOSERVER"))
            argument = CServerProcess::RandomAddress();
    }
    if (setup == SkewedClock)
        detector.simulator.SetClock(QDateTime::currentDateTime().addSecs(-3 * 3600));
    else if (setup == BadChecksum)
        detector.simulator.InjectBadChecksum(1);
    else if (setup == EmptyLog) {
        // Frozen levels end no alarm, so nothing new is logged meanwhile.
        detector.simulator.SetFrozen(true);
        detector.simulator.ClearLog();
    }

    QProcess ondrixctl;
    Prepare(ondrixctl, where);
    // The client's settings and data of the row's own.
    QProcessEnvironment environment = ondrixctl.processEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), work.filePath(QStringLiteral("data")));
    ondrixctl.setProcessEnvironment(environment);
    if (setup == SmallFiles) {
        ondrixctl.setChildProcessModifier([] {
            // A write past the limit fails instead of ending the program.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { 64 * 1024, 64 * 1024 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    QString program = QStringLiteral(ONDRIXCTL_PROGRAM);
    if (where == NoPlugins) {
        QVERIFY(QFile::copy(program, work.filePath(QStringLiteral("ondrixctl"))));
        program = work.filePath(QStringLiteral("ondrixctl"));
    }
    ondrixctl.start(program, arguments);
    QVERIFY(ondrixctl.waitForFinished(60000));
    if (setup == EmptyLog) {
        detector.simulator.FillLog(6, 3);
        detector.simulator.SetFrozen(false);
    }
    run.out = ondrixctl.readAllStandardOutput();
    run.errors = ondrixctl.readAllStandardError();
    QCOMPARE(ondrixctl.exitStatus(), QProcess::NormalExit);
    QVERIFY2(ondrixctl.exitCode() == exitCode, run.errors.constData());
    // A failure says why; help and results go to standard output.
    QCOMPARE(run.errors.contains("ondrixctl: "), exitCode != 0);
    // A download that fails, or finds nothing, writes nothing.
    if (exitCode != 0 || setup == EmptyLog)
        QCOMPARE(Entries(work.filePath(QStringLiteral("logs"))), QStringList());
    Verify(check, detector, work, run);
}

void tst_Ondrixctl::Verify(Check check, DETECTOR& detector, const QTemporaryDir& work, const RUN& run)
{
    const QByteArray& out = run.out;
    QList<CRecord> records;
    qint32 kind = -1;
    switch (check) {
    case Nothing: break;
    case Help: {
        // The program's help lists the commands; a command's names it.
        const QByteArray usage = QByteArray("Usage: ondrixctl [options] ")
            + (run.command.isEmpty() ? QByteArray("COMMAND") : run.command.toLatin1());
        QVERIFY2(out.startsWith(usage), out.constData());
        QVERIFY(!run.command.isEmpty() || out.contains("\n  clock sync\n"));
        break;
    }
    case Lines: QVERIFY(out.contains("online      yes\n") && out.contains("self-test   RAM ok, flash ok")); break;
    case OfflineJson:
        QCOMPARE(QJsonDocument::fromJson(out).object(),
            QJsonObject({ { "connection", "local" }, { "online", false }, { "error", false } }));
        break;
    case Quiet:
        QCOMPARE(run.errors, QByteArray());
        QCOMPARE(Entries(work.filePath(QStringLiteral("logs"))).size(), 3);
        break;
    case Json: {
        const QJsonObject status = QJsonDocument::fromJson(out).object();
        QCOMPARE(status.value(QStringLiteral("online")).toBool(), true);
        QCOMPARE(status.value(QStringLiteral("device")).toString(), QStringLiteral("RZ450"));
        QCOMPARE(status.value(QStringLiteral("mode")).toString(), QStringLiteral("manual"));
        QCOMPARE(status.value(QStringLiteral("bank")).toInt(), detector.simulator.Bank());
        break;
    }
    case LogFiles: {
        // Each path printed is a whole log data file of the folder, and
        // nothing else is there.
        const QStringList printed = QString::fromLocal8Bit(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), 3);
        QCOMPARE(Entries(work.filePath(QStringLiteral("logs"))).size(), printed.size());
        for (const QString& path : printed) {
            QCOMPARE(CDataFile::Load(path, QStringLiteral("RZ450"), records, kind), CDataFile::Ok);
            QVERIFY(path.endsWith(QLatin1String(".ldf")) && kind == 2 && !records.isEmpty());
        }
        break;
    }
    case RecordFile:
        QCOMPARE(CDataFile::Load(work.filePath(QStringLiteral("live.rdf")), QStringLiteral("RZ450"), records, kind),
            CDataFile::Ok);
        QVERIFY(records.size() > 10 && kind == 0);
        break;
    case MenuFile: {
        QFile file(work.filePath(QStringLiteral("saved.mnu")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QCOMPARE(saved.size(), 96);
        QCOMPARE(saved.left(60), detector.simulator.Settings());
        break;
    }
    case SettingsTaken:
        QCOMPARE(detector.simulator.Settings(), run.menu.left(60));
        // Put back, so that the next row changes something again.
        detector.simulator.SetSettings(CRZ450Simulator::DefaultSettings());
        break;
    case ClockSet: QVERIFY(qAbs(detector.simulator.Clock().secsTo(QDateTime::currentDateTime())) <= 2); break;
    case Csv: {
        QFile file(work.filePath(QStringLiteral("out.csv")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.value(0).startsWith("file,record,value"));
        QVERIFY(lines.value(1).startsWith("good.rdf,1,1,"));
        break;
    }
    case Pdf: {
        QFile file(work.filePath(QStringLiteral("out.pdf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        break;
    }
    case InputKept:
        QCOMPARE(CDataFile::Load(work.filePath(QStringLiteral("good.rdf")), QStringLiteral("RZ450"), records, kind),
            CDataFile::Ok);
        break;
    case NoCsv:
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("out.csv"))));
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("out.pdf"))));
        break;
    case BaselineSaved:
    case BaselineInClientStorage: {
        // The path printed is the site's one baseline, of the detector's live levels.
        const QString store
            = check == BaselineSaved ? work.filePath(QStringLiteral("store")) : work.filePath(QStringLiteral("chosen"));
        const QStringList files = CBaselineFile::List(store, QStringLiteral("Hall2"));
        QCOMPARE(files.size(), 1);
        QCOMPARE(QString::fromLocal8Bit(out), files.first() + QLatin1Char('\n'));
        CBaseline baseline;
        QString error;
        QVERIFY2(CBaselineFile::Load(files.first(), baseline, error), qPrintable(error));
        QVERIFY(baseline.Samples() > 10 && baseline.device == QLatin1String("RZ450"));
        break;
    }
    case FlaggedLines:
        // One line for each band over, and only then.
        QCOMPARE(out.startsWith("GSM1800 (band 2): peak -40 dBm, 25.0 dB over its 95th percentile, "),
            run.errors.contains("1 band"));
        QCOMPARE(out.count('\n'), run.errors.contains("1 band") ? 1 : 0);
        break;
    case NoBaselineMade:
        // Nothing was added to the storage, and what was there stays.
        QCOMPARE(Entries(work.filePath(QStringLiteral("store/Sites"))), QStringList({ "Cut", "Hall", "Hollow" }));
        QCOMPARE(Entries(work.filePath(QStringLiteral("store/Sites/Hall"))).size(), 1);
        QCOMPARE(QFileInfo(CBaselineFile::List(work.filePath(QStringLiteral("store")), QStringLiteral("Cut")).value(0))
                     .size(),
            20);
        break;
    case FoldersGone:
        // Those the command made go; the one it found stays.
        QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("new"))));
        QCOMPARE(Entries(work.filePath(QStringLiteral("kept"))), QStringList());
        QVERIFY(QFileInfo(work.filePath(QStringLiteral("kept"))).isDir());
        break;
    }
}

void tst_Ondrixctl::interruptedLeavesNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("started");
    QTest::addColumn<int>("signalNumber");
    const QStringList download { QStringLiteral("download-log"), QStringLiteral("@logs") };
    const QStringList record { QStringLiteral("record"), QStringLiteral("--seconds"), QStringLiteral("30"),
        QStringLiteral("@live.rdf") };
    QTest::newRow("download-log") << download << QByteArray("Downloading the event log") << SIGINT;
    QTest::newRow("record") << record << QByteArray("Recording:") << SIGINT;
    QTest::newRow("record, SIGTERM") << record << QByteArray("Recording:") << SIGTERM;
    QTest::newRow("baseline capture") << QStringList { QStringLiteral("baseline"), QStringLiteral("capture"),
        QStringLiteral("--minutes"), QStringLiteral("1"), QStringLiteral("--site"), QStringLiteral("Hall"),
        QStringLiteral("--storage"), QStringLiteral("@store") }
                                      << QByteArray("Capturing the baseline of Hall:") << SIGINT;
    // No signal: the server the detector is shared by goes away instead.
    QTest::newRow("download-log, the server gone") << QStringList { QStringLiteral("--device"),
        QStringLiteral("SERVER"), QStringLiteral("download-log"), QStringLiteral("@new/logs") }
                                                   << QByteArray("Downloading the event log:") << 0;
}

void tst_Ondrixctl::interruptedLeavesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, started);
    QFETCH(int, signalNumber);
    QTemporaryDir work;
    // A full log at the line rate takes about three seconds to arrive.
    m_local.simulator.FillLog(1000, 4);
    m_local.pty.SetPaced(true);
    std::unique_ptr<CServerProcess> server;
    for (QString& argument : arguments) {
        if (argument.startsWith(QLatin1Char('@')))
            argument = work.filePath(argument.mid(1));
        if (argument != QLatin1String("SERVER"))
            continue;
        server = std::make_unique<CServerProcess>(m_local.pty.Path());
        QVERIFY(server->Start(CServerProcess::RandomAddress()));
        argument = server->Address();
    }
    QProcess ondrixctl;
    Prepare(ondrixctl, Local);
    ondrixctl.setReadChannel(QProcess::StandardError);
    ondrixctl.start(QStringLiteral(ONDRIXCTL_PROGRAM), arguments);
    QVERIFY(ondrixctl.waitForStarted());
    QByteArray errors;
    QDeadlineTimer deadline(20000);
    while (!errors.contains(started) && !deadline.hasExpired() && ondrixctl.state() == QProcess::Running) {
        ondrixctl.waitForReadyRead(100);
        errors += ondrixctl.readAllStandardError();
    }
    QVERIFY2(errors.contains(started), errors.constData());
    QTest::qWait(500);
    if (signalNumber == 0)
        server->Kill();
    else
        ::kill(pid_t(ondrixctl.processId()), signalNumber);
    QVERIFY(ondrixctl.waitForFinished(15000));
    m_local.pty.SetPaced(false);
    m_local.simulator.FillLog(6, 3);
    QCOMPARE(ondrixctl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ondrixctl.exitCode(), signalNumber == 0 ? 3 : 128 + signalNumber);
    // The log folder was made before the download, and stays empty.
    QCOMPARE(Entries(work.path()),
        QDir(work.filePath(QStringLiteral("logs"))).exists() ? QStringList { "logs" } : QStringList());
    QCOMPARE(Entries(work.filePath(QStringLiteral("logs"))), QStringList());
}

// Three detectors: one shared in clear, the same over TLS, and a server that
// is not there, which the others must not wait for.
void tst_Ondrixctl::watchTellsAlerts()
{
    QTemporaryDir work;
    QVERIFY(Write(work.filePath(QStringLiteral("rules.json")), R"({"version": 1, "rules": [{"seconds": 1}]})"));
    QVERIFY(Write(work.filePath(QStringLiteral("view.key")), m_keys.value(QStringLiteral("view")) + '\n'));
    const QString plain = m_shared.server->Address();
    const QString tls = QStringLiteral("ondrixs://") + plain;
    const QString nowhere = CServerProcess::RandomAddress();
    m_shared.simulator.SetMode(CRZ450Simulator::MODE_AUTO);
    m_shared.simulator.SetIndicationFlags({ 4 });
    QProcess ondrixctl;
    Prepare(ondrixctl, Shared);
    ondrixctl.start(QStringLiteral(ONDRIXCTL_PROGRAM),
        { QStringLiteral("--device"), plain, QStringLiteral("--device"), nowhere, QStringLiteral("--device"), tls,
            QStringLiteral("--fingerprint"), m_strFingerprint, QStringLiteral("--key-file"),
            work.filePath(QStringLiteral("view.key")), QStringLiteral("watch"), QStringLiteral("--rules"),
            work.filePath(QStringLiteral("rules.json")) });
    QVERIFY(ondrixctl.waitForStarted());
    QSet<QString> started;
    QByteArray out;
    QDeadlineTimer deadline(20000);
    while (started.size() < 2 && !deadline.hasExpired() && ondrixctl.state() == QProcess::Running) {
        ondrixctl.waitForReadyRead(100);
        out += ondrixctl.readAllStandardOutput();
        for (const QByteArray& line : out.split('\n')) {
            const QJsonObject alert = QJsonDocument::fromJson(line).object();
            if (alert.value(QStringLiteral("event")) == QLatin1String("start")
                && alert.value(QStringLiteral("band")) == 4)
                started.insert(alert.value(QStringLiteral("detector")).toString());
        }
    }
    ::kill(pid_t(ondrixctl.processId()), SIGTERM);
    QVERIFY(ondrixctl.waitForFinished(15000));
    m_shared.simulator.ClearIndicationFlags();
    m_shared.simulator.SetMode(CRZ450Simulator::MODE_MAN);
    QCOMPARE(started, (QSet<QString> { plain, tls }));
    QVERIFY(ondrixctl.readAllStandardError().contains(QByteArray(nowhere.toUtf8() + ": offline")));
    QCOMPARE(ondrixctl.exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_Ondrixctl)
#include "tst_Ondrixctl.moc"
