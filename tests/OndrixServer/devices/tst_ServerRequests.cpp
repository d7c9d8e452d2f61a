// The server's side of the text protocol without a socket: bytes as a peer
// sends them, whole, cut and wrong, to the answers it gets.
#include "CFakeDeviceBase.h"
#include "app/ServerLog.h"
#include "devices/CDevicePool.h"
#include "devices/CRequestHandler.h"
#include "protocol/CRequestReader.h"
#include "protocol/ServerProtocol.h"

#include <QtTest>

namespace {

const QByteArray PAUSE = "<pause>";

class CCountingDevice : public CFakeDeviceBase
{
public:
    int changes = 0;
    int GetCurrentRecordIndex() override { return 1234; }
    CRecord GetRecord(int index) override
    {
        CRecord record;
        record.band = index;
        return record;
    }
    int GetLevelDbm(int band) override { return 72 + band; }
    bool IsIndicateBand(int band) override { return band == 1 || band == 18; }
    bool GetSpectrumData(char* buffer, int length) override
    {
        std::fill(buffer, buffer + length, char(7));
        return true;
    }
    void KeyPressed(IDevice::KeyType) override { ++changes; }
    bool SetMenuData(QByteArray data) override { return ++changes, CFakeDeviceBase::SetMenuData(data); }
};

QByteArray Block(int size)
{
    return "SetMenuData:" + QByteArray(size, '\0');
}

} // namespace

class tst_ServerRequests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ServerLog::SetQuiet(true); }
    void answers_data();
    void answers();
};

