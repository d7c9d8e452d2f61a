// The simulated detector's event log: block layout, banks, the wrapped ring,
// the download exchange and its faults, and alarms that log themselves.
#include "CRZ450Simulator.h"
#include "SimWire.h"

#include <QTest>

#include <memory>

using Sim = CRZ450Simulator;
using SimWire::At;

namespace {

const QByteArray POLL(1, char(0xA3));
const QByteArray NEXT_BLOCK(1, char(0xFE));

QDateTime March9()
{
    return QDateTime(QDate(QDate::currentDate().year(), 3, 9), QTime(14, 5, 7));
}

bool ChecksumOk(const QByteArray& block)
{
    quint8 sum = 0;
    for (int i = 0; i < 264; ++i)
        sum += quint8(block[i]);
    return sum == quint8(block[266]);
}

bool InUse(const QByteArray& block)
{
    return At(block, 256) == 0xAE;
}

int Bank(const QByteArray& block)
{
    return At(block, 257) | (At(block, 258) << 8);
}

// Month, day, hour, minute, second of an entry as one comparable number.
qint64 EntryTime(const QByteArray& block, int slot)
{
    qint64 t = 0;
    for (int field : { 9, 8, 5, 6, 7 })
        t = t * 100 + At(block, slot * 32 + field);
    return t;
}

} // namespace

class TestRZ450SimLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyLogIsOneEndBlock_data();
    void emptyLogIsOneEndBlock();
    void eventEntryLayout();
    void blocksHoldEightEventsOfOneBank();
    void fillLogSpreadsBlocksOverBanks();
    void wrappedLogLeadsWithTheNewestBank();
    void downloadFaultsStrikeOnce();
    void pollEndsTheDownload();
    void endedAlarmsAreLogged();
    void shortAlarmsAndDisabledLoggingLeaveNoEvent();

private:
    Sim& Make(Sim::Encoding encoding = Sim::ByteMode);
    QByteArray Xfer(const QByteArray& bytes);
    void Report();
    QList<QByteArray> Download(); // every block up to the end marker

    std::unique_ptr<Sim> m_sim;
};

Sim& TestRZ450SimLog::Make(Sim::Encoding encoding)
{
    m_sim = std::make_unique<Sim>(encoding);
    m_sim->SetFrozen(true);
    m_sim->SetClock(March9());
    Xfer(POLL);
    Xfer(QByteArray("\x01\x02\x08\x0E\x05\x07", 6));
    return *m_sim;
}

QByteArray TestRZ450SimLog::Xfer(const QByteArray& bytes)
{
    const QByteArray link = SimWire::Encode(bytes, m_sim->LinkEncoding());
    m_sim->Feed(link.constData(), link.size());
    return SimWire::Decode(m_sim->Take(m_sim->Pending()), m_sim->LinkEncoding());
}

void TestRZ450SimLog::Report()
{
    const QByteArray report = Xfer(POLL);
    QCOMPARE(report.size(), 300);
    QCOMPARE(At(report, 0), 0);
    Xfer(QByteArray(1, char(0xFF)));
}

QList<QByteArray> TestRZ450SimLog::Download()
{
    QList<QByteArray> blocks;
    const QByteArray report = Xfer(POLL);
    if (report.size() != 300 || !Xfer(QByteArray(1, char(2))).isEmpty())
        return blocks;
    while (blocks.size() < 1000) {
        blocks.append(Xfer(NEXT_BLOCK));
        if (blocks.last().size() != 267 || !InUse(blocks.last()))
            break;
    }
    return blocks;
}

void TestRZ450SimLog::emptyLogIsOneEndBlock_data()
{
    QTest::addColumn<int>("encoding");
    QTest::newRow("bytes") << int(Sim::ByteMode);
    QTest::newRow("nibbles") << int(Sim::NibbleMode);
}

void TestRZ450SimLog::emptyLogIsOneEndBlock()
{
    QFETCH(int, encoding);
    Sim& sim = Make(Sim::Encoding(encoding));
    QCOMPARE(sim.LogBlocks(), 0);
    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 1);
    QCOMPARE(blocks[0].size(), 267);
    QVERIFY(!InUse(blocks[0]));
    QVERIFY(ChecksumOk(blocks[0])); // a clean end, not a damaged block
    QCOMPARE(sim.Commands(), QList<quint8>({ 2 }));
}

