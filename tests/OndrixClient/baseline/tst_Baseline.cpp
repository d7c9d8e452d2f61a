#include "baseline/CBaselineCodec.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CBaselineRecordings.h"
#include "baseline/CBaselineStats.h"
#include "files/CRecordingCodec.h"
#include "sites/CSiteFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const quint64 T0 = 1765300000;

CRecord Record(quint64 time, int band, double level)
{
    CRecord record;
    record.time = time;
    record.band = band;
    record.bandName = QStringLiteral("Band%1/").arg(band);
    record.values = { { level, -40.0, 0, 0 } };
    return record;
}

// Band 1 quiet at p95 -70 dBm, band 2 busier at p95 -50 dBm.
CBaseline Known()
{
    CBaseline baseline;
    baseline.site = QStringLiteral("Office 3");
    baseline.start = QDateTime::fromSecsSinceEpoch(qint64(T0), Qt::UTC);
    baseline.nSeconds = 600;
    baseline.device = QStringLiteral("RZ450");
    baseline.bands
        = { { 1, QStringLiteral("Band1/"), -80, -70, -66, 300 }, { 2, QStringLiteral("Band2/"), -60, -50, -48, 300 } };
    return baseline;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// "band:start-end:peak:excess", start and end from T0, "+" when running.
QStringList Described(const QList<BASELINE_FLAG>& flags)
{
    QStringList lines;
    for (const BASELINE_FLAG& flag : flags)
        lines.append(QStringLiteral("%1:%2-%3:%4:%5%6")
                         .arg(flag.band)
                         .arg(flag.start - T0)
                         .arg(flag.end - T0)
                         .arg(flag.dPeak)
                         .arg(flag.dExcess)
                         .arg(flag.bRunning ? QStringLiteral("+") : QString()));
    return lines;
}

} // namespace

class tst_Baseline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codecRefuses_data();
    void codecRefuses();
    void codecCutOrFlipped();
    void stats_data();
    void stats();
    void comparator_data();
    void comparator();
    void comparatorKeepsBoundedFlags();
    void files_data();
    void files();
    void capturedRecordingFlagsChangedBand();
};

void tst_Baseline::codecRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const auto encoded = [](void (*change)(CBaseline&)) {
        CBaseline baseline = Known();
        change(baseline);
        return CBaselineCodec::Encode(baseline);
    };
    QTest::newRow("whole") << CBaselineCodec::Encode(Known()) << int(CBaselineCodec::Ok);
    QTest::newRow("a recording") << CRecordingCodec::Header() << int(CBaselineCodec::NotABaseline);
    QByteArray newer = CBaselineCodec::Encode(Known());
    newer[6] = char(CBaselineCodec::VERSION + 1);
    QTest::newRow("newer") << newer << int(CBaselineCodec::Newer);
    QTest::newRow("bytes after it") << CBaselineCodec::Encode(Known()) + "x" << int(CBaselineCodec::Damaged);
    QTest::newRow("no bands") << encoded([](CBaseline& b) { b.bands.clear(); }) << int(CBaselineCodec::Empty);
    QTest::newRow("band of no samples") << encoded([](CBaseline& b) { b.bands[1].nSamples = 0; })
                                        << int(CBaselineCodec::Damaged);
    QTest::newRow("median over p95") << encoded([](CBaseline& b) { b.bands[0].dMedian = -60; })
                                     << int(CBaselineCodec::Damaged);
    QTest::newRow("level no number") << encoded([](CBaseline& b) { b.bands[0].dMax = qQNaN(); })
                                     << int(CBaselineCodec::Damaged);
    QTest::newRow("a band twice") << encoded([](CBaseline& b) { b.bands[1].band = 1; }) << int(CBaselineCodec::Damaged);
    QTest::newRow("site leads out") << encoded([](CBaseline& b) { b.site = QStringLiteral("../x"); })
                                    << int(CBaselineCodec::Damaged);
}

void tst_Baseline::codecRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    CBaseline baseline;
    QCOMPARE(int(CBaselineCodec::Decode(bytes, baseline)), status);
    if (status != CBaselineCodec::Ok)
        QVERIFY(baseline.bands.isEmpty() && baseline.site.isEmpty());
    else
        QCOMPARE(CBaselineCodec::Encode(baseline), bytes);
}

// Every prefix of a file (a write cut short, or the bytes of a file split
// in two) and every byte changed is refused whole.
void tst_Baseline::codecCutOrFlipped()
{
    const QByteArray bytes = CBaselineCodec::Encode(Known());
    for (int size = 0; size < bytes.size(); ++size) {
        CBaseline baseline;
        QVERIFY(CBaselineCodec::Decode(bytes.left(size), baseline) != CBaselineCodec::Ok);
        QVERIFY(CBaselineCodec::Decode(QByteArray(bytes.left(size) + bytes.mid(size)), baseline) == CBaselineCodec::Ok);
    }
    for (int at = 0; at < bytes.size(); ++at) {
        QByteArray flipped = bytes;
        flipped[at] = char(flipped[at] ^ 0x10);
        CBaseline baseline;
        QVERIFY2(CBaselineCodec::Decode(flipped, baseline) != CBaselineCodec::Ok, qPrintable(QString::number(at)));
    }
}