void tst_ServerRequests::answers_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<bool>("control");
    QTest::addColumn<QByteArrayList>("answers");
    QTest::addColumn<int>("changes");

    const QByteArrayList none;
    QTest::newRow("whole") << QByteArrayList { "IsOnline" } << false << QByteArrayList { "1" } << 0;
    QTest::newRow("command cut") << QByteArrayList { "IsOn", "line" } << false << QByteArrayList { "1" } << 0;
    QTest::newRow("two at once") << QByteArrayList { "IsOnlineIsError" } << false << QByteArrayList { "1", "0" } << 0;
    QTest::newRow("number cut") << QByteArrayList { "GetRecord:1", "2", PAUSE } << false
                                << QByteArrayList { "0:12:0:0::0:::::" } << 0;
    QTest::newRow("number ends at pause")
        << QByteArrayList { "GetRecord:1", PAUSE } << false << QByteArrayList { "0:1:0:0::0:::::" } << 0;
    QTest::newRow("number past the last record")
        << QByteArrayList { "GetRecord:200" } << false << QByteArrayList { "0:200:0:0::0:::::" } << 0;
    QTest::newRow("records from an index on") << QByteArrayList { "GetRecords:1232:1000" } << false
                                              << QByteArrayList { "2:0:1232:0:0::0:0:1233:0:0::0" } << 0;
    QTest::newRow("records of the round before") << QByteArrayList { "GetRecords:299998:1000" } << false
                                                 << QByteArrayList { "2:0:299998:0:0::0:0:299999:0:0::0" } << 0;
    QTest::newRow("longer command waits")
        << QByteArrayList { "GetCurrentRecord", "Index" } << false << QByteArrayList { "1234" } << 0;
    QTest::newRow("shorter command at pause")
        << QByteArrayList { "GetCurrentRecord", PAUSE } << false << QByteArrayList { "0:1233:0:0::0::::" } << 0;
    QTest::newRow("block cut") << QByteArrayList { Block(96).left(60), Block(96).mid(60) } << true
                               << QByteArrayList { "1" } << 1;
    QTest::newRow("block short") << QByteArrayList { Block(95), PAUSE } << true << QByteArrayList { "0" } << 0;
    QTest::newRow("block long") << QByteArrayList { Block(97) } << true << QByteArrayList { "0" } << 0;
    QTest::newRow("block read-only") << QByteArrayList { Block(96) } << false << QByteArrayList { "0" } << 0;
    QTest::newRow("key read-only") << QByteArrayList { "KeyPressed:30" } << false << QByteArrayList { "0" } << 0;
    QTest::newRow("key with control") << QByteArrayList { "KeyPressed:30" } << true << QByteArrayList { "1" } << 1;
    QTest::newRow("unknown") << QByteArrayList { "Bogus" } << true << QByteArrayList { "" } << 0;
    QTest::newRow("half a command") << QByteArrayList { "GetCur", PAUSE } << true << QByteArrayList { "" } << 0;
    QTest::newRow("bad number") << QByteArrayList { "GetRecord:x" } << true << QByteArrayList { "" } << 0;
    QTest::newRow("device list") << QByteArrayList { "GetServerDevicesList" } << false << QByteArrayList { "RZ450" }
                                 << 0;
    QTest::newRow("select known") << QByteArrayList { "SelectServerDevice:RZ450", PAUSE } << false
                                  << QByteArrayList { "1" } << 0;
    QTest::newRow("select unknown") << QByteArrayList { "SelectServerDevice:RZ4", PAUSE } << false
                                    << QByteArrayList { "0" } << 0;
    QTest::newRow("device query") << QByteArrayList { "RZ450_GetLevelDbm:3", PAUSE } << false << QByteArrayList { "75" }
                                  << 0;
    QTest::newRow("device query out of range")
        << QByteArrayList { "RZ450_GetLevelDbm:31" } << false << QByteArrayList { "" } << 0;
    QByteArray levels;
    for (int band = 0; band < 31; ++band)
        levels.append(char(72 + band));
    QTest::newRow("alarm flags") << QByteArrayList { "RZ450_GetAlarmFlags" } << false << QByteArrayList { "262146" }
                                 << 0;
    QTest::newRow("levels") << QByteArrayList { "RZ450_GetLevels" } << false << QByteArrayList { levels } << 0;
    QTest::newRow("spectrum") << QByteArrayList { "RZ450_GetSpectrumData:160" } << false
                              << QByteArrayList { QByteArray(160, char(7)) } << 0;
    QTest::newRow("live state") << QByteArrayList { "GetLiveState" } << false << QByteArrayList { "1:0:1:1234:1" } << 0;
    QTest::newRow("live state cut") << QByteArrayList { "GetLive", "State" } << false
                                    << QByteArrayList { "1:0:1:1234:1" } << 0;
    QTest::newRow("live state between others") << QByteArrayList { "IsErrorGetLiveStateGetCurrentBand" } << false
                                               << QByteArrayList { "0", "1:0:1:1234:1", "1" } << 0;
    QTest::newRow("live state misspelt") << QByteArrayList { "GetLiveStat", "x" } << false << QByteArrayList { "" }
                                         << 0;
    QTest::newRow("live state half") << QByteArrayList { "GetLiveSt", PAUSE } << false << QByteArrayList { "" } << 0;
    QTest::newRow("menu index out of range")
        << QByteArrayList { "GetMenuValue:96" } << false << QByteArrayList { "0" } << 0;
}

void tst_ServerRequests::answers()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(bool, control);
    QFETCH(QByteArrayList, answers);
    QFETCH(int, changes);

    CCountingDevice device;
    CDevicePool pool({ &device });
    CRequestHandler handler(&pool);
    CRequestReader reader(CRequestHandler::Forms(), 4096);
    reader.SetLimit(ServerProtocol::GetRecord, device.GetCurrentRecordIndex() - 1);
    CLIENT_SESSION session;
    session.mayControl = control;
    QByteArrayList got;
    for (const QByteArray& piece : pieces) {
        const bool pause = piece == PAUSE;
        if (!pause)
            reader.Append(piece);
        for (CRequestReader::State state = reader.Examine(); state != CRequestReader::Empty; state = reader.Examine()) {
            if (!pause && (state == CRequestReader::Partial || state == CRequestReader::Provisional))
                break;
            const QByteArray frame = handler.Answer(reader.Take(), session);
            got.append(frame.mid(3, frame.size() - 7));
        }
    }
    QCOMPARE(got, answers);
    QCOMPARE(device.changes, changes);
}

QTEST_GUILESS_MAIN(tst_ServerRequests)
#include "tst_ServerRequests.moc"
