// The live recording read back whole, cut anywhere, damaged, and from a
// later version; blocks of records exactly as they went in; reading past
// damage the same whole and piece by piece; the closing summary.
#include "files/CRecordingCodec.h"
#include "files/CRecordingFrames.h"
#include "files/CRecordingReader.h"
#include "files/CRecordingSummary.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

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

// Bit for bit: NaN and -0 must come back as they went in.
bool Same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof(double)) == 0;
}

bool Same(const CRecord& a, const CRecord& b)
{
    if (a.time != b.time || a.band != b.band || a.duration != b.duration || !Same(a.value, b.value)
        || a.bandName != b.bandName || a.values.size() != b.values.size())
        return false;
    for (qsizetype i = 0; i < a.values.size(); ++i) {
        const RECORD_VALUE& x = a.values.at(i);
        const RECORD_VALUE& y = b.values.at(i);
        if (!Same(x.level, y.level) || !Same(x.threshold, y.threshold) || x.param1 != y.param1 || x.param2 != y.param2)
            return false;
    }
    return true;
}

// As the detector makes them at line rate: whole dBm levels, one threshold,
// a second every 280 records; automatic cycles through 16 bands.
QList<CRecord> LineRate(int count, bool automatic)
{
    QList<CRecord> records;
    for (int i = 0; i < count; ++i) {
        CRecord record;
        record.band = automatic ? i % 16 : 7;
        record.bandName = QStringLiteral("Полоса %1").arg(record.band);
        record.duration = automatic ? 1 : 0;
        record.time = 1767225600u + quint64(i / 280);
        record.values.append({ double(-102 + (i * 37) % 256), -60.0, 0, 0 });
        records.append(record);
    }
    return records;
}

// Blocks of ten records with a sweep and a gap between them, as the writer
// interleaves them.
QByteArray BlockRecording(const QList<CRecord>& records)
{
    QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450"));
    for (qsizetype at = 0; at < records.size(); at += 10) {
        bytes += CRecordingCodec::RecordBlockFrames(records.mid(at, 10));
        bytes += CRecordingCodec::SweepFrame(Sweep(int(at)));
        bytes += CRecordingCodec::GapFrame({ quint64(at), quint64(at + 1), at % 3 - 1, CRecordingCodec::RingOverrun });
    }
    return bytes;
}

// Version 1 frames are version 2 ones without their sync marker.
QByteArray V1(const QList<QByteArray>& frames)
{
    QByteArray bytes("ORZREC\x01\x00", CRecordingCodec::HEADER_SIZE);
    for (const QByteArray& frame : frames)
        bytes += frame.mid(4);
    return bytes;
}

QList<QByteArray> V2Frames(int records)
{
    QList<QByteArray> frames { CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")) };
    for (int i = 0; i < records; ++i)
        frames.append(CRecordingCodec::RecordFrame(Record(i)));
    return frames;
}

qint64 DamagedBytes(const QList<CRecordingCodec::DAMAGE>& damage)
{
    qint64 bytes = 0;
    for (const CRecordingCodec::DAMAGE& place : damage)
        bytes += place.bytes;
    return bytes;
}

bool SameDamage(const QList<CRecordingCodec::DAMAGE>& a, const QList<CRecordingCodec::DAMAGE>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a.at(i).offset != b.at(i).offset || a.at(i).bytes != b.at(i).bytes)
            return false;
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
        && scanned.device == decoded.device && scanned.gaps == decoded.gaps.size()
        && SameDamage(scanned.damage, decoded.damage)
        && scanned.severalBands == CRecordingCodec::IsAutomatic(decoded.records);
}

// A record of every kind of field the block encodes apart.
QList<CRecord> OddRecords()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double levels[] = { nan, -nan, inf, -inf, -0.0, 0.5, 1e300, 4.9e-324, 0x1p62, -0x1p53, -60.0, 1e-9 };
    QList<CRecord> records;
    for (int i = 0; i < 24; ++i) {
        CRecord record = Record(i);
        record.time = i == 5 ? 0 : i == 6 ? std::numeric_limits<quint64>::max() : record.time - quint64(i * i);
        record.band = i % 4 == 0 ? std::numeric_limits<int>::min() : i % 4 == 1 ? std::numeric_limits<int>::max() : -i;
        record.duration = -i;
        record.value = levels[(i + 3) % 12];
        record.values = { { levels[i % 12], levels[(i + 1) % 12], std::numeric_limits<int>::min(), i } };
        records.append(record);
    }
    return records;
}

