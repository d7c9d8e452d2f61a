// The simulator served on a pseudo-terminal, seen from a client that opens the
// link path with plain POSIX calls: exchanges, disconnect and reconnect, the
// replug after a cut log download, pacing; and the program's command language.
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CSimConsole.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <memory>

namespace {

const QByteArray POLL(1, char(0xA3));
const QByteArray TIME_REPLY("\x01\x02\x08\x0E\x05\x07", 6);

// Reads until `expect` bytes arrived, the line hung up or the time ran out.
QByteArray Exchange(int fd, const QByteArray& out, int expect, int timeoutMs = 2000)
{
    if (!out.isEmpty() && write(fd, out.constData(), size_t(out.size())) != out.size())
        return {};
    QByteArray in;
    QElapsedTimer timer;
    timer.start();
    while (in.size() < expect && timer.elapsed() < timeoutMs) {
        pollfd pfd { fd, POLLIN, 0 };
        if (poll(&pfd, 1, 50) <= 0)
            continue;
        char buffer[1024];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break; // hung up
        in.append(buffer, int(got));
    }
    return in;
}

bool HungUp(int fd)
{
    pollfd pfd { fd, POLLIN, 0 };
    if (poll(&pfd, 1, 2000) <= 0)
        return false;
    char byte = 0;
    return (pfd.revents & POLLHUP) || read(fd, &byte, 1) <= 0;
}

} // namespace

class TestPtyServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void servesTheProtocolOnTheLink();
    void disconnectAndReconnectKeepThePath();
    void cutLogDownloadReplugs();
    void pacedLinkKeepsToTheLineRate();
    void unpacedLinkAddsNoDelay();
    void consoleCommands();

private:
    int OpenClient(); // -1 on failure
    void Handshake(int fd);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CRZ450Simulator> m_sim;
    std::unique_ptr<CPtyServer> m_server;
    QString m_link;
    QList<int> m_fds;
};

void TestPtyServer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_sim = std::make_unique<CRZ450Simulator>();
    m_sim->SetFrozen(true);
    m_server = std::make_unique<CPtyServer>(m_sim.get());
    m_link = m_dir->filePath(QStringLiteral("ttyTest"));
    QVERIFY2(m_server->Start(m_link), qPrintable(m_server->ErrorString()));
}

void TestPtyServer::cleanup()
{
    for (int fd : m_fds)
        close(fd);
    m_fds.clear();
    m_server.reset();
    QVERIFY(!QFileInfo::exists(m_link) && !QFileInfo(m_link).isSymLink());
    m_sim.reset();
    m_dir.reset();
}

