// The real proxy against the real server's encrypted port, the simulated
// detector behind it: identity, access keys, and the peers that break the
// rules.
#include "CModalWatcher.h"
#include "CPtyServer.h"
#include "CRZ450Simulator.h"
#include "CServerProcess.h"
#include "connect/CKnownServers.h"
#include "connect/CServerTrust.h"
#include "connect/CServerTrustDialog.h"
#include "protocol/CServerAddress.h"
#include "protocol/ServerProtocol.h"
#include "proxy/CMetaDevice.h"

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The raw bytes a peer gets back until the server closes, or the wait ends.
QByteArray UntilClosed(QAbstractSocket& socket, int ms)
{
    QByteArray received;
    QDeadlineTimer deadline(ms);
    while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        socket.waitForReadyRead(50);
        received += socket.readAll();
    }
    return received + socket.readAll();
}

} // namespace

class tst_ServerTls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void identityIsPrivateAndPrinted();
    void keysDecideWhatAPeerMayDo_data();
    void keysDecideWhatAPeerMayDo();
    void peersBreakingTheRulesAreClosed_data();
    void peersBreakingTheRulesAreClosed();
    void guessingKeysShutsTheAddressOut();
    void encryptedClientOnThePlainPortIsClosed();
    void clientAsksOnceAndRefusesAChangedServer();

private:
    std::unique_ptr<CMetaDevice> Connect(const QString& fingerprint, const QByteArray& key);
    bool Reach(QSslSocket& socket, bool encrypt, const QHostAddress& from = QHostAddress());
    QString Url() const;
    QByteArray Key(const char* role) const;

    QTemporaryDir m_folder;
    CRZ450Simulator m_simulator;
    std::unique_ptr<CPtyServer> m_pPty;
    std::unique_ptr<CServerProcess> m_pServer;
    QString m_strState;
    QString m_strFingerprint;
    QMap<QByteArray, QByteArray> m_keys;
};

void tst_ServerTls::initTestCase()
{
    CMetaDevice::SetTimeouts(2000, 5000);
    m_simulator.SetMode(CRZ450Simulator::MODE_MAN);
    m_pPty = std::make_unique<CPtyServer>(&m_simulator);
    QVERIFY(m_pPty->Start(m_folder.filePath(QStringLiteral("ttyRZ450"))));
    m_strState = m_folder.filePath(QStringLiteral("state"));
    m_pServer = std::make_unique<CServerProcess>(m_pPty->Path());
    const QString address = CServerProcess::RandomAddress();
    QVERIFY2(m_pServer->Start(address,
                 { QStringLiteral("--tls-listen"), address, QStringLiteral("--state-dir"), m_strState }),
        qPrintable(m_pServer->Log()));
    QVERIFY2(m_pServer->WaitForLog(QStringLiteral("(TLS)")), qPrintable(m_pServer->Log()));
    m_strFingerprint
        = CServerProcess::Output({ QStringLiteral("--state-dir"), m_strState, QStringLiteral("--fingerprint") });
    for (const QString& line :
        CServerProcess::Output({ QStringLiteral("--state-dir"), m_strState, QStringLiteral("--show-keys") })
            .split(QLatin1Char('\n')))
        m_keys.insert(line.section(QLatin1Char(' '), 0, 0).toLatin1(), line.section(QLatin1Char(' '), 1).toLatin1());
}

void tst_ServerTls::cleanupTestCase()
{
    QCOMPARE(m_pServer->Terminate(), 0);
}

QString tst_ServerTls::Url() const
{
    return QStringLiteral("ondrixs://") + m_pServer->Address();
}

QByteArray tst_ServerTls::Key(const char* role) const
{
    return m_keys.value(role);
}

std::unique_ptr<CMetaDevice> tst_ServerTls::Connect(const QString& fingerprint, const QByteArray& key)
{
    auto device = std::make_unique<CMetaDevice>(Url());
    device->SetCredentials(fingerprint, QString::fromLatin1(key));
    device->Initialize();
    return device;
}