QList<CRecord> NamesAndCounts()
{
    const QString names[] = { QString(QStringLiteral("Диапазон ")).repeated(700), QString(), QStringLiteral("WiFi"),
        QStringLiteral("WiFi"), QStringLiteral("GSM"), QStringLiteral("WiFi") };
    const int counts[] = { 0, 1, 500, 500, 0, 3, 3, 0 };
    QList<CRecord> records;
    for (int i = 0; i < 48; ++i) {
        CRecord record = Record(i);
        record.bandName = names[i % 6];
        record.values.clear();
        for (int v = 0; v < counts[i % 8]; ++v)
            record.values.append({ -60.0 - v % 90, i % 2 ? -70.0 : -70.5, v, std::numeric_limits<int>::max() - i });
        records.append(record);
    }
    return records;
}

// Frame by frame, for damage where it is meant.
QList<QByteArray> BlockFrames(const QList<CRecord>& records)
{
    QList<QByteArray> frames { CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")) };
    for (qsizetype at = 0; at < records.size(); at += 10)
        frames << CRecordingCodec::RecordBlockFrames(records.mid(at, 10)) << CRecordingCodec::SweepFrame(Sweep(int(at)))
               << CRecordingCodec::GapFrame({ quint64(at), quint64(at + 1), -1, CRecordingCodec::ConnectionLost });
    return frames;
}

qsizetype Start(const QList<QByteArray>& frames, int frame)
{
    qsizetype at = CRecordingCodec::HEADER_SIZE;
    for (int i = 0; i < frame; ++i)
        at += frames.at(i).size();
    return at;
}

QByteArray Flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes.at(at) ^ 0x10);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(CRecord)

class tst_RecordingCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsBackWhatWasWritten();
    void cutAtEveryByteKeepsTheWholeRecords();
    void badFiles_data();
    void badFiles();
    void blocksKeepEveryField_data();
    void blocksKeepEveryField();
    void lineRateIsCompact_data();
    void lineRateIsCompact();
    void readingGoesOnPastDamage_data();
    void readingGoesOnPastDamage();
    void summaryTrailer_data();
    void summaryTrailer();
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
    QTest::newRow("garbage after a valid prefix")
        << good + QByteArray(300, '\x5a') << int(CRecordingCodec::Damaged) << 5;
    QTest::newRow("a length no frame has") << huge << int(CRecordingCodec::Damaged) << 0;
    QTest::newRow("written by a newer version") << newer << int(CRecordingCodec::Newer) << 0;
    QTest::newRow("an unknown kind failing its check")
        << good + QByteArray::fromHex("0900000000") + QByteArray(4, '\0') << int(CRecordingCodec::Damaged) << 5;
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

void tst_RecordingCodec::blocksKeepEveryField_data()
{
    QTest::addColumn<QList<CRecord>>("records");
    QTest::newRow("manual at line rate") << LineRate(1000, false);
    QTest::newRow("automatic at line rate") << LineRate(1000, true);
    QTest::newRow("odd doubles, times and bands") << OddRecords();
    QTest::newRow("long, empty and repeated names; empty and many values") << NamesAndCounts();
    // Raw levels and thresholds: more than a frame holds.
    QList<CRecord> large = NamesAndCounts();
    for (CRecord& record : large)
        for (RECORD_VALUE& value : record.values)
            value.level += 0.25;
    QTest::newRow("more than one frame holds") << large;
}

void tst_RecordingCodec::blocksKeepEveryField()
{
    QFETCH(QList<CRecord>, records);
    const QByteArray bytes = BlockRecording(records);
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(bytes);
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        QVERIFY2(Same(contents.records.at(i), records.at(i)), qPrintable(QString::number(i)));
    // Each block's records come before the sweep and the gap after it.
    QCOMPARE(contents.sweeps.size(), (records.size() + 9) / 10);
    QCOMPARE(contents.gaps.size(), contents.sweeps.size());
    for (qsizetype i = 0; i < contents.sweeps.size(); ++i) {
        QCOMPARE(contents.sweepPlaces.at(i), std::min(records.size(), i * 10 + 10));
        QCOMPARE(contents.gapPlaces.at(i), contents.sweepPlaces.at(i));
        QCOMPARE(contents.gaps.at(i).from, quint64(i * 10));
    }
    QCOMPARE(contents.gaps.last().reason, quint8(CRecordingCodec::RingOverrun));
    QVERIFY(ScanAgrees(bytes));
}

void tst_RecordingCodec::lineRateIsCompact_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::newRow("manual") << false;
    QTest::newRow("automatic") << true;
}

