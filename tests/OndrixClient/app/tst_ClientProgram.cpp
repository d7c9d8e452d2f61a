// The installed program as a user starts it: the client from the program
// folder with the real driver and device GUI plug-ins beside it, a simulated
// detector on a pseudo-terminal, until live records have been drawn.
#include "CPtyServer.h"
#include "CRZ450Simulator.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestClientProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsLiveRecordsWithTheRealPlugins_data();
    void drawsLiveRecordsWithTheRealPlugins();
};

void TestClientProgram::drawsLiveRecordsWithTheRealPlugins_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("mode");
    QTest::newRow("English, manual") << "en_US" << int(CRZ450Simulator::MODE_MAN);
    QTest::newRow("Russian, automatic") << "ru_RU" << int(CRZ450Simulator::MODE_AUTO);
}

void TestClientProgram::drawsLiveRecordsWithTheRealPlugins()
{
    QFETCH(QString, language);
    QFETCH(int, mode);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    CRZ450Simulator simulator;
    simulator.SetMode(mode);
    CPtyServer server(&simulator);
    QVERIFY(server.Start(folder.filePath(QStringLiteral("ttyRZ450"))));

    QDir(folder.path()).mkpath(QStringLiteral("config/Korvent"));
    QFile settings(folder.filePath(QStringLiteral("config/Korvent/RZ450 Ondrix.conf")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[%General]\nLanguage=" + language.toLatin1() + "\n");
    settings.close();

    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RZ450_PORT"), server.Path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // In a sanitizer build the leak check at the child's exit has crashed
    // on its own (its thread-stopping tracer) on a loaded machine. The
    // in-process tests check the same code for leaks; this one is about the
    // program and its plug-ins working together.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
        sanitizer + (sanitizer.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString picture = folder.filePath(QStringLiteral("window.png"));
    client.start(QStringLiteral(ONDRIX_CLIENT_PROGRAM), { QStringLiteral("--screenshot"), picture });
    QVERIFY(client.waitForFinished(60000));
    QCOMPARE(client.exitStatus(), QProcess::NormalExit);
    // 0 only once live records reached the diagram.
    QCOMPARE(client.exitCode(), 0);
    const QImage image(picture);
    QVERIFY(image.width() >= 600 && image.height() >= 400);
}

QTEST_MAIN(TestClientProgram)
#include "tst_ClientProgram.moc"
