// The driver's pure codecs: status report, record ring and conversion,
// nibble encoding, band table, clock. Bytes in, fields out; no link involved.
#include "CBandTable.h"
#include "CNibbleCodec.h"
#include "CRZ450Clock.h"
#include "CRZ450Status.h"
#include "CRecordConverter.h"
#include "CRecordRing.h"
#include "CSettingsBlock.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

#include <array>

namespace {

using Report = std::array<quint8, CRZ450Status::REPORT_SIZE>;

Report StatusReport(int mode, int band, int level = 60, int threshold = 50)
{
    Report r {};
    r[1] = 14;
    r[2] = 5;
    r[3] = 7; // 14:05:07
    r[4] = 8;
    r[5] = 2; // 9 March
    r[7] = quint8(band);
    r[8] = quint8(mode);
    r[17] = quint8(level);
    r[18] = quint8(threshold);
    r[282] = 160;
    return r;
}

} // namespace

class TestRZ450Codecs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusFieldsAreDecoded();
    void automaticModeAppendsOneRecordPerAlarmedBand();
    void notificationFollowsModeAndManualBandChanges();
    void spectrumParametersOnlyWithAbodeOrZeroLength();
    void spectrumCopyStaysInsideTheReport();
    void garbledBandNumberIsHarmless();
    void ringWrapsAtCapacity();
    void recordConversion();
    void recordYearIsTheOneNearestThePc_data();
    void recordYearIsTheOneNearestThePc();
    void nibbleCodecRoundTrip();
    void bandTable();
    void settingsHeldUntilTheirWriteHasGone_data();
    void settingsHeldUntilTheirWriteHasGone();
    void clockBytes_data();
    void clockBytes();
};

void TestRZ450Codecs::statusFieldsAreDecoded()
{
    Report r = StatusReport(1, 3, 70, 55);
    r[6] = 10;
    r[10] = 1;
    r[12] = 0x34;
    r[13] = 0x12;
    r[23] = 0;
    r[25] = 0;
    r[27] = 4;
    r[24] = 3;
    r[26] = 18;
    r[28] = 9;
    r[29] = 77;
    r[30 + 3] = 1;
    r[289] = 1;
    r[291] = 1;
    for (int i = 0; i < 60; ++i)
        r[46 + i] = quint8(i + 1);
    r[109] = 0;
    r[110] = 1;
    r[111] = 3;
    r[112] = 0;
    r[285] = 1;
    r[287] = 5;

    CRZ450Status s;
    s.ApplyClock(r.data());
    s.ApplyReport(r.data());

    QCOMPARE(s.month, quint8(3));
    QCOMPARE(s.day, quint8(9));
    QCOMPARE(s.stamp, 14 * 3600 + 5 * 60 + 7 + 10);
    QCOMPARE(s.currentBand, 3);
    QCOMPARE(s.mode, 1);
    QCOMPARE(s.currentBank, 0x1234);
    QCOMPARE(int(s.level[3]), 70);
    QCOMPARE(int(s.threshold[3]), 55);
    QCOMPARE(int(s.eventCntDelay[2]), 4);
    QCOMPARE(int(s.indicateBand[1]), 18);
    QCOMPARE(s.tmpX, 77);
    QVERIFY(s.indicateFlag[3] && s.indicateFlag[16] && !s.indicateFlag[17] && s.indicateFlag[18]);
    QCOMPARE(int(s.menu[0]), 1);
    QCOMPARE(int(s.menu[59]), 60);
    QCOMPARE(s.language, 43); // settings byte 42
    QVERIFY(s.ramOk);
    QVERIFY(!s.flashOk);
    QCOMPARE(s.battery, 3);
    QCOMPARE(s.mute, 1);
    QCOMPARE(s.volume, 5);
    QCOMPARE(s.scheduleByte, 1);

    // The stamp wraps at midnight.
    Report late = StatusReport(1, 3);
    late[1] = 23;
    late[2] = 59;
    late[3] = 59;
    late[6] = 2;
    s.ApplyClock(late.data());
    QCOMPARE(s.stamp, 1);
}