// A day at line rate must fit a small disk; a record no frame holds is cut
// to one that does.
void tst_RecordingCodec::lineRateIsCompact()
{
    QFETCH(bool, automatic);
    const QList<CRecord> records = LineRate(280 * 60, automatic);
    QByteArray bytes;
    for (qsizetype at = 0; at < records.size(); at += 280)
        bytes += CRecordingCodec::RecordBlockFrames(records.mid(at, 280));
    QVERIFY2(bytes.size() <= 10 * records.size(), qPrintable(QString::number(double(bytes.size()) / records.size())));
    CRecord huge = Record(1);
    huge.values = QList<RECORD_VALUE>(20000, { 0.5, 0.25, 1, 2 });
    const CRecordingCodec::CONTENTS contents = CRecordingCodec::Decode(
        QByteArray(CRecordingCodec::Header() + CRecordingCodec::RecordBlockFrames({ huge, Record(2) })));
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), 2);
    QVERIFY(!contents.records.first().values.isEmpty() && contents.records.first().values.size() < 20000);
    QVERIFY(Same(contents.records.last(), Record(2)));
}

void tst_RecordingCodec::readingGoesOnPastDamage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("places");
    QTest::addColumn<qint64>("damagedBytes"); // -1: not checked

    QList<CRecord> written;
    for (int i = 0; i < 100; ++i)
        written.append(Record(i));
    const QList<QByteArray> frames = BlockFrames(written); // device, then block, sweep, gap
    const QByteArray good = CRecordingCodec::Header() + frames.join();
    const qsizetype block3 = Start(frames, 10);
    const qsizetype block5 = Start(frames, 16);
    const QByteArray junk = QByteArray("\x01\x02") + QByteArray(CRecordingFrames::SYNC, 4) + QByteArray(31, '\x05');
    QByteArray longer = good;
    qToLittleEndian<quint32>(60000, longer.data() + block5 + 5);
    QByteArray overLimit = good;
    qToLittleEndian<quint32>(0x7FFFFFFF, overLimit.data() + block5 + 5);
    QByteArray removed = good;
    removed.remove(block3 + 20, Start(frames, 13) + 20 - (block3 + 20));
    QByteArray newer = good;
    newer[6] = char(CRecordingCodec::VERSION + 1);
    const QList<QByteArray> v1Frames = V2Frames(30);
    const QByteArray v1 = V1(v1Frames);
    const qsizetype v1Record11
        = CRecordingCodec::HEADER_SIZE + (Start(v1Frames, 12) - CRecordingCodec::HEADER_SIZE) - 12 * 4;
    const qsizetype v1Record1 = CRecordingCodec::HEADER_SIZE + frames.first().size() - 4;
    // From inside record 10 to inside record 12.
    const QByteArray gone = QByteArray(v1).remove(v1Record11 - 30, 30 + v1Frames.at(12).size() - 4 + 20);

    QTest::newRow("device frame flipped")
        << Flipped(good, 12) << int(CRecordingCodec::Damaged) << 100 << 1 << qint64(frames.first().size());
    QTest::newRow("third block flipped") << Flipped(good, block3 + 30) << int(CRecordingCodec::Damaged) << 90 << 1
                                         << qint64(frames.at(10).size());
    QTest::newRow("junk with a sync marker inserted")
        << QByteArray(good).insert(block5, junk) << int(CRecordingCodec::Damaged) << 100 << 1 << qint64(junk.size());
    QTest::newRow("a span across frames removed") << removed << int(CRecordingCodec::Damaged) << 80 << 1 << qint64(-1);
    QTest::newRow("a length past the end")
        << longer << int(CRecordingCodec::Damaged) << 90 << 1 << qint64(frames.at(16).size());
    QTest::newRow("a length over the limit")
        << overLimit << int(CRecordingCodec::Damaged) << 90 << 1 << qint64(frames.at(16).size());
    QTest::newRow("cut in the last frame") << good.chopped(3) << int(CRecordingCodec::Cut) << 100 << 0 << qint64(0);
    QTest::newRow("cut in the last block")
        << good.left(Start(frames, 29) - 3) << int(CRecordingCodec::Cut) << 90 << 0 << qint64(0);
    QTest::newRow("damage, then a cut") << Flipped(good, block3 + 30).chopped(3) << int(CRecordingCodec::Damaged) << 90
                                        << 1 << qint64(-1);
    QTest::newRow("junk at the end") << good + QByteArray(300, '\x5a') << int(CRecordingCodec::Damaged) << 100 << 1
                                     << qint64(300);
    QTest::newRow("newer version") << newer << int(CRecordingCodec::Newer) << 0 << 0 << qint64(0);
    QTest::newRow("version 1") << v1 << int(CRecordingCodec::Whole) << 30 << 0 << qint64(0);
    QTest::newRow("version 1, first record flipped")
        << Flipped(v1, v1Record1 + 20) << int(CRecordingCodec::Damaged) << 29 << 1 << qint64(v1Frames.at(1).size() - 4);
    QTest::newRow("version 1, junk inserted") << QByteArray(v1).insert(v1Record11, QByteArray(50, '\x01'))
                                              << int(CRecordingCodec::Damaged) << 30 << 1 << qint64(50);
    QTest::newRow("version 1, a span removed") << gone << int(CRecordingCodec::Damaged) << 27 << 1 << qint64(-1);
}

