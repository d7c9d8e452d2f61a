// How the client trusts an encrypted server: the fingerprint and key it
// keeps, asked for once, and a changed server refused.
#include "CScriptedServer.h"
#include "connect/CKnownServers.h"
#include "connect/CServerTrust.h"
#include "connect/CServerTrustDialog.h"
#include "protocol/CServerAddress.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the first modal window that comes: the trust dialog with a key
// (or cancelled when the key is empty), a message box by closing it.
void AnswerNextModal(const QString& key, QString* seen)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, key, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        *seen = QString::fromLatin1(modal->metaObject()->className());
        if (auto* dialog = qobject_cast<CServerTrustDialog*>(modal)) {
            dialog->findChild<QLineEdit*>(QStringLiteral("m_pKeyEdit"))->setText(key);
            key.isEmpty() ? dialog->reject() : dialog->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->accept();
        }
        timer->deleteLater();
    });
    timer->start(20);
}

} // namespace

class TestServerTrust : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownServersAreKeptPrivately();
    void connecting_data();
    void connecting();
};

void TestServerTrust::knownServersAreKeptPrivately()
{
    QTemporaryDir folder;
    CKnownServers known(folder.filePath(QStringLiteral("config/known-servers")));
    const CServerAddress lab(QStringLiteral("ondrixs://lab")), hall(QStringLiteral("ondrixs://hall:9000"));
    QVERIFY(known.Remember(lab, QStringLiteral("aa"), QStringLiteral("k1")));
    QVERIFY(known.Remember(hall, QStringLiteral("bb"), QStringLiteral("k2")));
    QVERIFY(known.Remember(lab, QStringLiteral("cc"), QStringLiteral("k3"))); // replaces
    QVERIFY(!known.Remember(lab, QStringLiteral("dd"), QStringLiteral("a key")));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFile::permissions(known.Path()) & others, QFileDevice::Permissions());
    QString fingerprint, key;
    QVERIFY(known.Find(CServerAddress(QStringLiteral("ondrixs://LAB:7778")), fingerprint, key));
    QCOMPARE(fingerprint + key, QStringLiteral("cck3"));
    QVERIFY(known.Forget(lab));
    QVERIFY(!known.Find(lab, fingerprint, key));
    QVERIFY(known.Find(hall, fingerprint, key));
    // Lines of another form are passed over, not fatal.
    QFile file(known.Path());
    QVERIFY(file.open(QIODevice::Append));
    file.write("junk\n\xff\xfe two fields\n");
    file.close();
    QVERIFY(known.Find(hall, fingerprint, key));
}

void TestServerTrust::connecting_data()
{
    QTest::addColumn<QString>("stored"); // fingerprint known before; "*": the server's own
    QTest::addColumn<QString>("typed");  // the key the user gives; empty: cancels
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("asked");
    QTest::newRow("first connection, key given") << ""
                                                 << "key" << int(CServerTrust::Connected) << "CServerTrustDialog";
    QTest::newRow("first connection, cancelled") << ""
                                                 << "" << int(CServerTrust::Refused) << "CServerTrustDialog";
    QTest::newRow("known") << "*"
                           << "" << int(CServerTrust::Connected) << "";
    QTest::newRow("changed") << QString(64, QLatin1Char('1')) << "" << int(CServerTrust::Refused) << "QMessageBox";
}

void TestServerTrust::connecting()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(int, outcome);
    QFETCH(QString, asked);
    QTemporaryDir folder;
    CKnownServers known(folder.filePath(QStringLiteral("known-servers")));
    CScriptedServer server;
    server.Encrypted();
    if (stored.isEmpty() && !typed.isEmpty())
        server.Refusing(1); // the connection the question came from
    if (outcome == CServerTrust::Connected)
        server.Greet().Expect("Auth:key").Answer("1").Expect("Uninitialize").Answer("");
    QVERIFY(server.Listen());
    const QString url = QStringLiteral("ondrixs://") + server.Address();
    if (!stored.isEmpty())
        known.Remember(CServerAddress(url), stored == QLatin1String("*") ? CScriptedServer::Fingerprint() : stored,
            "key");
    QString seen;
    if (!asked.isEmpty())
        AnswerNextModal(typed, &seen);
    auto device = std::make_unique<CMetaDevice>(url);
    QCOMPARE(int(CServerTrust::Connect(nullptr, *device, known)), outcome);
    QCOMPARE(seen, asked);
    QString fingerprint, key;
    const bool kept = known.Find(CServerAddress(url), fingerprint, key);
    QCOMPARE(kept, outcome == CServerTrust::Connected || !stored.isEmpty());
    if (outcome == CServerTrust::Connected)
        QCOMPARE(fingerprint, CScriptedServer::Fingerprint());
    device.reset();
    QVERIFY(server.Finish());
    QCOMPARE(server.Received(), server.Expected());
}

QTEST_MAIN(TestServerTrust)
#include "tst_ServerTrust.moc"