void TestRZ450Codecs::automaticModeAppendsOneRecordPerAlarmedBand()
{
    CRZ450Status s;
    CRecordRing ring;
    // Learn the levels of bands 2 and 9 first, as the detector reports one
    // band per report.
    for (int band : { 2, 9 }) {
        const Report r = StatusReport(4, band, 40 + band, 30 + band);
        s.ApplyClock(r.data());
        s.ApplyReport(r.data());
    }
    Report r = StatusReport(4, 9, 49, 39);
    r[30 + 2] = 1;
    r[30 + 9] = 1;
    r[30 + 16] = 0;
    s.ApplyClock(r.data());
    s.ApplyReport(r.data());
    ring.Restart();
    s.AppendLiveRecords(ring);

    QCOMPARE(ring.Count(), 2);
    RAW_RECORD_SLOT first, second;
    QVERIFY(ring.Slot(0, first));
    QVERIFY(ring.Slot(1, second));
    QCOMPARE(int(first.band), 2);
    QCOMPARE(int(first.level), 42);
    QCOMPARE(int(first.threshold), 32);
    QCOMPARE(int(first.duration), 1);
    QCOMPARE(int(second.band), 9);
    QCOMPARE(int(second.index), 1);
    QCOMPARE(s.currentBand, 9);

    // Manual mode: one record for the current band, duration 0.
    const Report manual = StatusReport(1, 5, 61, 51);
    s.ApplyClock(manual.data());
    s.ApplyReport(manual.data());
    s.AppendLiveRecords(ring);
    RAW_RECORD_SLOT third;
    QVERIFY(ring.Slot(2, third));
    QCOMPARE(int(third.band), 5);
    QCOMPARE(int(third.duration), 0);
    QCOMPARE(int(third.marker), 0xAE);
}

void TestRZ450Codecs::notificationFollowsModeAndManualBandChanges()
{
    CRZ450Status s;
    auto apply = [&s](int mode, int band) { return s.ApplyReport(StatusReport(mode, band).data()); };

    CRZ450Status::REPORT_RESULT result = apply(1, 3);
    QVERIFY(result.notify && result.modeChanged); // from mode 0
    QCOMPARE(s.logType, 0);
    result = apply(1, 3);
    QVERIFY(!result.notify && !result.modeChanged);
    result = apply(1, 5);
    QVERIFY(result.notify && !result.modeChanged);
    // Into automatic mode: reported once, the ring starts over.
    result = apply(4, 5);
    QVERIFY(result.notify && result.modeChanged);
    QCOMPARE(s.logType, 1);
    result = apply(4, 7);
    QVERIFY(!result.notify);
    result = apply(4, 8);
    QVERIFY(!result.notify);
    result = apply(2, 18);
    QVERIFY(result.notify && result.modeChanged);
    QCOMPARE(s.logType, 0);
}

void TestRZ450Codecs::spectrumParametersOnlyWithAbodeOrZeroLength()
{
    CRZ450Status s;
    Report r = StatusReport(2, 18);
    r[113] = 0x40;
    r[114] = 0x42;
    r[115] = 0x0F;
    r[116] = 0; // 1000000
    r[279] = 1;
    r[280] = 90;
    r[281] = 20;
    r[108] = 7;
    r[286] = 33;
    r[282] = 0; // zero length: parameters taken, length 160
    s.ApplyReport(r.data());
    QCOMPARE(s.spectrumLength, 160);
    QCOMPARE(s.freqMax, 1000000);
    QCOMPARE(s.levelMax, 90);
    QCOMPARE(s.levelDbMin, 7);
    QCOMPARE(s.bypass, 33);

    r[282] = 100; // a plain report keeps the parameters
    r[280] = 11;
    r[113] = 1;
    s.ApplyReport(r.data());
    QCOMPARE(s.spectrumLength, 100);
    QCOMPARE(s.levelMax, 90);
    QCOMPARE(s.freqMax, 1000000);

    r[277] = 1; // abode: parameters taken, minimum level forced to 255
    s.ApplyReport(r.data());
    QCOMPARE(s.spectrumLength, 160);
    QCOMPARE(s.levelMax, 11);
    QCOMPARE(s.levelDbMin, 255);
}

