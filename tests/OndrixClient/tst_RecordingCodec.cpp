// The live recording read back whole, cut anywhere, damaged, and from a
// later version.
#include "CRecordingCodec.h"

#include <QtTest>

namespace {

CRecord Record(int i)
{
    CRecord record;
    record.time = 1700000000u + quint64(i);
    record.band = i % 31;
    record.duration = i % 4;
    record.value = i * 0.5;
    record.bandName = QStringLiteral("GSM 900 мобильный");
    for (int v = 0; v < i % 3; ++v)
        record.values.append({ -60.5 + v, -70.0, v, i });
    return record;
}

SPECTRUM_SWEEP Sweep(int i, int points = 160)
{
    SPECTRUM_SWEEP sweep;
    sweep.time = quint64(i);
    sweep.points = QByteArray(points, char(i));
    sweep.rangeStartMhz = 100 + i;
    sweep.rangeEndMhz = 2400;
    sweep.signalFreq = 433;
    sweep.levelMinDbm = -90;
    sweep.signalLevel = -40 - i % 7;
    sweep.noiseLevel = -85;
    sweep.signalNo = i % 5;
    return sweep;
}

// A header, then records and a sweep after every tenth.
QByteArray Recording(int records, QList<qint64>* ends = nullptr)
{
    QByteArray bytes = CRecordingCodec::Header();
    for (int i = 0; i < records; ++i) {
        bytes += CRecordingCodec::RecordFrame(Record(i));
        if (i % 10 == 9)
            bytes += CRecordingCodec::SweepFrame(Sweep(i));
        if (ends)
            ends->append(bytes.size());
    }
    return bytes;
}

bool Same(const CRecord& a, const CRecord& b)
{
    if (a.time != b.time || a.band != b.band || a.duration != b.duration || a.value != b.value
        || a.bandName != b.bandName || a.values.size() != b.values.size())
        return false;
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        const RECORD_VALUE& x = a.values.at(i);
        const RECORD_VALUE& y = b.values.at(i);
        if (x.level != y.level || x.threshold != y.threshold || x.param1 != y.param1 || x.param2 != y.param2)
            return false;
    }
    return true;
}

// A replay's index scans what its pieces decode: both end at the same
// byte, with the same times.
bool ScanAgrees(QByteArrayView bytes)
{
    const QByteArrayView frames = bytes.sliced(std::min<qsizetype>(bytes.size(), CRecordingCodec::HEADER_SIZE));
    const CRecordingCodec::CONTENTS decoded = CRecordingCodec::DecodeFrames(frames);
    const CRecordingCodec::TIMES scanned = CRecordingCodec::ScanFrames(frames);
    QList<quint64> times;
    for (const CRecord& record : decoded.records)
        times.append(record.time);
    return scanned.status == decoded.status && scanned.validBytes == decoded.validBytes && scanned.records == times
        && scanned.sweeps.size() == decoded.sweeps.size() && scanned.sweepPlaces == decoded.sweepPlaces
        && scanned.device == decoded.device
        && scanned.severalBands == CRecordingCodec::IsAutomatic(decoded.records);
}

} // namespace

class tst_RecordingCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsBackWhatWasWritten();
    void cutAtEveryByteKeepsTheWholeRecords();
    void badFiles_data();
    void badFiles();
};

void tst_RecordingCodec::readsBackWhatWasWritten()
{
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(Recording(100));
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), 100);
    for (int i = 0; i < 100; ++i)
        QVERIFY2(Same(contents.records.at(i), Record(i)), qPrintable(QString::number(i)));
    QCOMPARE(contents.sweeps.size(), 10);
    QVERIFY(contents.sweeps.last() == Sweep(99));
    QCOMPARE(contents.sweeps.last().time, quint64(99));
}

void tst_RecordingCodec::cutAtEveryByteKeepsTheWholeRecords()
{
    QList<qint64> ends;
    const QByteArray bytes = Recording(200, &ends);
    for (qsizetype cut = bytes.size() - 1024; cut < bytes.size(); ++cut) {
        const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(QByteArrayView(bytes).first(cut));
        const qsizetype whole = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();
        // A cut between a record and its spectrum keeps the record.
        QCOMPARE(contents.records.size(), whole + (contents.validBytes > (whole ? ends.at(whole - 1) : 0) ? 1 : 0));
        QVERIFY(contents.status == CRecordingCodec::Cut || contents.validBytes == cut);
        QVERIFY(contents.validBytes <= cut);
        QVERIFY(ScanAgrees(QByteArrayView(bytes).first(cut)));
    }
}

void tst_RecordingCodec::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("records");

    const QByteArray good = Recording(5);
    QByteArray flipped = good;
    flipped[flipped.size() - 10] = char(flipped.at(flipped.size() - 10) ^ 0x40);
    QByteArray newer = good;
    newer[6] = char(CRecordingCodec::VERSION + 1);
    QByteArray huge = CRecordingCodec::Header() + QByteArray("\x01\xff\xff\xff\x7f", 5) + QByteArray(64, 'x');

    QTest::newRow("empty") << QByteArray() << int(CRecordingCodec::NotARecording) << 0;
    QTest::newRow("another file") << QByteArray("ORZRED\x01\x00", 8) << int(CRecordingCodec::NotARecording) << 0;
    QTest::newRow("header only") << CRecordingCodec::Header() << int(CRecordingCodec::Whole) << 0;
    QTest::newRow("a bit flipped in the last record") << flipped << int(CRecordingCodec::Damaged) << 4;
    QTest::newRow("garbage after a valid prefix") << good + QByteArray(300, '\x5a') << int(CRecordingCodec::Damaged) << 5;
    QTest::newRow("a length no frame has") << huge << int(CRecordingCodec::Damaged) << 0;
    QTest::newRow("written by a newer version") << newer << int(CRecordingCodec::Newer) << 0;
    QTest::newRow("an unknown kind failing its check") << good + QByteArray::fromHex("0900000000") + QByteArray(4, '\0')
                                                << int(CRecordingCodec::Damaged) << 5;
}

void tst_RecordingCodec::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(int, records);
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(bytes);
    QCOMPARE(int(contents.status), status);
    QCOMPARE(contents.records.size(), records);
    QVERIFY(!CRecordingCodec::Describe(contents).isEmpty());
    QVERIFY(ScanAgrees(bytes));
    QVERIFY(CRecordingCodec::SweepFrame(Sweep(1, 0)).isEmpty());
    QVERIFY(CRecordingCodec::SweepFrame(Sweep(1, 255)).isEmpty());
}

QTEST_GUILESS_MAIN(tst_RecordingCodec)
#include "tst_RecordingCodec.moc"