// What the client pins is what the server prints, and no one else may read
// what proves the server or lets a peer in.
void tst_ServerTls::identityIsPrivateAndPrinted()
{
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{64}$")).match(m_strFingerprint).hasMatch());
    QCOMPARE(Key("view").size(), 32);
    QCOMPARE(Key("control").size(), 32);
    const QFileDevice::Permissions others
        = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    for (const char* name : { "identity.key", "identity.crt", "access-keys" })
        QCOMPARE(QFile::permissions(m_strState + QLatin1Char('/') + QLatin1String(name)) & others,
            QFileDevice::Permissions());
    auto device = Connect(QString(), Key("view"));
    QCOMPARE(device->LastRefusal(), CMetaDevice::UnknownServer);
    QCOMPARE(device->PeerFingerprint(), m_strFingerprint);

    // A key file others may read is refused, not trusted.
    QTemporaryDir other;
    QCOMPARE(CServerProcess::Output({ QStringLiteral("--state-dir"), other.path(), QStringLiteral("--show-keys") })
                 .count(QLatin1Char('\n')),
        1);
    QFile::setPermissions(other.filePath(QStringLiteral("access-keys")),
        QFileDevice::ReadOwner | QFileDevice::ReadOther);
    int exitCode = 0;
    QVERIFY(CServerProcess::Output({ QStringLiteral("--state-dir"), other.path(), QStringLiteral("--show-keys") },
        &exitCode)
                .contains(QStringLiteral("chmod 600")));
    QCOMPARE(exitCode, 1);
}

void tst_ServerTls::keysDecideWhatAPeerMayDo_data()
{
    QTest::addColumn<QString>("fingerprint");
    QTest::addColumn<QByteArray>("role");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<bool>("mayControl");
    QTest::newRow("view key reads") << QString() << QByteArray("view") << int(CMetaDevice::NotRefused) << false;
    QTest::newRow("control key controls") << QString() << QByteArray("control") << int(CMetaDevice::NotRefused) << true;
    QTest::newRow("wrong key") << QString() << QByteArray("wrong") << int(CMetaDevice::KeyRefused) << false;
    QTest::newRow("fingerprint changed") << QString(64, QLatin1Char('0')) << QByteArray("control")
                                         << int(CMetaDevice::ChangedServer) << false;
}

void tst_ServerTls::keysDecideWhatAPeerMayDo()
{
    QFETCH(QString, fingerprint);
    QFETCH(QByteArray, role);
    QFETCH(int, refusal);
    QFETCH(bool, mayControl);
    const QByteArray key = m_keys.value(role, QByteArray(32, 'f'));
    auto device = Connect(fingerprint.isEmpty() ? m_strFingerprint : fingerprint, key);
    QCOMPARE(int(device->LastRefusal()), refusal);
    if (refusal != CMetaDevice::NotRefused)
        return;
    QVERIFY(device->IsEncrypted());
    QVERIFY(device->SelectServerDevice(QStringLiteral("RZ450")));
    QTRY_VERIFY_WITH_TIMEOUT(device->IsOnline(), 10000);
    const QByteArray menu = device->GetMenuData();
    QCOMPARE(menu.size(), 96);
    QCOMPARE(device->SetMenuData(menu), mayControl);
}

void tst_ServerTls::peersBreakingTheRulesAreClosed_data()
{
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QByteArray>("send");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("logged");
    const QByteArray empty = QByteArray(ServerProtocol::FRAME_START) + ServerProtocol::FRAME_END;
    QTest::newRow("plain client on the encrypted port")
        << false << QByteArray("IsOnline") << QByteArray() << "TLS handshake failed";
    QTest::newRow("a request before the key") << true << QByteArray("SetRequest:4") << empty << "before its access key";
    QTest::newRow("a key of 1 MB") << true << "Auth:" + QByteArray(1 << 20, 'k') << QByteArray() << "request too long";
    QTest::newRow("handshake never finished") << false << QByteArray() << QByteArray() << "sent no request in time";
}

void tst_ServerTls::peersBreakingTheRulesAreClosed()
{
    QFETCH(bool, encrypt);
    QFETCH(QByteArray, send);
    QFETCH(QByteArray, answer);
    QFETCH(QString, logged);
    QSslSocket socket;
    QVERIFY(Reach(socket, encrypt));
    socket.write(send);
    const QByteArray received = UntilClosed(socket, 10000);
    QVERIFY2(received == answer, qPrintable(received + "\n" + m_pServer->Log()));
    QCOMPARE(socket.state(), QAbstractSocket::UnconnectedState);
    QVERIFY2(m_pServer->WaitForLog(logged), qPrintable(m_pServer->Log()));
}