void TestRZ450Codecs::spectrumCopyStaysInsideTheReport()
{
    CRZ450Status s;
    Report r = StatusReport(2, 18);
    for (int i = 117; i < 300; ++i)
        r[i] = quint8(i);
    r[277] = 0;   // no abode flag, which would force 160 points
    r[282] = 255; // would run 72 points past the report's end
    s.ApplyReport(r.data());
    QCOMPARE(s.spectrumLength, 255);
    QCOMPARE(int(s.spectrum[0]), 117);
    QCOMPARE(int(s.spectrum[CRZ450Status::SPECTRUM_CAPACITY - 1]), 299 % 256); // the report's last byte
}

void TestRZ450Codecs::garbledBandNumberIsHarmless()
{
    // Random reports, including band and mode bytes far out of range, must
    // parse without touching anything outside the fixed arrays (ASan watches).
    QRandomGenerator random(450);
    CRZ450Status s;
    CRecordRing ring;
    for (int n = 0; n < 2000; ++n) {
        Report r;
        for (quint8& byte : r)
            byte = quint8(random.bounded(256));
        s.ApplyClock(r.data());
        s.ApplyReport(r.data());
        s.AppendLiveRecords(ring);
    }
    Report r = StatusReport(1, 200, 99, 98);
    s.ApplyReport(r.data());
    s.AppendLiveRecords(ring);
    RAW_RECORD_SLOT slot;
    QVERIFY(ring.Slot(ring.Count() - 1, slot));
    QCOMPARE(int(slot.band), 200);
    QCOMPARE(int(slot.level), 0);
    CRecordConverter converter(2026);
    QCOMPARE(converter.Convert(slot).bandName, QString());
}

void TestRZ450Codecs::ringWrapsAtCapacity()
{
    CRecordRing ring;
    ring.SetCount(CRecordRing::CAPACITY - 1);
    RAW_RECORD_SLOT slot;
    slot.band = 7;
    ring.Append(slot);
    QCOMPARE(ring.Count(), 0);
    RAW_RECORD_SLOT last;
    QVERIFY(ring.Slot(CRecordRing::CAPACITY - 1, last));
    QCOMPARE(int(last.band), 7);
    QVERIFY(!ring.Slot(CRecordRing::CAPACITY, last));
    QVERIFY(!ring.Slot(-1, last));

    std::vector<RAW_RECORD_SLOT> copies;
    ring.CopySlots(1, 0, copies); // a count of 0 or 1 copies nothing
    QVERIFY(copies.empty());
    ring.CopySlots(CRecordRing::CAPACITY - 2, CRecordRing::CAPACITY + 50, copies);
    QCOMPARE(copies.size(), size_t(2));
}

void TestRZ450Codecs::recordYearIsTheOneNearestThePc_data()
{
    QTest::addColumn<QDateTime>("pc");
    QTest::addColumn<QDateTime>("detector"); // its year is what the detector does not know
    QTest::addColumn<QDate>("expected");     // invalid: no year near enough has the day

    auto at
        = [](int y, int m, int d, int h, int min, int sec) { return QDateTime(QDate(y, m, d), QTime(h, min, sec)); };
    QTest::newRow("detector behind, PC past New Year")
        << at(2027, 1, 1, 0, 0, 30) << at(2000, 12, 31, 23, 59, 50) << QDate(2026, 12, 31);
    QTest::newRow("detector ahead, PC before New Year")
        << at(2026, 12, 31, 23, 59, 50) << at(2000, 1, 1, 0, 0, 10) << QDate(2027, 1, 1);
    QTest::newRow("mid-year") << at(2026, 7, 1, 12, 0, 0) << at(2000, 7, 1, 11, 59, 0) << QDate(2026, 7, 1);
    QTest::newRow("half a year off, last year a day nearer")
        << at(2026, 7, 1, 12, 0, 0) << at(2000, 12, 31, 12, 0, 0) << QDate(2025, 12, 31);
    QTest::newRow("29 February of a leap year")
        << at(2028, 3, 1, 0, 0, 30) << at(2000, 2, 29, 23, 59, 50) << QDate(2028, 2, 29);
    QTest::newRow("29 February ahead") << at(2027, 12, 31, 23, 0, 0) << at(2000, 2, 29, 8, 0, 0) << QDate(2028, 2, 29);
    QTest::newRow("29 February, no leap year near")
        << at(2027, 6, 15, 12, 0, 0) << at(2000, 2, 29, 12, 0, 0) << QDate();
}