void tst_Baseline::stats_data()
{
    QTest::addColumn<QList<double>>("levels");
    QTest::addColumn<QList<double>>("expected"); // median, p95, max, samples
    QList<double> ramp;
    for (int i = 1; i <= 100; ++i)
        ramp.append(-101.0 + i);
    QList<double> spike(19, -80.0);
    spike.append(-20.0);
    QTest::newRow("one level") << QList<double> { -60 } << QList<double> { -60, -60, -60, 1 };
    QTest::newRow("ramp of 100") << ramp << QList<double> { -51, -6, -1, 100 };
    QTest::newRow("one spike in 20") << spike << QList<double> { -80, -80, -20, 20 };
    QTest::newRow("spike is the 95th") << spike.mid(1) << QList<double> { -80, -20, -20, 19 };
    QTest::newRow("fractions round, max kept")
        << QList<double> { -60.4, -59.6 } << QList<double> { -60, -60, -59.6, 2 };
    QTest::newRow("past the detector's range") << QList<double> { -300, 400 } << QList<double> { -102, 153, 400, 2 };
    QTest::newRow("no finite level") << QList<double> { qQNaN(), qInf() } << QList<double>();
}

void tst_Baseline::stats()
{
    QFETCH(QList<double>, levels);
    QFETCH(QList<double>, expected);
    CBaselineStats stats;
    for (int i = 0; i < levels.size(); ++i) {
        stats.Add(Record(T0 + quint64(i), 5, levels.at(i)));
        if (!expected.isEmpty()) // another band changes nothing of band 5's
            stats.Add(Record(T0 + quint64(i), 6, -90));
    }
    CBaseline baseline;
    QString error;
    QCOMPARE(stats.Result(QStringLiteral("Lab"), baseline, error), !expected.isEmpty());
    if (expected.isEmpty()) {
        QVERIFY(error.contains(QLatin1String("No level")));
        return;
    }
    const BAND_BASELINE* band = baseline.Find(5);
    QVERIFY(band);
    QCOMPARE(QList<double>({ band->dMedian, band->dP95, band->dMax, double(band->nSamples) }), expected);
    QCOMPARE(baseline.nSeconds, qint64(levels.size()));
    QCOMPARE(baseline.start.toSecsSinceEpoch(), qint64(T0));
}

void tst_Baseline::comparator_data()
{
    QTest::addColumn<QList<QList<double>>>("records"); // seconds after T0, band, level
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QList<int>>("flaggedNow");
    QTest::newRow("quiet") << QList<QList<double>> { { 0, 1, -75 }, { 1, 2, -55 } } << QStringList() << QList<int>();
    QTest::newRow("at the margin is not over")
        << QList<QList<double>> { { 0, 1, -64 }, { 1, 2, -44 } } << QStringList() << QList<int>();
    QTest::newRow("one run ends") << QList<QList<double>> { { 0, 1, -60 }, { 1, 1, -55 }, { 2, 1, -62 }, { 3, 1, -70 } }
                                  << QStringList { "1:0-2:-55:15" } << QList<int>();
    QTest::newRow("only the changed band")
        << QList<QList<double>> { { 0, 1, -72 }, { 0, 2, -30 }, { 1, 1, -71 }, { 1, 2, -35 } }
        << QStringList { "2:0-1:-30:20+" } << QList<int> { 2 };
    QTest::newRow("a gap splits the run") << QList<QList<double>> { { 0, 1, -60 }, { 30, 1, -50 } }
                                          << QStringList { "1:0-0:-60:10", "1:30-30:-50:20+" } << QList<int> { 1 };
    QTest::newRow("a band the baseline lacks")
        << QList<QList<double>> { { 0, 7, 0 }, { 1, 1, qQNaN() } } << QStringList() << QList<int>();
}

void tst_Baseline::comparator()
{
    QFETCH(QList<QList<double>>, records);
    QFETCH(QStringList, flags);
    QFETCH(QList<int>, flaggedNow);
    CBaselineComparator comparator(Known());
    for (const QList<double>& r : records)
        comparator.Add(Record(T0 + quint64(r.at(0)), int(r.at(1)), r.at(2)));
    QCOMPARE(Described(comparator.Flags()), flags);
    for (const int band : { 1, 2, 7 })
        QCOMPARE(comparator.IsFlagged(band), flaggedNow.contains(band));
    comparator.Finish();
    QCOMPARE(Described(comparator.Flags()), flags.replaceInStrings(QStringLiteral("+"), QString()));
}

void tst_Baseline::comparatorKeepsBoundedFlags()
{
    CBaselineComparator comparator(Known(), 3.0);
    const int intervals = CBaselineComparator::MAX_FLAGS + 5;
    for (int i = 0; i < intervals; ++i) {
        comparator.Add(Record(T0 + quint64(2 * i), 1, -60));
        comparator.Add(Record(T0 + quint64(2 * i + 1), 1, -80));
    }
    QCOMPARE(comparator.Flags().size(), CBaselineComparator::MAX_FLAGS);
    QCOMPARE(comparator.Dropped(), qint64(5));
    const QList<BASELINE_FLAG> bands = comparator.Bands();
    QCOMPARE(bands.size(), 1);
    QCOMPARE(bands.first().nIntervals, qint64(intervals));
    QCOMPARE(bands.first().end, T0 + quint64(2 * intervals - 2));
}

