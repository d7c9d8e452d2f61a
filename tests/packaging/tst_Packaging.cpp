// The system as a user installs it: `cmake --install` of this build into a
// temporary prefix, and the Debian package that cpack makes of it, unpacked.
// From both, the programs start through their launchers from any folder, the
// client named by the desktop entry draws a simulated detector's live
// records; the desktop data validates and lintian finds no errors. The
// detector's device nodes belong to a group of their own, which the package
// creates and the server's unit joins.
#include "CPtyServer.h"
#include "CRZ450Simulator.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const BUILD_DIR = ONDRIX_BUILD_DIR;
const QString APP_ID = QStringLiteral(ONDRIX_APP_ID);
const QString PRIVATE_DIR = QStringLiteral(ONDRIX_PRIVATE_DIR);
const QStringList PROGRAMS
    = { QStringLiteral("OndrixClient"), QStringLiteral("OndrixServer"), QStringLiteral("ondrixctl") };
// Everything of the private folder: a development tool or a test library
// turning up in it fails the test.
const QStringList PRIVATE_FILES = { QStringLiteral("GuiKit.so"), QStringLiteral("GuiKitNetwork.so"),
    QStringLiteral("GuiModuleRZ450.so"), QStringLiteral("ModuleRZ450.so"), QStringLiteral("OndrixClient"),
    QStringLiteral("OndrixServer"), QStringLiteral("PlugHub.so"), QStringLiteral("ondrixctl") };
const int ICON_SIZES[] = { 16, 32, 48, 64, 128, 256 };
const QString DEVICE_GROUP = QStringLiteral(ONDRIX_DEVICE_GROUP);

// Installed: the prefix holds everything. Packaged: the files of /usr under
// usr/, the udev rule and the unit under lib/ of the unpacked package.
enum Root { Installed, Packaged };

struct RUN
{
    int exitCode = -1;
    QByteArray output;
};

RUN Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
    const QString& folder, int timeoutMs = 180000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const bool ended = finished && process.exitStatus() == QProcess::NormalExit;
    return { ended ? process.exitCode() : -1, (finished ? "" : "timed out: ") + process.readAll() };
}

} // namespace

Q_DECLARE_METATYPE(Root)

class tst_Packaging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout_data();
    void layout();
    void serverNeedsNoDesktop_data();
    void serverNeedsNoDesktop();
    void programsStart_data();
    void programsStart();
    void clientDrawsLiveRecords_data();
    void clientDrawsLiveRecords();
    void deviceGroup_data();
    void deviceGroup();
    void postinstMakesGroup();
    void desktopDataValidates();
    void lintianFindsNoErrors();

private:
    QString Prefix(Root root) const;
    QString SystemRoot(Root root) const;
    QProcessEnvironment Environment(const QString& port = QString(), const QString& home = QString()) const;

    QTemporaryDir m_work;
    QString m_strDeb;
};

QString tst_Packaging::Prefix(Root root) const
{
    return m_work.filePath(root == Installed ? QStringLiteral("prefix") : QStringLiteral("unpacked/usr"));
}

QString tst_Packaging::SystemRoot(Root root) const
{
    return root == Installed ? Prefix(root) : m_work.filePath(QStringLiteral("unpacked"));
}

QProcessEnvironment tst_Packaging::Environment(const QString& port, const QString& home) const
{
    const QDir folder(home.isEmpty() ? m_work.path() : home);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RZ450_PORT"),
        port.isEmpty() ? folder.filePath(QStringLiteral("no-port")) : port);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    // The child's own leak check has crashed on a loaded machine; the
    // in-process tests check the same code for leaks.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
        sanitizer + (sanitizer.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    return environment;
}

