// A spectrum reference apart from the window: its bytes, its file, its
// resampling onto other points and the new signals found above it.
#include "reference/CNewSignals.h"
#include "reference/CReferenceCodec.h"
#include "reference/CReferenceFile.h"
#include "reference/CReferenceResampler.h"
#include "sites/CSiteFolder.h"

#include "Crc32.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

CSpectrumReference Reference(int points, const QString& name = QStringLiteral("Clean"))
{
    CSpectrumReference reference;
    reference.name = name;
    reference.site = QStringLiteral("Room 1");
    reference.rangeStartMhz = 2400;
    reference.rangeEndMhz = 2500;
    reference.saved = QDateTime(QDate(2026, 12, 10), QTime(9, 30), Qt::UTC);
    reference.trace = CSpectrumReference::Average;
    for (int i = 0; i < points; ++i)
        reference.levels.push_back(-100.0 + 0.25 * (i % 160));
    return reference;
}

// The point count's offset, for bytes a writer of ours would never make.
qsizetype CountOffset(const CSpectrumReference& reference)
{
    return 8 + 2 + reference.name.toUtf8().size() + 2 + reference.site.toUtf8().size() + 8 + 1 + 4 + 4;
}

QByteArray Resealed(QByteArray bytes)
{
    bytes.chop(4);
    char crc[4];
    qToLittleEndian<quint32>(Crc32::Of(bytes), crc);
    return bytes + QByteArray(crc, 4);
}

} // namespace

class TestSpectrumReference : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void everyPrefixIsRefused();
    void everyChangedByteIsRefused();
    void refusals_data();
    void refusals();
    void fileSaveListLoad();
    void fileNeverReplacesUnasked();
    void fileLoadMessages_data();
    void fileLoadMessages();
    void resample_data();
    void resample();
    void mismatchNamesBothRanges();
    void newSignals_data();
    void newSignals();
    void newSignalsAreBounded();
};

void TestSpectrumReference::roundTrip_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("name");
    QTest::newRow("one point") << 1 << QStringLiteral("a");
    QTest::newRow("the graph's 160") << 160 << QStringLiteral("Clean morning");
    QTest::newRow("254 points") << 254 << QStringLiteral("Зал 2 — чисто");
}

void TestSpectrumReference::roundTrip()
{
    QFETCH(int, points);
    QFETCH(QString, name);
    const CSpectrumReference reference = Reference(points, name);
    const QByteArray bytes = CReferenceCodec::Encode(reference);
    QCOMPARE(bytes.left(8), QByteArray("ORZREF\x01\x00", 8));
    QCOMPARE(bytes.size(), CountOffset(reference) + 2 + 4 * points + 4);
    CSpectrumReference read;
    QCOMPARE(CReferenceCodec::Decode(bytes, read), CReferenceCodec::Ok);
    QVERIFY(read == reference);
    // The CRC is the one of zip and of the recordings.
    QCOMPARE(Crc32::Of(QByteArrayView("123456789")), 0xCBF43926u);
}

void TestSpectrumReference::everyPrefixIsRefused()
{
    const QByteArray bytes = CReferenceCodec::Encode(Reference(20));
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        CSpectrumReference read = Reference(3);
        QVERIFY2(CReferenceCodec::Decode(bytes.left(size), read) != CReferenceCodec::Ok,
            qPrintable(QString::number(size)));
        QVERIFY(read == Reference(3));
    }
}

void TestSpectrumReference::everyChangedByteIsRefused()
{
    const QByteArray bytes = CReferenceCodec::Encode(Reference(20));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        for (const char flip : { char(0x01), char(0x80) }) {
            QByteArray changed = bytes;
            changed[i] = char(changed[i] ^ flip);
            CSpectrumReference read;
            QVERIFY2(CReferenceCodec::Decode(changed, read) != CReferenceCodec::Ok, qPrintable(QString::number(i)));
        }
    }
}