// Whole or piece by piece in chunks of any size: the same records, the same
// damage at the same file offsets, and each piece read again the same.
void tst_RecordingCodec::readingGoesOnPastDamage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(int, records);
    QFETCH(int, places);
    QFETCH(qint64, damagedBytes);
    const CRecordingCodec::CONTENTS whole = CRecordingCodec::Decode(bytes);
    QCOMPARE(int(whole.status), status);
    QCOMPARE(whole.records.size(), records);
    QCOMPARE(whole.damage.size(), places);
    QVERIFY(damagedBytes < 0 || DamagedBytes(whole.damage) == damagedBytes);
    for (const CRecord& record : whole.records)
        QVERIFY(Same(record, Record(int(record.time - Record(0).time))));
    QVERIFY(ScanAgrees(bytes));
    QVERIFY(places == 0 || CRecordingCodec::Describe(whole).contains(QString::number(whole.damage.first().offset)));
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("r.orzrec")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    for (int chunk : { 1, 5, 37, 1000, 1 << 20 }) {
        CRecordingReader reader(chunk);
        QCOMPARE(reader.Open(file.fileName()), status != CRecordingCodec::Newer);
        QList<qint64> offsets;
        QList<qsizetype> counts;
        QList<CRecord> read;
        CRecordingCodec::CONTENTS piece;
        for (qint64 offset = reader.Offset(); reader.Next(piece); offset = reader.Offset()) {
            offsets.append(offset);
            counts.append(piece.records.size());
            read += piece.records;
        }
        QCOMPARE(int(reader.Status()), status);
        QCOMPARE(read.size(), whole.records.size());
        for (qsizetype i = 0; i < read.size(); ++i)
            QVERIFY(Same(read.at(i), whole.records.at(i)));
        QVERIFY2(SameDamage(reader.Damage(), whole.damage), qPrintable(QString::number(chunk)));
        for (qsizetype i = 0; i < offsets.size(); ++i) {
            reader.SeekTo(offsets.at(i));
            QVERIFY(reader.Next(piece) && piece.records.size() == counts.at(i));
        }
    }
}

void tst_RecordingCodec::summaryTrailer_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("found");
    const QByteArray recording = BlockRecording(LineRate(20, true));
    // Not what the recording holds: only a summary read from the trailer says so.
    const QByteArray closed = recording + CRecordingCodec::SummaryFrame({ 5, 9, 12345, 2, true, 7, 1, 3 });
    QTest::newRow("closed") << closed << true;
    QTest::newRow("trailer cut") << closed.chopped(1) << false;
    QTest::newRow("junk after it") << closed + "x" << false;
    QTest::newRow("trailer flipped") << Flipped(closed, closed.size() - 20) << false;
    QTest::newRow("not the last frame") << closed + CRecordingCodec::RecordBlockFrames(LineRate(1, true)) << false;
    QTest::newRow("never closed") << recording << false;
}

void tst_RecordingCodec::summaryTrailer()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, found);
    CRecordingCodec::SUMMARY summary;
    QCOMPARE(CRecordingCodec::ReadSummary(QByteArrayView(bytes).last(256), summary), found);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("r.orzrec")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const CRecordingSummary::RECORDING recorded = CRecordingSummary::Summarize(file.fileName());
    QCOMPARE(recorded.device, QStringLiteral("RZ450"));
    QCOMPARE(recorded.summary.records, found ? 12345 : CRecordingCodec::Decode(bytes).records.size());
    if (found) {
        QVERIFY(summary.first == 5 && summary.last == 9 && summary.sweeps == 2 && summary.automatic);
        QVERIFY(summary.damagedBytes == 7 && summary.damagedPlaces == 1 && summary.gaps == 3);
        QCOMPARE(recorded.status, CRecordingCodec::Damaged);
    } else {
        QCOMPARE(recorded.summary.sweeps, 2);
        QCOMPARE(recorded.summary.gaps, 2);
        QVERIFY(recorded.summary.automatic);
    }
}

QTEST_GUILESS_MAIN(tst_RecordingCodec)
#include "tst_RecordingCodec.moc"