void tst_Packaging::initTestCase()
{
    QVERIFY(m_work.isValid());
    const QProcessEnvironment environment = Environment();
    QVERIFY(QDir(m_work.path()).mkpath(QStringLiteral("anywhere")));
    RUN run = Run(QStringLiteral(ONDRIX_CMAKE_COMMAND),
        { QStringLiteral("--install"), QLatin1String(BUILD_DIR), QStringLiteral("--prefix"), Prefix(Installed) },
        environment, m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());

    const QString packages = m_work.filePath(QStringLiteral("package"));
    run = Run(QStringLiteral(ONDRIX_CPACK_COMMAND),
        { QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
            QLatin1String(BUILD_DIR) + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), packages },
        environment, m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());
    const QStringList debs = QDir(packages).entryList({ QStringLiteral("*.deb") }, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_strDeb = QDir(packages).filePath(debs.first());
    run = Run(QStringLiteral("dpkg-deb"), { QStringLiteral("-x"), m_strDeb, SystemRoot(Packaged) }, environment,
        m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());
    run = Run(QStringLiteral("dpkg-deb"),
        { QStringLiteral("-e"), m_strDeb, m_work.filePath(QStringLiteral("control")) }, environment, m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());
}

void tst_Packaging::layout_data()
{
    QTest::addColumn<Root>("root");
    QTest::addColumn<QString>("unitProgram");
    QTest::newRow("installed") << Installed
                               << QString(Prefix(Installed) + QLatin1Char('/') + PRIVATE_DIR + "/OndrixServer");
    QTest::newRow("packaged") << Packaged << QString(QStringLiteral("/usr/") + PRIVATE_DIR + "/OndrixServer");
}