void TestRZ450Codecs::recordYearIsTheOneNearestThePc()
{
    QFETCH(QDateTime, pc);
    QFETCH(QDateTime, detector);
    QFETCH(QDate, expected);

    static qint64 s_nPc = 0;
    s_nPc = pc.toSecsSinceEpoch();
    CRecordConverter::SetClockSource([] { return s_nPc; });
    const auto restore = qScopeGuard([] { CRecordConverter::SetClockSource(nullptr); });
    RAW_RECORD_SLOT slot;
    slot.month = quint8(detector.date().month());
    slot.day = quint8(detector.date().day());
    slot.stamp = detector.time().msecsSinceStartOfDay() / 1000;
    const quint64 want = expected.isValid() ? quint64(QDateTime(expected, detector.time()).toSecsSinceEpoch()) : 0;

    // A batch, one record at a time with the cache warm, and the clock.
    CRecordConverter batch = CRecordConverter::Near(pc.toSecsSinceEpoch());
    QCOMPARE(batch.Convert(slot).time, want);
    CRecordConverter live = CRecordConverter::Live();
    QCOMPARE(live.Convert(slot).time, want);
    QCOMPARE(live.Convert(slot).time, want);
    const CRZ450Clock::FIELDS fields { slot.month, slot.day, detector.time().hour(), detector.time().minute(),
        detector.time().second() };
    QCOMPARE(CRZ450Clock::ToDateTimeNearNow(fields).date(), expected);
}

void TestRZ450Codecs::recordConversion()
{
    RAW_RECORD_SLOT slot;
    slot.band = 2;
    slot.level = 40;
    slot.threshold = 52;
    slot.month = 3;
    slot.day = 9;
    slot.duration = 300;
    slot.stamp = 14 * 3600 + 5 * 60 + 7 + 86400 * 3; // only the time of day counts
    CRecordConverter converter(2026);
    const CRecord record = converter.Convert(slot);
    QCOMPARE(record.band, 2);
    QCOMPARE(record.bandName, QStringLiteral("GSM 1800 mobile  /"));
    QCOMPARE(record.duration, 300);
    QCOMPARE(record.values.size(), 1);
    QCOMPARE(record.values[0].level, -62.0);
    QCOMPARE(record.values[0].threshold, -50.0);
    QCOMPARE(record.values[0].param1, 0);
    QCOMPARE(record.value, 0.0);
    const QDateTime expected(QDate(2026, 3, 9), QTime(14, 5, 7), Qt::LocalTime);
    QCOMPARE(qint64(record.time), expected.toSecsSinceEpoch());

    // The hour cache must not leak into the next hour or day.
    slot.stamp = 15 * 3600 + 59;
    QCOMPARE(qint64(converter.Convert(slot).time),
        QDateTime(QDate(2026, 3, 9), QTime(15, 0, 59), Qt::LocalTime).toSecsSinceEpoch());
    slot.day = 10;
    QCOMPARE(qint64(converter.Convert(slot).time),
        QDateTime(QDate(2026, 3, 10), QTime(15, 0, 59), Qt::LocalTime).toSecsSinceEpoch());

    // A date the calendar does not have gives time 0, not garbage.
    slot.month = 2;
    slot.day = 30;
    QCOMPARE(converter.Convert(slot).time, quint64(0));
    slot.month = 0;
    QCOMPARE(converter.Convert(slot).time, quint64(0));
}

void TestRZ450Codecs::nibbleCodecRoundTrip()
{
    const char data[] = { char(0xA3), 0x00, char(0xFF), 0x5C };
    const QByteArray link = CNibbleCodec::Split(data, 4);
    QCOMPARE(link, QByteArray::fromHex("0a0300000f0f050c"));
    // Only the low four bits of each link byte count.
    QByteArray noisy = link;
    for (char& byte : noisy)
        byte = char(byte | 0xF0);
    char joined[4];
    CNibbleCodec::Join(noisy.constData(), 4, joined);
    QCOMPARE(QByteArray(joined, 4), QByteArray(data, 4));
}