void TestSpectrumReference::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const CSpectrumReference sound = Reference(10);
    const QByteArray bytes = CReferenceCodec::Encode(sound);
    QByteArray magic = bytes;
    magic[0] = 'X';
    QTest::newRow("other magic") << magic << int(CReferenceCodec::NotAReference);
    QByteArray version = bytes;
    version[6] = 2;
    QTest::newRow("version 2") << Resealed(version) << int(CReferenceCodec::OtherVersion);
    QTest::newRow("trailing byte") << bytes + '\0' << int(CReferenceCodec::Damaged);
    QTest::newRow("trailing byte, resealed") << Resealed(bytes + QByteArray(5, '\0')) << int(CReferenceCodec::Damaged);
    QByteArray crc = bytes;
    crc[crc.size() - 1] = char(crc.at(crc.size() - 1) ^ 0x10);
    QTest::newRow("crc mismatch") << crc << int(CReferenceCodec::Damaged);
    CSpectrumReference none = sound;
    none.levels.clear();
    QTest::newRow("no points") << CReferenceCodec::Encode(none) << int(CReferenceCodec::Damaged);
    CSpectrumReference most = Reference(CSpectrumReference::MAX_POINTS);
    QByteArray beyond = CReferenceCodec::Encode(most);
    qToLittleEndian<quint16>(quint16(CSpectrumReference::MAX_POINTS + 1), beyond.data() + CountOffset(most));
    beyond.insert(beyond.size() - 4, QByteArray(4, '\0'));
    QTest::newRow("255 points") << Resealed(beyond) << int(CReferenceCodec::Damaged);
    CSpectrumReference nan = sound;
    nan.levels[4] = NaN;
    QTest::newRow("NaN level") << CReferenceCodec::Encode(nan) << int(CReferenceCodec::Damaged);
    CSpectrumReference infinite = sound;
    infinite.levels[0] = -std::numeric_limits<double>::infinity();
    QTest::newRow("infinite level") << CReferenceCodec::Encode(infinite) << int(CReferenceCodec::Damaged);
    CSpectrumReference empty = sound;
    empty.rangeEndMhz = empty.rangeStartMhz;
    QTest::newRow("end at start") << CReferenceCodec::Encode(empty) << int(CReferenceCodec::Damaged);
    CSpectrumReference reversed = sound;
    reversed.rangeEndMhz = 2300;
    QTest::newRow("end below start") << CReferenceCodec::Encode(reversed) << int(CReferenceCodec::Damaged);
    CSpectrumReference path = sound;
    path.name = QStringLiteral("../other");
    QTest::newRow("name with a path") << CReferenceCodec::Encode(path) << int(CReferenceCodec::Damaged);
    CSpectrumReference trace = sound;
    trace.trace = CSpectrumReference::Trace(4);
    QTest::newRow("unknown trace") << CReferenceCodec::Encode(trace) << int(CReferenceCodec::Damaged);
}

void TestSpectrumReference::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    CSpectrumReference read = Reference(2);
    QCOMPARE(int(CReferenceCodec::Decode(bytes, read)), status);
    QVERIFY(read == Reference(2));
}

void TestSpectrumReference::fileSaveListLoad()
{
    QTemporaryDir storage;
    QString error;
    for (const char* name : { "Evening", "Clean" })
        QCOMPARE(CReferenceFile::Save(storage.path(), Reference(160, QLatin1String(name)), false, error),
            CReferenceFile::Saved);
    QFile(CSiteFolder::Path(storage.path(), QStringLiteral("Room 1")) + QStringLiteral("/notes.txt"))
        .open(QIODevice::WriteOnly);
    QCOMPARE(CReferenceFile::List(storage.path(), QStringLiteral("Room 1")),
        QStringList({ QStringLiteral("Clean"), QStringLiteral("Evening") }));
    QVERIFY(CReferenceFile::List(storage.path(), QStringLiteral("Nowhere")).isEmpty());
    CSpectrumReference read;
    QVERIFY2(CReferenceFile::Load(storage.path(), QStringLiteral("Room 1"), QStringLiteral("Evening"), read, error),
        qPrintable(error));
    QVERIFY(read == Reference(160, QStringLiteral("Evening")));
}