int TestPtyServer::OpenClient()
{
    const int fd = open(QFile::encodeName(m_link).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    m_fds.append(fd);
    termios mode {};
    tcgetattr(fd, &mode);
    cfmakeraw(&mode);
    tcsetattr(fd, TCSANOW, &mode);
    return fd;
}

void TestPtyServer::Handshake(int fd)
{
    const QByteArray question = Exchange(fd, POLL, 300);
    QCOMPARE(question.size(), 300);
    QCOMPARE(int(question[0]), 1);
    QVERIFY(Exchange(fd, TIME_REPLY, 0, 0).isEmpty());
}

void TestPtyServer::servesTheProtocolOnTheLink()
{
    QVERIFY(QFileInfo(m_link).isSymLink());
    QCOMPARE(QFileInfo(m_link).symLinkTarget(), m_server->SlavePath());
    const int fd = OpenClient();
    QVERIFY(fd >= 0);
    Handshake(fd);
    for (int i = 0; i < 3; ++i) {
        const QByteArray report = Exchange(fd, POLL, 300);
        QCOMPARE(report.size(), 300);
        QCOMPARE(int(report[0]), 0);
        QCOMPARE(int(report[5]), 2); // the clock the host sent: March
        Exchange(fd, QByteArray(1, char(9)), 0, 0);
    }
    QTRY_COMPARE(m_sim->Commands(), QList<quint8>({ 9, 9, 9 }));
    QCOMPARE(m_sim->LastTimeReply(), TIME_REPLY);
    // Nothing was echoed or held back by the line discipline.
    QVERIFY(Exchange(fd, {}, 1, 100).isEmpty());
}

void TestPtyServer::disconnectAndReconnectKeepThePath()
{
    const int fd = OpenClient();
    Handshake(fd);
    m_server->Disconnect();
    QVERIFY(!m_server->IsConnected());
    QVERIFY(HungUp(fd));
    QVERIFY(!QFileInfo(m_link).isSymLink()); // never left pointing at a freed pty
    QVERIFY(m_server->Reconnect());
    QCOMPARE(QFileInfo(m_link).symLinkTarget(), m_server->SlavePath());
    const int again = OpenClient();
    QVERIFY(again >= 0);
    Handshake(again); // the detector restarted: it asks for the time again
    QCOMPARE(Exchange(again, POLL, 300).size(), 300);
}

void TestPtyServer::cutLogDownloadReplugs()
{
    m_server->SetReplugDelay(100);
    m_sim->FillLog(5, 1);
    m_sim->InjectDisconnectAtBlock(2);
    const QString before = m_server->SlavePath();
    const int fd = OpenClient();
    Handshake(fd);
    QCOMPARE(Exchange(fd, POLL, 300).size(), 300);
    Exchange(fd, QByteArray(1, char(2)), 0, 0);
    QCOMPARE(Exchange(fd, QByteArray(1, char(0xFE)), 267).size(), 267);
    QCOMPARE(Exchange(fd, QByteArray(1, char(0xFE)), 267).size(), 267);
    QVERIFY(Exchange(fd, QByteArray(1, char(0xFE)), 267, 500).isEmpty());
    QVERIFY(HungUp(fd));
    QVERIFY(!QFileInfo(m_link).isSymLink());
    // The client still holds the old pty open, so its number cannot come back.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_link).isSymLink() && QFileInfo(m_link).symLinkTarget() != before, 3000);
    const int again = OpenClient();
    QVERIFY(again >= 0);
    Handshake(again);
}

void TestPtyServer::pacedLinkKeepsToTheLineRate()
{
    m_server->SetPaced(true);
    const int fd = OpenClient();
    Handshake(fd);
    constexpr int EXCHANGES = 60;
    // 302 bytes of 10 bits each at 921600 baud
    constexpr double LINE_MS = 302 * 10 * 1000.0 / 921600;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < EXCHANGES; ++i) {
        QElapsedTimer one;
        one.start();
        QCOMPARE(Exchange(fd, POLL, 300).size(), 300);
        QVERIFY2(one.nsecsElapsed() >= qint64(300 * 10 * 1e9 / 921600), "an answer came faster than the line");
        Exchange(fd, QByteArray(1, char(0xFF)), 0, 0);
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    QVERIFY2(ms >= EXCHANGES * LINE_MS * 0.98, qPrintable(QString::number(ms)));
    QVERIFY2(ms < EXCHANGES * LINE_MS * 4, qPrintable(QString::number(ms)));
}

void TestPtyServer::unpacedLinkAddsNoDelay()
{
    const int fd = OpenClient();
    Handshake(fd);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100; ++i) {
        QCOMPARE(Exchange(fd, POLL, 300).size(), 300);
        Exchange(fd, QByteArray(1, char(0xFF)), 0, 0);
    }
    // Well under the paced 3.3 ms per exchange even on a busy machine.
    QVERIFY2(timer.elapsed() < 100 * 3, qPrintable(QString::number(timer.elapsed())));
}

void TestPtyServer::consoleCommands()
{
    CSimConsole console(m_sim.get(), m_server.get());
    QVERIFY(console.Execute(QStringLiteral("frobnicate")).startsWith(QLatin1String("unknown command")));
    QVERIFY(console.Execute(QStringLiteral("band 31")).startsWith(QLatin1String("usage")));
    QCOMPARE(console.Execute(QStringLiteral("  mode   auto ")), QStringLiteral("ok"));
    QCOMPARE(m_sim->Mode(), int(CRZ450Simulator::MODE_AUTO));
    console.Execute(QStringLiteral("band 7"));
    console.Execute(QStringLiteral("mode manual"));
    QCOMPARE(m_sim->Band(), 7);
    console.Execute(QStringLiteral("key 3"));
    QVERIFY(m_sim->Muted());
    QVERIFY(console.Execute(QStringLiteral("log 4 2")).contains(QLatin1String("4 blocks, current bank 2")));
    QVERIFY(console.Execute(QStringLiteral("status")).startsWith(QLatin1String("mode manual band 7 bank 2")));

    const int fd = OpenClient();
    Handshake(fd);
    console.Execute(QStringLiteral("silence 1"));
    console.Execute(QStringLiteral("short 1 40"));
    QVERIFY(Exchange(fd, POLL, 300, 300).isEmpty());
    QCOMPARE(Exchange(fd, POLL, 300, 300).size(), 40);
    console.Execute(QStringLiteral("unknown 1"));
    QCOMPARE(int(Exchange(fd, POLL, 300).at(0)), 7);

    QCOMPARE(console.Execute(QStringLiteral("disconnect")), QStringLiteral("ok"));
    QVERIFY(HungUp(fd));
    QVERIFY(console.Execute(QStringLiteral("reconnect")).startsWith(QLatin1String("ok")));
    console.Execute(QStringLiteral("quit"));
    QVERIFY(console.QuitRequested());
}

QTEST_GUILESS_MAIN(TestPtyServer)
#include "tst_PtyServer.moc"