void tst_Packaging::layout()
{
    QFETCH(Root, root);
    QFETCH(QString, unitProgram);
    const QDir prefix(Prefix(root));
    QCOMPARE(QDir(prefix.filePath(PRIVATE_DIR)).entryList(QDir::Files, QDir::Name), PRIVATE_FILES);
    QCOMPARE(QDir(prefix.filePath(QStringLiteral("bin")))
                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
        PROGRAMS);
    for (const QString& program : PROGRAMS) {
        const QFileInfo launcher(prefix.filePath(QStringLiteral("bin/") + program));
        // Inside the prefix wherever it is: the link is relative.
        QVERIFY(launcher.isSymLink());
        QCOMPARE(launcher.canonicalFilePath(),
            QFileInfo(prefix.filePath(PRIVATE_DIR + '/' + program)).canonicalFilePath());
        QVERIFY(QFileInfo::exists(prefix.filePath(QStringLiteral("share/man/man1/") + program + ".1.gz")));
    }
    for (const char* file : { "share/doc/ondrix/changelog.gz", "share/doc/ondrix/copyright" })
        QVERIFY2(QFileInfo::exists(prefix.filePath(QLatin1String(file))), file);
    QVERIFY(QFileInfo::exists(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/") + APP_ID + ".svg")));
    for (int size : ICON_SIZES) {
        const QImage icon(
            prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(APP_ID)));
        QCOMPARE(icon.size(), QSize(size, size));
        // Drawn, not blank.
        QVERIFY(icon.pixelColor(size / 2, size * 3 / 4).alpha() > 0);
    }

    const QDir system(SystemRoot(root));
    QVERIFY(QFileInfo::exists(system.filePath(QStringLiteral("lib/udev/rules.d/70-ondrix-rz450.rules"))));
    QFile unit(system.filePath(QStringLiteral("lib/systemd/system/ondrix-server.service")));
    QVERIFY(unit.open(QIODevice::ReadOnly));
    const QByteArray text = unit.readAll();
    QVERIFY2(text.contains(QByteArray("\nExecStart=" + unitProgram.toUtf8() + ' ')), text.constData());
    // No placeholder left unfilled.
    QVERIFY(!QString::fromUtf8(text).contains(QRegularExpression(QStringLiteral("@[A-Z_]+@"))));
}

// A headless server on a small board: nothing the server process loads may
// pull in the desktop stack.
void tst_Packaging::serverNeedsNoDesktop_data()
{
    QTest::addColumn<QString>("file");
    for (const char* file : { "OndrixServer", "GuiKitNetwork.so", "PlugHub.so", "ModuleRZ450.so" })
        QTest::newRow(file) << QString::fromLatin1(file);
}

void tst_Packaging::serverNeedsNoDesktop()
{
    QFETCH(QString, file);
    const QString path = Prefix(Installed) + QLatin1Char('/') + PRIVATE_DIR + QLatin1Char('/') + file;
    const RUN run = Run(QStringLiteral("ldd"), { path }, Environment(), m_work.path());
    QVERIFY2(run.exitCode == 0 && run.output.contains("libQt6Core"), run.output.constData());
    for (const char* desktop : { "libQt6Gui", "libQt6Widgets", "libQt6Svg", "GuiKit.so" })
        QVERIFY2(!run.output.contains(desktop), run.output.constData());
}

void tst_Packaging::programsStart_data()
{
    QTest::addColumn<Root>("root");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray version(ONDRIX_PROJECT_VERSION);
    for (Root root : { Installed, Packaged }) {
        const char* where = root == Installed ? "installed " : "packaged ";
        const auto row = [&](const char* name, const char* program, const char* arguments, const QByteArray& expected) {
            QTest::newRow(QByteArray(QByteArray(where) + name).constData())
                << root << QString::fromLatin1(program)
                << QString::fromLatin1(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts) << expected;
        };
        row("ondrixctl version", "ondrixctl", "--version", version);
        row("ondrixctl status", "ondrixctl", "status --json", "\"online\": true");
        row("server version", "OndrixServer", "--version", version);
        row("server help", "OndrixServer", "--help", "--listen");
        row("client help", "OndrixClient", "--help", "--screenshot");
    }
}

void tst_Packaging::programsStart()
{
    QFETCH(Root, root);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    CRZ450Simulator simulator;
    CPtyServer pty(&simulator);
    QVERIFY(pty.Start(m_work.filePath(QStringLiteral("ttyStart"))));
    const RUN run = Run(Prefix(root) + QStringLiteral("/bin/") + program, arguments, Environment(pty.Path()),
        m_work.filePath(QStringLiteral("anywhere")));
    QVERIFY2(run.exitCode == 0 && run.output.contains(expected), run.output.constData());
}

void tst_Packaging::clientDrawsLiveRecords_data()
{
    QTest::addColumn<Root>("root");
    QTest::addColumn<QString>("language");
    QTest::newRow("installed, English") << Installed << "en_US";
    QTest::newRow("packaged, Russian") << Packaged << "ru_RU";
}

void tst_Packaging::clientDrawsLiveRecords()
{
    QFETCH(Root, root);
    QFETCH(QString, language);
    QSettings entry(Prefix(root) + QStringLiteral("/share/applications/") + APP_ID + ".desktop", QSettings::IniFormat);
    const QStringList exec = entry.value(QStringLiteral("Desktop Entry/Exec")).toString().split(QLatin1Char(' '));
    // What the desktop starts: the entry's program, found on the PATH.
    const QString program = QStandardPaths::findExecutable(exec.first(), { Prefix(root) + QStringLiteral("/bin") });
    QVERIFY2(!program.isEmpty(), qPrintable(exec.first()));

    CRZ450Simulator simulator;
    CPtyServer pty(&simulator);
    QVERIFY(pty.Start(m_work.filePath(QStringLiteral("ttyClient"))));
    QTemporaryDir home(m_work.filePath(QStringLiteral("homeXXXXXX")));
    QSettings settings(home.filePath(QStringLiteral("config/Korvent/RZ450 Ondrix.conf")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("General/Language"), language);
    settings.sync();
    const QString picture = home.filePath(QStringLiteral("window.png"));
    const RUN run = Run(program, exec.mid(1) + QStringList { QStringLiteral("--screenshot"), picture },
        Environment(pty.Path(), home.path()), m_work.filePath(QStringLiteral("anywhere")), 60000);
    // 0 only once live records reached the diagram.
    QVERIFY2(run.exitCode == 0, run.output.constData());
    const QImage image(picture);
    QVERIFY(image.width() >= 600 && image.height() >= 400);
}

void tst_Packaging::deviceGroup_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("eachRule"); // every line but comments and sections; empty: any
    QTest::addColumn<QString>("someLine");
    const QString group = QRegularExpression::escape(DEVICE_GROUP);
    const auto row = [](const QByteArray& name, const QString& file, const QString& eachRule, const QString& someLine) {
        QTest::newRow(name.constData()) << file << eachRule << someLine;
    };
    for (Root root : { Installed, Packaged }) {
        const QByteArray where = root == Installed ? "installed " : "packaged ";
        const QString system = SystemRoot(root) + QStringLiteral("/lib/");
        row(where + "sysusers", Prefix(root) + QStringLiteral("/lib/sysusers.d/" ONDRIX_SYSUSERS_FILE),
            "^g " + group + " -$", "^g " + group + ' ');
        // The detector's own nodes by their description, never a vendor's every one.
        row(where + "udev rule", system + "udev/rules.d/70-ondrix-rz450.rules",
            "ATTRS?\\{product\\}==\"[^\"]*\\w[^\"]*\".*GROUP=\"" + group + '"', QStringLiteral("TAG\\+=\"uaccess\""));
        row(where + "unit", system + "systemd/system/ondrix-server.service", QString(),
            "^SupplementaryGroups=" + group + '$');
    }
    row("postinst", m_work.filePath(QStringLiteral("control/postinst")), QString(),
        "^\\s+systemd-sysusers .*" + QRegularExpression::escape(ONDRIX_SYSUSERS_FILE) + '$');
}

void tst_Packaging::deviceGroup()
{
    QFETCH(QString, file);
    QFETCH(QString, eachRule);
    QFETCH(QString, someLine);
    QFile text(file);
    QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(file));
    const QStringList lines = QString::fromUtf8(text.readAll()).split(QLatin1Char('\n'));
    QVERIFY2(!lines.filter(QRegularExpression(someLine)).isEmpty(), qPrintable(someLine));
    const QRegularExpression skipped(QStringLiteral("^(#.*|\\[.*\\]|\\s*)$"));
    for (const QString& line : lines)
        QVERIFY2(eachRule.isEmpty() || skipped.match(line).hasMatch() || line.contains(QRegularExpression(eachRule)),
            qPrintable(line));
}