void TestRZ450Codecs::bandTable()
{
    QCOMPARE(CBandTable::EnglishName(16), QStringLiteral("Jammers GSM     /"));
    QCOMPARE(CBandTable::EnglishName(16).size(), 17);
    QCOMPARE(CBandTable::EnglishName(18), QStringLiteral("SCAN /            "));
    QCOMPARE(CBandTable::Correction(0), 20);
    QCOMPARE(CBandTable::Correction(30), 6);
    QCOMPARE(CBandTable::Correction(31), 0);
    QVERIFY(CBandTable::EnglishName(-1).isEmpty());
    // Russian names are the detector's Windows-1251 bytes, one per character.
    const QByteArray scan = CBandTable::RussianName(18).toLatin1();
    QCOMPARE(scan.left(4), QByteArray("\xd1\xea\xe0\xed"));
    for (int band = 0; band < CBandTable::BAND_COUNT; ++band) {
        QVERIFY(CBandTable::EnglishName(band).size() <= 18);
        QCOMPARE(CBandTable::RussianName(band).size(), 18);
    }
}

void TestRZ450Codecs::settingsHeldUntilTheirWriteHasGone_data()
{
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("setAgainInFlight");
    QTest::addColumn<int>("afterReport"); // byte 7 after the next report
    QTest::newRow("sent") << true << false << 0x33;
    QTest::newRow("lost on the way") << false << false << 0x11;
    QTest::newRow("set again in flight, sent") << true << true << 0x22;
    QTest::newRow("set again in flight, lost") << false << true << 0x22;
}

void TestRZ450Codecs::settingsHeldUntilTheirWriteHasGone()
{
    QFETCH(bool, sent);
    QFETCH(bool, setAgainInFlight);
    QFETCH(int, afterReport);
    CSettingsBlock block;
    std::array<quint8, CSettingsBlock::SENT> report {};
    report.fill(0x33);
    block.Set(7, 0x11);
    block.ApplyReported(report.data());
    QCOMPARE(int(block[7]), 0x11);
    QCOMPARE(int(block[8]), 0x33);
    std::array<char, CSettingsBlock::SENT> wire {};
    block.TakeWrite(wire.data());
    QCOMPARE(int(quint8(wire[7])), 0x11);
    if (setAgainInFlight)
        block.Set(7, 0x22);
    block.FinishWrite(sent);
    block.ApplyReported(report.data());
    QCOMPARE(int(block[7]), afterReport);
}

void TestRZ450Codecs::clockBytes_data()
{
    QTest::addColumn<QDateTime>("time"); // invalid: no clock reported yet
    QTest::addColumn<QByteArray>("bytes");
    const QDateTime march(QDate(2026, 3, 9), QTime(14, 5, 7));
    QTest::newRow("9 March 14:05:07") << march << QByteArray::fromHex("02080e0507");
    QTest::newRow("given in UTC") << march.toUTC() << QByteArray::fromHex("02080e0507");
    QTest::newRow("1 January 00:00:00") << QDateTime(QDate(2026, 1, 1), QTime(0, 0)) << QByteArray(5, '\0');
    QTest::newRow("31 December 23:59:59")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << QByteArray::fromHex("0b1e173b3b");
    QTest::newRow("no clock reported yet") << QDateTime() << QByteArray(5, '\0');
}

void TestRZ450Codecs::clockBytes()
{
    QFETCH(QDateTime, time);
    QFETCH(QByteArray, bytes);
    const CRZ450Clock::FIELDS fields = time.isValid() ? CRZ450Clock::FromDateTime(time) : CRZ450Clock::FIELDS();
    const CRZ450Clock::BYTES wire = CRZ450Clock::Encode(fields);
    QCOMPARE(QByteArray(wire.data(), int(wire.size())), bytes);
}

QTEST_APPLESS_MAIN(TestRZ450Codecs)
#include "tst_RZ450Codecs.moc"
