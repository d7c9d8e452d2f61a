// The live ring reader against a small ring whose records carry their serial
// number, so that every lost, repeated or reordered record shows.
#include "CFakeDeviceBase.h"
#include "proxy/CMetaDevice.h"
#include "proxy/CRecordCursor.h"

#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

namespace {

const int RING = 100;
const quint64 FIRST_TIME = 1780000000;

class CRingDevice : public CFakeDeviceBase
{
public:
    CRingDevice()
        : m_slots(RING)
    {
    }

    void Write(int records)
    {
        for (int i = 0; i < records; ++i) {
            CRecord& record = m_slots[m_nCount];
            record = CRecord();
            record.time = FIRST_TIME + quint64(m_nSerial);
            record.band = m_nSerial % 16;
            record.duration = m_nSerial++;
            m_nCount = (m_nCount + 1) % RING;
        }
    }
    void Erase()
    {
        m_slots.fill(CRecord());
        m_nCount = 0;
    }
    // As the driver does on a new mode: the count starts over, the slots stay.
    void NewMode() { m_nCount = 0; }

    int GetCurrentRecordIndex() override { return m_nCount; }
    CRecord GetRecord(int index) override
    {
        if (m_nFailAfter >= 0 && m_nFailAfter-- == 0)
            throw std::runtime_error("Network timed out!");
        return m_slots.value(index);
    }
    // The read after the next n fails once, as a link that goes down.
    void FailAfter(int reads) { m_nFailAfter = reads; }

private:
    QList<CRecord> m_slots;
    int m_nCount = 0;
    int m_nSerial = 0;
    int m_nFailAfter = -1;
};

// "0-9,15-20": the serials expected, in order.
QList<int> Serials(const QString& ranges)
{
    QList<int> serials;
    for (const QString& range : ranges.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = range.split(QLatin1Char('-'));
        for (int s = ends.first().toInt(); s <= ends.last().toInt(); ++s)
            serials.append(s);
    }
    return serials;
}

} // namespace

class TestRecordCursor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesEveryRecordOnce_data();
    void takesEveryRecordOnce();
};

void TestRecordCursor::takesEveryRecordOnce_data()
{
    // w<n>: the device writes n records; t[<limit>]: a Take; c: the device
    // is cleared; m: it starts its count anew and keeps its slots (a new
    // mode); s: StartAt its count; r: Restart(0); f<n>: the read after the
    // next n fails (a Take that throws takes nothing).
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("serials");
    QTest::addColumn<qint64>("missed");
    QTest::addColumn<bool>("restarted");
    QTest::addColumn<bool>("catchingUp");

    QTest::newRow("plain advance") << "w10 t w5 t t"
                                   << "0-14" << 0LL << false << false;
    QTest::newRow("first take reads what is there") << "w30 t"
                                                    << "0-29" << 0LL << false << false;
    QTest::newRow("start at the count") << "w30 s w5 t"
                                        << "30-34" << 0LL << false << false;
    QTest::newRow("wrap, late by most of a ring") << "w40 t w95 t"
                                                  << "0-134" << 0LL << false << false;
    QTest::newRow("wrap to exactly 0") << "w50 t w50 t w5 t"
                                       << "0-104" << 0LL << false << false;
    QTest::newRow("wrap at the ring's last slot") << "w99 t w11 t"
                                                  << "0-109" << 0LL << false << false;
    QTest::newRow("first take after start, wrapped") << "w95 s w10 t"
                                                     << "95-104" << 0LL << false << false;
    QTest::newRow("overrun past our place") << "w40 t w110 t"
                                            << "0-39,50-149" << -1LL << false << false;
    QTest::newRow("overrun below our place") << "w60 t w150 t"
                                             << "0-59,110-209" << -1LL << false << false;
    QTest::newRow("overrun in parts") << "w40 t w110 t30 t t"
                                      << "0-39,50-149" << -1LL << false << false;
    QTest::newRow("cleared") << "w40 t c w10 t"
                             << "0-49" << 0LL << true << false;
    QTest::newRow("cleared, refilled past our place") << "w5 t c w20 t"
                                                      << "0-24" << 0LL << true << false;
    QTest::newRow("new mode unnoticed") << "w40 t m w10 t"
                                        << "0-49" << 0LL << true << false;
    QTest::newRow("new mode over a full ring") << "w90 t w20 t m w5 t"
                                               << "0-114" << 0LL << true << false;
    QTest::newRow("new mode, caller restarts") << "w40 t m r w10 t"
                                               << "0-49" << 0LL << false << false;
    QTest::newRow("limit leaves the rest pending") << "w40 t w95 t30"
                                                   << "0-69" << 0LL << false << true;
    QTest::newRow("limit spread over takes") << "w40 t w95 t30 t30 t30 t30"
                                             << "0-134" << 0LL << false << false;
    QTest::newRow("writes while catching up") << "w40 t w95 t30 w20 t"
                                              << "0-154" << 0LL << false << false;
    QTest::newRow("failing at once") << "w10 t w5 f0 t t"
                                     << "0-14" << 0LL << false << false;
    QTest::newRow("failing midway keeps what was read") << "w90 t w20 f12 t t"
                                                        << "0-109" << 0LL << false << false;
    QTest::newRow("limit across the ring's end") << "w90 t w20 t5 t5 t5"
                                                 << "0-104" << 0LL << false << true;
}

void TestRecordCursor::takesEveryRecordOnce()
{
    QFETCH(QString, script);
    QFETCH(QString, serials);
    QFETCH(qint64, missed);
    QFETCH(bool, restarted);
    QFETCH(bool, catchingUp);

    CRingDevice ring;
    CMetaDevice device(&ring);
    CRecordCursor cursor(RING);
    QList<int> got;
    qint64 lost = 0;
    bool gap = false;
    bool anew = false;
    static const QRegularExpression step(QStringLiteral("^([wtcmsrf])(\\d*)$"));
    for (const QString& word : script.split(QLatin1Char(' '))) {
        const QRegularExpressionMatch match = step.match(word);
        QVERIFY2(match.hasMatch(), qPrintable(word));
        const QChar action = match.captured(1).at(0);
        const int number = match.captured(2).isEmpty() ? 1000 : match.captured(2).toInt();
        if (action == QLatin1Char('w'))
            ring.Write(number);
        else if (action == QLatin1Char('c'))
            ring.Erase();
        else if (action == QLatin1Char('m'))
            ring.NewMode();
        else if (action == QLatin1Char('s'))
            cursor.StartAt(ring.GetCurrentRecordIndex());
        else if (action == QLatin1Char('r'))
            cursor.Restart();
        else if (action == QLatin1Char('f'))
            ring.FailAfter(number);
        else {
            CRecordCursor::TAKEN taken;
            try {
                taken = cursor.Take(&device, ring.GetCurrentRecordIndex(), number);
            } catch (const std::exception&) {
                continue;
            }
            QVERIFY(taken.records.size() <= number);
            for (const CRecord& record : taken.records)
                got.append(record.duration);
            lost = (lost < 0 || taken.missed < 0) ? -1 : lost + taken.missed;
            gap = gap || taken.gap;
            anew = anew || taken.restarted;
            QCOMPARE(taken.gap, taken.missed != 0);
        }
    }
    QCOMPARE(got, Serials(serials));
    QCOMPARE(lost, missed);
    QCOMPARE(gap, missed != 0);
    QCOMPARE(anew, restarted);
    QCOMPARE(cursor.CatchingUp(), catchingUp);
}

QTEST_GUILESS_MAIN(TestRecordCursor)
#include "tst_RecordCursor.moc"