// Into a root of its own (DPKG_ROOT), as dpkg does for a system being
// built: the test's machine keeps its groups.
void tst_Packaging::postinstMakesGroup()
{
    QVERIFY(!QStandardPaths::findExecutable(QStringLiteral("systemd-sysusers")).isEmpty());
    const QDir root(m_work.filePath(QStringLiteral("root")));
    QVERIFY(root.mkpath(QStringLiteral("etc")));
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("DPKG_ROOT"), root.path());
    RUN run
        = Run(QStringLiteral("dpkg-deb"), { QStringLiteral("-x"), m_strDeb, root.path() }, environment, m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());
    run = Run(m_work.filePath(QStringLiteral("control/postinst")), { QStringLiteral("configure") }, environment,
        m_work.path());
    QVERIFY2(run.exitCode == 0, run.output.constData());
    QFile groups(root.filePath(QStringLiteral("etc/group")));
    QVERIFY(groups.open(QIODevice::ReadOnly));
    const QByteArray text = '\n' + groups.readAll();
    QVERIFY2(text.contains(QByteArray('\n' + DEVICE_GROUP.toUtf8() + ":x:")), text.constData());
}

void tst_Packaging::desktopDataValidates()
{
    const QString share = Prefix(Packaged) + QStringLiteral("/share/");
    const QList<QStringList> validations = {
        { "desktop-file-validate", share + "applications/" + APP_ID + ".desktop" },
        { "appstreamcli", "validate", "--no-net", share + "metainfo/" + APP_ID + ".metainfo.xml" },
    };
    for (const QStringList& validation : validations) {
        const RUN run = Run(validation.first(), validation.mid(1), Environment(), m_work.path());
        QVERIFY2(run.exitCode == 0, qPrintable(validation.first() + ": " + QString::fromUtf8(run.output)));
    }
}

void tst_Packaging::lintianFindsNoErrors()
{
    const RUN run = Run(QStringLiteral("lintian"), { m_strDeb }, Environment(), m_work.path());
    // The warnings are for people to read; errors fail.
    qInfo().noquote() << run.output;
    const QStringList errors
        = QString::fromUtf8(run.output).split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^E: ")));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
    QVERIFY2(run.exitCode == 0, run.output.constData());
}

QTEST_GUILESS_MAIN(tst_Packaging)
#include "tst_Packaging.moc"
