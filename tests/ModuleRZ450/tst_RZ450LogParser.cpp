// The event log parser: flash blocks in, banks of events out. Blocks are
// built here byte by byte, the way the detector writes them.
#include "CLogParser.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

const int YEAR = 2026;

struct EVENT
{
    int band = 1;
    int level = 60;
    int threshold = 50;
    int month = 3, day = 9, hour = 14, minute = 5, second = 7;
    int duration = 1;
    bool marked = true;
};

class CFlash
{
public:
    explicit CFlash(int blocks = 1000)
        : m_bytes(size_t(blocks) * CLogParser::BLOCK_SIZE, 0)
    {
    }

    void Block(int j, int bank, const QList<EVENT>& events, int count = -1)
    {
        quint8* b = At(j);
        std::fill(b, b + CLogParser::BLOCK_SIZE, quint8(0));
        for (int k = 0; k < events.size() && k < 8; ++k) {
            const EVENT& e = events[k];
            quint8* entry = b + k * CLogParser::ENTRY_SIZE;
            entry[0] = e.marked ? 0xAE : 0x00;
            entry[1] = quint8(e.band);
            entry[2] = quint8(e.level);
            entry[3] = quint8(e.threshold);
            entry[5] = quint8(e.hour);
            entry[6] = quint8(e.minute);
            entry[7] = quint8(e.second);
            entry[8] = quint8(e.day - 1);
            entry[9] = quint8(e.month - 1);
            entry[10] = quint8(e.duration & 0xFF);
            entry[11] = quint8(e.duration >> 8);
        }
        b[CLogParser::BLOCK_MARKER] = 0xAE;
        b[CLogParser::BLOCK_BANK] = quint8(bank & 0xFF);
        b[CLogParser::BLOCK_BANK + 1] = quint8(bank >> 8);
        b[CLogParser::BLOCK_ENTRY_COUNT] = quint8(count < 0 ? events.size() : count);
        b[CLogParser::BLOCK_CHECKSUM] = CLogParser::Checksum(b);
    }

    void End(int j) { At(j)[CLogParser::BLOCK_MARKER] = 0x00; }
    quint8* At(int j) { return m_bytes.data() + size_t(j) * CLogParser::BLOCK_SIZE; }
    int Blocks() const { return int(m_bytes.size() / CLogParser::BLOCK_SIZE); }
    QList<CLogRecord> Parse() { return CLogParser::Parse(m_bytes.data(), Blocks(), YEAR); }

private:
    std::vector<quint8> m_bytes;
};

QList<EVENT> Events(int count, int firstSecond = 0)
{
    QList<EVENT> events;
    for (int i = 0; i < count; ++i) {
        EVENT e;
        e.second = (firstSecond + i) % 60;
        e.band = i % 16;
        events.append(e);
    }
    return events;
}

} // namespace

class TestRZ450LogParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyLogGivesNoBanks();
    void banksFollowBankNumbers();
    void unmarkedEntriesAndBlocksAreSkipped();
    void eventNameTimeAndDuration();
    void wrappedLogReadsRoundFromTheOldestBlock();
    void checksum();
    void anyBytesParseSafely();
};

void TestRZ450LogParser::emptyLogGivesNoBanks()
{
    CFlash flash;
    flash.End(0);
    QVERIFY(flash.Parse().isEmpty());
    QVERIFY(CLogParser::Parse(nullptr, 1000, YEAR).isEmpty());
}

void TestRZ450LogParser::banksFollowBankNumbers()
{
    CFlash flash;
    flash.Block(0, 3, Events(8, 0));
    flash.Block(1, 3, Events(4, 10));
    EVENT later;
    later.hour = 16;
    later.minute = 30;
    flash.Block(2, 4, { later, later });
    flash.Block(3, 7, Events(1)); // numbers may jump
    flash.End(4);
    const QList<CLogRecord> banks = flash.Parse();
    QCOMPARE(banks.size(), 3);
    QCOMPARE(banks[0].records.size(), 12);
    QCOMPARE(banks[0].type, 2);
    QCOMPARE(banks[0].records[8].time - banks[0].records[0].time, quint64(10));
    QCOMPARE(banks[1].records.size(), 2);
    QCOMPARE(banks[1].name, QStringLiteral("log_0309_1630.ldf"));
    QCOMPARE(banks[2].records.size(), 1);
}