void TestRZ450SimLog::eventEntryLayout()
{
    Sim& sim = Make();
    sim.AddLogEvent(9, 80, 60, March9(), 0x012C);
    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 2);
    const QByteArray& b = blocks[0];
    const QByteArray expected("\xAE\x09\x50\x3C\x00\x0E\x05\x07\x08\x02\x2C\x01", 12);
    QCOMPARE(b.left(12), expected);
    QCOMPARE(At(b, 32), 0); // the second slot is empty
    QVERIFY(InUse(b));
    QCOMPARE(Bank(b), sim.Bank());
    QCOMPARE(At(b, 259), 1);
    QVERIFY(ChecksumOk(b));
}

void TestRZ450SimLog::blocksHoldEightEventsOfOneBank()
{
    Sim& sim = Make();
    const int bank = sim.Bank();
    for (int i = 0; i < 9; ++i)
        sim.AddLogEvent(1, 60 + i, 50, March9().addSecs(i * 60), i);
    Xfer(POLL);
    Xfer(QByteArray(1, char(9))); // new bank
    sim.AddLogEvent(2, 70, 50, March9().addSecs(3600), 5);
    QCOMPARE(sim.LogBlocks(), 3);

    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 4);
    QCOMPARE(At(blocks[0], 259), 8);
    QCOMPARE(At(blocks[1], 259), 1);
    QCOMPARE(At(blocks[1], 2), 68); // the ninth event
    QCOMPARE(Bank(blocks[1]), bank);
    QCOMPARE(Bank(blocks[2]), bank + 1);
    QCOMPARE(At(blocks[2], 1), 2);
    for (const QByteArray& block : blocks)
        QVERIFY(ChecksumOk(block));
}

void TestRZ450SimLog::fillLogSpreadsBlocksOverBanks()
{
    Sim& sim = Make();
    sim.FillLog(10, 3);
    QCOMPARE(sim.LogBlocks(), 10);
    QCOMPARE(sim.Bank(), 3);
    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 11);
    QList<int> banks;
    qint64 previous = 0;
    for (int j = 0; j < 10; ++j) {
        banks.append(Bank(blocks[j]));
        QCOMPARE(At(blocks[j], 259), 8);
        for (int slot = 0; slot < 8; ++slot) {
            QCOMPARE(At(blocks[j], slot * 32), 0xAE);
            QVERIFY(EntryTime(blocks[j], slot) > previous); // oldest first
            previous = EntryTime(blocks[j], slot);
        }
    }
    QCOMPARE(banks, QList<int>({ 1, 1, 1, 2, 2, 2, 3, 3, 3, 3 }));
    QVERIFY(!InUse(blocks[10]));
}

void TestRZ450SimLog::wrappedLogLeadsWithTheNewestBank()
{
    Sim& sim = Make();
    sim.SetWrappedLog();
    QCOMPARE(sim.LogBlocks(), 1000);
    const int newest = sim.Bank();
    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 1000); // no end marker anywhere: the host stops at 1000
    QVERIFY(InUse(blocks[999]));
    QCOMPARE(Bank(blocks[0]), newest);
    QCOMPARE(Bank(blocks[99]), newest);
    QCOMPARE(Bank(blocks[100]), newest - 4);
    QCOMPARE(Bank(blocks[999]), newest - 1);
    for (int j = 101; j < 1000; ++j)
        QVERIFY(Bank(blocks[j]) >= Bank(blocks[j - 1]));
    // The newest bank was written after every older one.
    QVERIFY(EntryTime(blocks[0], 0) > EntryTime(blocks[999], 7));
    for (const QByteArray& block : blocks)
        QVERIFY(ChecksumOk(block));
}