void TestSpectrumReference::fileNeverReplacesUnasked()
{
    QTemporaryDir storage;
    QString error;
    QCOMPARE(CReferenceFile::Save(storage.path(), Reference(160), false, error), CReferenceFile::Saved);
    const QString path = CReferenceFile::Path(storage.path(), QStringLiteral("Room 1"), QStringLiteral("Clean"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray first = file.readAll();
    file.close();
    QCOMPARE(CReferenceFile::Save(storage.path(), Reference(10), false, error), CReferenceFile::Exists);
    QVERIFY(error.contains(QStringLiteral("\"Clean\"")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), first);
    file.close();
    QCOMPARE(CReferenceFile::Save(storage.path(), Reference(10), true, error), CReferenceFile::Saved);
    CSpectrumReference read;
    QVERIFY(CReferenceFile::Load(path, read, error));
    QCOMPARE(read.Points(), 10);
}

void TestSpectrumReference::fileLoadMessages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    const QByteArray bytes = CReferenceCodec::Encode(Reference(8));
    QTest::newRow("missing") << QStringLiteral("Clean") << QByteArray() << QStringLiteral("cannot be read");
    QTest::newRow("cut") << QStringLiteral("Clean") << bytes.left(30) << QStringLiteral("is damaged");
    QTest::newRow("another file") << QStringLiteral("Clean") << QByteArray("PNG...")
                                  << QStringLiteral("no spectrum reference");
    QTest::newRow("bad name") << QStringLiteral("a/b") << bytes << QStringLiteral("cannot be used");
}

void TestSpectrumReference::fileLoadMessages()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QTemporaryDir storage;
    QString error;
    QVERIFY(CSiteFolder::Make(storage.path(), QStringLiteral("Room 1"), error));
    if (!contents.isEmpty()) {
        QFile file(CReferenceFile::Path(storage.path(), QStringLiteral("Room 1"), QStringLiteral("Clean")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    CSpectrumReference read = Reference(2);
    QVERIFY(!CReferenceFile::Load(storage.path(), QStringLiteral("Room 1"), name, read, error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(read == Reference(2));
}

void TestSpectrumReference::resample_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("fit");
    QTest::addColumn<QList<double>>("mhz");
    QTest::addColumn<QList<double>>("levels");
    // The reference: 2400-2500 MHz in 101 points, -100 dBm rising 0.1 dB a MHz.
    QTest::newRow("same") << 2400 << 2500 << 101 << int(CReferenceResampler::Same) << QList<double> { 2400, 2450, 2500 }
                          << QList<double> { -100, -95, -90 };
    QTest::newRow("other points") << 2400 << 2500 << 41 << int(CReferenceResampler::Resamplable)
                                  << QList<double> { 2400, 2402.5, 2500 } << QList<double> { -100, -99.75, -90 };
    QTest::newRow("shifted") << 2450 << 2550 << 101 << int(CReferenceResampler::Resamplable)
                             << QList<double> { 2450, 2500, 2501, 2550 } << QList<double> { -95, -90, NaN, NaN };
    QTest::newRow("wider") << 2300 << 2600 << 301 << int(CReferenceResampler::Resamplable)
                           << QList<double> { 2300, 2399, 2400, 2455, 2500, 2600 }
                           << QList<double> { NaN, NaN, -100, -94.5, -90, NaN };
    QTest::newRow("no overlap") << 2600 << 2700 << 101 << int(CReferenceResampler::NoOverlap)
                                << QList<double> { 2600, 2700 } << QList<double> { NaN, NaN };
    QTest::newRow("touching") << 2500 << 2600 << 101 << int(CReferenceResampler::NoOverlap) << QList<double> { 2500 }
                              << QList<double> { NaN };
}

void TestSpectrumReference::resample()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, points);
    QFETCH(int, fit);
    QFETCH(QList<double>, mhz);
    QFETCH(QList<double>, levels);
    CSpectrumReference reference = Reference(0);
    for (int i = 0; i <= 100; ++i)
        reference.levels.push_back(-100.0 + 0.1 * i);
    QCOMPARE(int(CReferenceResampler::FitOf(reference, start, end, points)), fit);
    const std::vector<double> resampled = CReferenceResampler::Resample(reference, start, end, points);
    QCOMPARE(int(resampled.size()), points);
    for (int i = 0; i < mhz.size(); ++i) {
        const int point = int(std::lround((mhz.at(i) - start) * (points - 1) / (end - start)));
        const double level = resampled[size_t(point)];
        if (std::isnan(levels.at(i)))
            QVERIFY2(std::isnan(level), qPrintable(QString::number(mhz.at(i))));
        else
            QVERIFY2(std::abs(level - levels.at(i)) < 1e-9, qPrintable(QString::number(level)));
    }
}

void TestSpectrumReference::mismatchNamesBothRanges()
{
    CSpectrumReference reference = Reference(160, QStringLiteral("X"));
    QCOMPARE(CReferenceResampler::Mismatch(reference, 2300, 2500, 160),
        QStringLiteral("The reference \"X\" covers 2400-2500 MHz in 160 points; the detector now scans 2300-2500 MHz "
                       "in 160 points."));
}

void TestSpectrumReference::newSignals_data()
{
    QTest::addColumn<double>("margin");
    QTest::addColumn<QList<int>>("points");
    // A flat -90 dBm room; emitter A live at 40..42 (peak -70 dBm at 41,
    // 20 dB over), emitter B only in the max hold at 120 (-75 dBm, 15 dB).
    QTest::newRow("default margin") << 6.0 << QList<int> { 41, 120 };
    QTest::newRow("just under B") << 14.9 << QList<int> { 41, 120 };
    QTest::newRow("at B: not over") << 15.0 << QList<int> { 41 };
    QTest::newRow("at A: not over") << 20.0 << QList<int> {};
}

void TestSpectrumReference::newSignals()
{
    QFETCH(double, margin);
    QFETCH(QList<int>, points);
    std::vector<double> reference(160, -90.0);
    std::vector<double> live(160, -90.0);
    for (size_t i = 0; i < live.size(); ++i)
        live[i] += double(i % 3); // noise under every margin
    reference[10] = NaN;
    live[10] = 0.0; // no reference there: never new
    live[40] = -80;
    live[41] = -70;
    live[42] = -78;
    std::vector<double> maxHold = live;
    maxHold[120] = -75;
    const QList<NEW_SIGNAL> found = CNewSignals::Find(live, maxHold, reference, margin, 2400, 2559);
    QCOMPARE(found.size(), points.size());
    for (int i = 0; i < found.size(); ++i)
        QCOMPARE(found.at(i).point, points.at(i));
    if (points.size() == 2) {
        QCOMPARE(found.at(0).mhz, 2441.0);
        QCOMPARE(found.at(0).levelDbm, -70.0);
        QCOMPARE(found.at(0).excessDb, 20.0);
        QCOMPARE(found.at(0).source, NEW_SIGNAL::Live);
        QCOMPARE(found.at(1).mhz, 2520.0);
        QCOMPARE(found.at(1).levelDbm, -75.0);
        QCOMPARE(found.at(1).excessDb, 15.0);
        QCOMPARE(found.at(1).source, NEW_SIGNAL::MaxHold);
    }
    const std::vector<bool> over = CNewSignals::Over(live, maxHold, reference, margin);
    QCOMPARE(over[40] && over[41] && over[42], margin < 10.0);
    QVERIFY(!over[10]);
}

void TestSpectrumReference::newSignalsAreBounded()
{
    std::vector<double> live(1000, -50.0);
    for (size_t i = 0; i < live.size(); i += 2)
        live[i] = -100.0;
    const std::vector<double> reference(1000, -90.0);
    QCOMPARE(int(CNewSignals::Find(live, {}, reference, 6.0, 2400, 2500).size()), CNewSignals::MAX_SIGNALS);
}

QTEST_GUILESS_MAIN(TestSpectrumReference)
#include "tst_SpectrumReference.moc"