void TestRZ450LogParser::unmarkedEntriesAndBlocksAreSkipped()
{
    CFlash flash;
    QList<EVENT> events = Events(8);
    events[5].marked = false;
    flash.Block(0, 1, events);
    flash.Block(1, 1, Events(8), 20); // a count above eight reads no further than eight
    flash.Block(2, 1, Events(3));
    flash.At(2)[CLogParser::BLOCK_MARKER] = 0x55; // not in use, yet past it...
    flash.Block(3, 1, Events(2));                 // ...the log goes on
    flash.End(4);
    const QList<CLogRecord> banks = flash.Parse();
    QCOMPARE(banks.size(), 1);
    QCOMPARE(banks[0].records.size(), 7 + 8 + 2);

    // A bank whose entries are all unmarked has no events and no name: it is
    // left out rather than handed on nameless.
    CFlash blank;
    QList<EVENT> none = Events(3);
    for (EVENT& e : none)
        e.marked = false;
    blank.Block(0, 1, none);
    blank.Block(1, 2, Events(1));
    blank.End(2);
    const QList<CLogRecord> onlyOne = blank.Parse();
    QCOMPARE(onlyOne.size(), 1);
    QVERIFY(!onlyOne[0].name.isEmpty());
}

void TestRZ450LogParser::eventNameTimeAndDuration()
{
    CFlash flash;
    EVENT e;
    e.band = 18;
    e.level = 80;
    e.threshold = 70;
    e.duration = 0x012C;
    flash.Block(0, 0, { e });
    flash.End(1);
    const QList<CLogRecord> banks = flash.Parse();
    QCOMPARE(banks.size(), 1);
    QCOMPARE(banks[0].name, QStringLiteral("log_0309_1405.ldf"));
    const CRecord& r = banks[0].records[0];
    QCOMPARE(r.duration, 300);
    QCOMPARE(r.band, 18);
    QCOMPARE(r.bandName, QStringLiteral("SCAN /            "));
    QCOMPARE(r.values[0].level, -22.0);
    QCOMPARE(r.values[0].threshold, -32.0);
    const QDateTime local = QDateTime::fromSecsSinceEpoch(qint64(r.time));
    QCOMPARE(local.date(), QDate(YEAR, 3, 9));
    QCOMPARE(local.time(), QTime(14, 5, 7));
}

void TestRZ450LogParser::wrappedLogReadsRoundFromTheOldestBlock()
{
    // The ring was written all the way round: blocks 0..1 carry the newest
    // bank 9, which began in blocks 998..999; banks 5 and 6 are the oldest.
    CFlash flash;
    for (int j = 2; j < 500; ++j)
        flash.Block(j, 5, Events(1, j));
    for (int j = 500; j < 998; ++j)
        flash.Block(j, 6, Events(1, j));
    flash.Block(998, 9, Events(2, 0));
    flash.Block(999, 9, Events(2, 2));
    flash.Block(0, 9, Events(2, 4));
    flash.Block(1, 9, Events(2, 6));
    const QList<CLogRecord> banks = flash.Parse();
    QCOMPARE(banks.size(), 3);
    QCOMPARE(banks[0].records.size(), 498);
    QCOMPARE(banks[1].records.size(), 498);
    // The newest bank is whole and in order, its start from the ring's end.
    QCOMPARE(banks[2].records.size(), 8);
    for (int i = 1; i < 8; ++i)
        QCOMPARE(banks[2].records[i].time, banks[2].records[i - 1].time + 1);

    // Every block in use by one bank: nothing to go round, nothing lost.
    CFlash full;
    for (int j = 0; j < 1000; ++j)
        full.Block(j, 1, Events(8));
    const QList<CLogRecord> one = full.Parse();
    QCOMPARE(one.size(), 1);
    QCOMPARE(one[0].records.size(), 8000);
}

void TestRZ450LogParser::checksum()
{
    CFlash flash;
    flash.Block(0, 1, Events(8));
    QVERIFY(CLogParser::ChecksumOk(flash.At(0)));
    flash.At(0)[263] ^= 1; // the last byte covered
    QVERIFY(!CLogParser::ChecksumOk(flash.At(0)));
    flash.At(0)[263] ^= 1;
    flash.At(0)[264] ^= 1; // not covered
    QVERIFY(CLogParser::ChecksumOk(flash.At(0)));
}

void TestRZ450LogParser::anyBytesParseSafely()
{
    // Random blocks, all-0xAE blocks and single short buffers: never a read
    // outside what was given (ASan in CI watches every byte).
    QRandomGenerator random(1004);
    for (int round = 0; round < 30; ++round) {
        const int blocks = 1 + int(random.bounded(40));
        std::vector<quint8> bytes(size_t(blocks) * CLogParser::BLOCK_SIZE);
        for (quint8& byte : bytes)
            byte = round % 3 == 0 ? 0xAE : quint8(random.bounded(256));
        const QList<CLogRecord> banks = CLogParser::Parse(bytes.data(), blocks, YEAR);
        int events = 0;
        for (const CLogRecord& bank : banks) {
            QVERIFY(!bank.records.isEmpty());
            events += int(bank.records.size());
        }
        QVERIFY(events <= blocks * 8);
    }
}

QTEST_APPLESS_MAIN(TestRZ450LogParser)
#include "tst_RZ450LogParser.moc"