// Guessing from one address ends at the limit, for that address alone.
void tst_ServerTls::guessingKeysShutsTheAddressOut()
{
    const QHostAddress guesser(CServerProcess::RandomAddress());
    const QByteArray refused = QByteArray(ServerProtocol::FRAME_START) + '0' + ServerProtocol::FRAME_END;
    for (int i = 0; i < 5; ++i) {
        QSslSocket socket;
        QVERIFY(Reach(socket, true, guesser));
        socket.write("Auth:" + QByteArray(32, char('a' + i)));
        QCOMPARE(UntilClosed(socket, 5000), refused);
    }
    QVERIFY2(m_pServer->WaitForLog(QStringLiteral("shut out of the encrypted port for 10 minutes")),
        qPrintable(m_pServer->Log()));
    // Past the second in which the guesser's own lines were limited.
    QTest::qWait(1100);
    QSslSocket shutOut;
    QVERIFY(!Reach(shutOut, true, guesser));
    QVERIFY(m_pServer->WaitForLog(QStringLiteral("refused: shut out after wrong access keys")));
    // Others are still let in, and the plain port still serves this address.
    auto other = Connect(m_strFingerprint, Key("view"));
    QCOMPARE(other->LastRefusal(), CMetaDevice::NotRefused);
    QVERIFY(other->SelectServerDevice(QStringLiteral("RZ450")));
    QTcpSocket plain;
    QVERIFY(plain.bind(guesser));
    plain.connectToHost(m_pServer->Address(), ServerProtocol::PORT);
    QVERIFY(plain.waitForReadyRead(5000));
    QCOMPARE(plain.readAll(), QByteArray(ServerProtocol::GREETING));
}

// A client that starts a handshake on the plain port reads the greeting as
// a broken record; the server takes its hello for an unknown request.
void tst_ServerTls::encryptedClientOnThePlainPortIsClosed()
{
    QSslSocket socket;
    socket.setPeerVerifyMode(QSslSocket::VerifyNone);
    QVERIFY(socket.bind(QHostAddress(CServerProcess::RandomAddress())));
    socket.connectToHostEncrypted(m_pServer->Address(), ServerProtocol::PORT);
    QVERIFY(!socket.waitForEncrypted(5000));
    QVERIFY2(m_pServer->WaitForLog(QStringLiteral("a request the server does not know")), qPrintable(m_pServer->Log()));
}

// The client itself: the user is asked once, the server is trusted from
// then on, and a server that no longer proves the identity kept for it is
// refused with a warning, without a question.
void tst_ServerTls::clientAsksOnceAndRefusesAChangedServer()
{
    QTemporaryDir folder;
    CKnownServers known(folder.filePath(QStringLiteral("known-servers")));
    CModalWatcher watcher;
    int asked = 0;
    watcher.SetHandler([this, &asked](QWidget* modal) {
        auto* dialog = qobject_cast<CServerTrustDialog*>(modal);
        if (dialog) {
            ++asked;
            dialog->findChild<QLineEdit*>(QStringLiteral("m_pKeyEdit"))->setText(QString::fromLatin1(Key("control")));
            dialog->accept();
        }
        return dialog != nullptr;
    });
    for (int i = 0; i < 2; ++i) {
        CMetaDevice device(Url());
        QCOMPARE(CServerTrust::Connect(nullptr, device, known), CServerTrust::Connected);
        QVERIFY(device.SelectServerDevice(QStringLiteral("RZ450")));
    }
    QCOMPARE(asked, 1);
    QVERIFY(watcher.Messages().isEmpty());
    QVERIFY(known.Remember(CServerAddress(Url()), QString(64, QLatin1Char('0')), QString::fromLatin1(Key("control"))));
    CMetaDevice device(Url());
    QCOMPARE(CServerTrust::Connect(nullptr, device, known), CServerTrust::Refused);
    QCOMPARE(asked, 1);
    QCOMPARE(watcher.Messages().size(), 1);
    QCOMPARE(watcher.Messages().first().icon, int(QMessageBox::Critical));
}

// A peer from an address of its own, so that the server's limits and log
// lines for one address leave the other cases alone.
bool tst_ServerTls::Reach(QSslSocket& socket, bool encrypt, const QHostAddress& from)
{
    socket.setPeerVerifyMode(QSslSocket::VerifyNone);
    if (!socket.bind(from.isNull() ? QHostAddress(CServerProcess::RandomAddress()) : from))
        return false;
    if (!encrypt) {
        socket.connectToHost(m_pServer->Address(), ServerProtocol::TLS_PORT);
        return socket.waitForConnected(5000);
    }
    socket.connectToHostEncrypted(m_pServer->Address(), ServerProtocol::TLS_PORT);
    return socket.waitForEncrypted(5000) && socket.waitForReadyRead(5000) && socket.read(3) == ServerProtocol::GREETING;
}

QTEST_MAIN(tst_ServerTls)
#include "tst_ServerTls.moc"