void TestRZ450SimLog::downloadFaultsStrikeOnce()
{
    Sim& sim = Make(Sim::NibbleMode);
    sim.FillLog(5, 1);
    sim.InjectBadChecksum(1);
    sim.InjectShortBlock(2);
    sim.InjectDisconnectAtBlock(3);
    Xfer(POLL);
    Xfer(QByteArray(1, char(2)));
    QVERIFY(ChecksumOk(Xfer(NEXT_BLOCK)));
    const QByteArray bad = Xfer(NEXT_BLOCK);
    QCOMPARE(bad.size(), 267);
    QVERIFY(!ChecksumOk(bad));
    QCOMPARE(Xfer(NEXT_BLOCK).size(), 100);
    QVERIFY(!sim.TakeDisconnectRequest());
    QVERIFY(Xfer(NEXT_BLOCK).isEmpty());
    QVERIFY(sim.TakeDisconnectRequest());
    QVERIFY(!sim.TakeDisconnectRequest());
    QVERIFY(Xfer(NEXT_BLOCK).isEmpty()); // off the link until the transport resets it

    sim.Reset();
    Xfer(POLL);
    Xfer(QByteArray("\x01\x02\x08\x0E\x05\x07", 6));
    const QList<QByteArray> blocks = Download();
    QCOMPARE(blocks.size(), 6);
    for (const QByteArray& block : blocks) {
        QCOMPARE(block.size(), 267);
        QVERIFY(ChecksumOk(block));
    }
    QVERIFY(!sim.TakeDisconnectRequest());
}

void TestRZ450SimLog::pollEndsTheDownload()
{
    Sim& sim = Make();
    sim.FillLog(3, 1);
    Xfer(POLL);
    Xfer(QByteArray(1, char(2)));
    QCOMPARE(Xfer(NEXT_BLOCK).size(), 267);
    const QByteArray report = Xfer(POLL);
    QCOMPARE(report.size(), 300);
    QCOMPARE(At(report, 0), 0);
    Xfer(QByteArray(1, char(0xFF)));
    QVERIFY(Xfer(NEXT_BLOCK).isEmpty());
    // The next download starts again from block 0.
    QCOMPARE(Download().size(), 4);
    QCOMPARE(sim.LogBlocksSent(), 5);
}

void TestRZ450SimLog::endedAlarmsAreLogged()
{
    Sim& sim = Make();
    const int threshold = At(sim.Settings(), 2);
    sim.SetBand(2);
    sim.SetLevel(2, threshold + 2);
    Report(); // alarm starts at 14:05:07
    sim.SetLevel(2, threshold + 9);
    sim.SetClock(March9().addSecs(4));
    Report();
    sim.SetLevel(2, threshold - 10);
    sim.SetClock(March9().addSecs(10));
    QCOMPARE(sim.LogBlocks(), 0); // still ringing until a report shows otherwise
    Report();
    QCOMPARE(sim.LogBlocks(), 1);

    // Automatic mode: a pinned alarm ends when the detector leaves the mode.
    sim.SetMode(Sim::MODE_AUTO);
    sim.SetIndicationFlags({ 4 });
    Report();
    sim.SetClock(March9().addSecs(13));
    sim.SetMode(Sim::MODE_SRCH);
    Report();

    const QByteArray block = Download().first();
    QCOMPARE(At(block, 259), 2);
    const QByteArray first("\xAE\x02", 2);
    QCOMPARE(block.left(2), first);
    QCOMPARE(At(block, 2), threshold + 9); // the peak of the alarm
    QCOMPARE(At(block, 3), threshold);
    QCOMPARE(EntryTime(block, 0), 208140507);
    QCOMPARE(At(block, 10), 10);
    QCOMPARE(At(block, 32 + 1), 4);
    QCOMPARE(At(block, 32 + 10), 3);
}

void TestRZ450SimLog::shortAlarmsAndDisabledLoggingLeaveNoEvent()
{
    Sim& sim = Make();
    QByteArray settings = sim.Settings();
    settings[20] = 5; // minimum duration
    sim.SetSettings(settings);
    sim.SetBand(1);
    sim.SetLevel(1, 100);
    Report();
    sim.SetClock(March9().addSecs(4));
    sim.SetLevel(1, 0);
    Report();
    QCOMPARE(sim.LogBlocks(), 0);

    settings[44] = 0; // logging off
    sim.SetSettings(settings);
    sim.SetLevel(1, 100);
    Report();
    sim.SetClock(March9().addSecs(60));
    sim.SetLevel(1, 0);
    Report();
    QCOMPARE(sim.LogBlocks(), 0);
}

QTEST_GUILESS_MAIN(TestRZ450SimLog)
#include "tst_RZ450SimLog.moc"