enum Setup { Saved, SavedTwice, NewestDamaged, NoSamples, NoSite, BadName };
Q_DECLARE_METATYPE(Setup)

void tst_Baseline::files_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("error"); // empty: Latest finds the newest
    QTest::newRow("saved") << Saved << QString();
    QTest::newRow("saved twice the same second") << SavedTwice << QString();
    QTest::newRow("newest damaged") << NewestDamaged << QStringLiteral("is damaged");
    QTest::newRow("no samples") << NoSamples << QStringLiteral("no samples");
    QTest::newRow("missing site") << NoSite << QStringLiteral("no site named");
    QTest::newRow("name leads out") << BadName << QStringLiteral("may not hold");
}

void tst_Baseline::files()
{
    QFETCH(Setup, setup);
    QFETCH(QString, error);
    QTemporaryDir storage;
    CBaseline baseline = Known();
    baseline.site = setup == BadName ? QStringLiteral("a/b") : baseline.site;
    if (setup == NoSamples)
        baseline.bands[0].nSamples = baseline.bands[1].nSamples = 0;
    QString path, saveError, said;
    const bool saved = setup != NoSite && CBaselineFile::Save(storage.path(), baseline, path, saveError);
    QCOMPARE(saved, setup < NoSamples);
    if (setup == SavedTwice || setup == NewestDamaged) {
        baseline.bands[0].dP95 = -69;
        QVERIFY(CBaselineFile::Save(storage.path(), baseline, path, saveError));
    }
    QCOMPARE(QFileInfo(path).fileName(),
        saved ? QStringLiteral("baseline-20251209-170640%1.orzbase").arg(setup == Saved ? "" : "-2") : QString());
    const QByteArray damaged = CBaselineCodec::Encode(baseline).chopped(1);
    if (setup == NewestDamaged)
        QVERIFY(Write(path, damaged));
    CBaseline latest;
    QString found;
    QCOMPARE(CBaselineFile::Latest(storage.path(), baseline.site, latest, said, &found), error.isEmpty());
    QVERIFY2(QString(saveError + said).contains(error), qPrintable(saveError + said));
    if (error.isEmpty()) {
        QCOMPARE(found, path);
        QCOMPARE(CBaselineCodec::Encode(latest), CBaselineCodec::Encode(baseline));
        QCOMPARE(CBaselineFile::List(storage.path(), baseline.site).size(), setup == Saved ? 1 : 2);
    } else if (setup == NewestDamaged) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == damaged);
    } else {
        QCOMPARE(QDir(storage.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
}

// Ten minutes of three bands recorded, captured as the baseline; then the
// same site where band 2 rose by 20 dB for 12 s: band 2 alone is flagged.
void tst_Baseline::capturedRecordingFlagsChangedBand()
{
    QTemporaryDir folder;
    const auto recording = [&folder](const QString& name, int risenFrom) {
        QList<CRecord> records;
        for (int s = 0; s < 600; ++s) {
            for (int band = 0; band < 3; ++band) {
                const bool risen = band == 2 && s >= risenFrom && s < risenFrom + 12;
                records.append(Record(T0 + quint64(s), band, -90 + band * 10 + s % 5 + (risen ? 20 : 0)));
            }
        }
        const QString path = folder.filePath(name);
        return Write(path,
                   CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450"))
                       + CRecordingCodec::RecordBlockFrames(records))
            ? path
            : QString();
    };
    const QString before = recording(QStringLiteral("before.orzrec"), 600);
    const QString after = recording(QStringLiteral("after.orzrec"), 300);
    CBaselineStats stats;
    QString error;
    QVERIFY(CBaselineRecordings::Capture({ before }, QStringLiteral("RZ450"), stats, error));
    CBaseline baseline;
    QVERIFY(stats.Result(QStringLiteral("Hall"), baseline, error));
    QCOMPARE(baseline.device, QStringLiteral("RZ450"));
    QCOMPARE(baseline.bands.size(), 3);
    QCOMPARE(QList<double>({ baseline.bands[2].dMedian, baseline.bands[2].dP95, baseline.bands[2].dMax }),
        QList<double>({ -68, -66, -66 }));
    CBaselineComparator comparator(baseline);
    QVERIFY(CBaselineRecordings::Compare({ before, after }, QStringLiteral("RZ450"), comparator, error));
    QCOMPARE(comparator.Bands().size(), 1);
    QCOMPARE(comparator.Bands().first().band, 2);
    QCOMPARE(comparator.Bands().first().dPeak, -46.0);
    QVERIFY(!CBaselineRecordings::Compare({ after }, QStringLiteral("XY100"), comparator, error));
    QVERIFY(error.contains(QLatin1String("another device")));
}

QTEST_GUILESS_MAIN(tst_Baseline)
#include "tst_Baseline.moc"
