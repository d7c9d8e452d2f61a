// The traces a sweep is judged against: holds, the average of the last
// sweeps, and what starts them again.
#include "SPECTRUM_SWEEP.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/SpectrumLevels.h"

#include <QTest>

namespace {

using Levels = QList<double>;

// { range start in MHz, lowest level in dBm, then the points as bytes }
SPECTRUM_SWEEP Sweep(const QList<int>& fields)
{
    SPECTRUM_SWEEP sweep;
    sweep.rangeStartMhz = fields.at(0);
    sweep.rangeEndMhz = fields.at(0) + 100;
    sweep.levelMinDbm = fields.at(1);
    for (qsizetype i = 2; i < fields.size(); ++i)
        sweep.points.append(char(fields.at(i)));
    return sweep;
}

Levels Values(const CSpectrumTraces& traces, CSpectrumTraces::Trace trace)
{
    const std::vector<double>& values = traces.Values(trace);
    return Levels(values.begin(), values.end());
}

} // namespace

class TestSpectrumTraces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void traces_data();
    void traces();
    void averageSweepsChangeRestartsTheAverageOnly();
};

void TestSpectrumTraces::traces_data()
{
    QTest::addColumn<int>("averageSweeps");
    QTest::addColumn<QList<QList<int>>>("sweeps");
    QTest::addColumn<int>("counted");
    QTest::addColumn<Levels>("maxHold");
    QTest::addColumn<Levels>("minHold");
    QTest::addColumn<Levels>("average");
    const int search = SpectrumLevels::SEARCH_MODE_MARKER;
    QTest::newRow("one sweep") << 10 << QList<QList<int>> { { 2400, -100, 20, 30 } } << 1 << Levels { -80, -70 }
                               << Levels { -80, -70 } << Levels { -80, -70 };
    QTest::newRow("holds and average") << 10 << QList<QList<int>> { { 2400, -100, 20, 30 }, { 2400, -100, 40, 10 } }
                                       << 2 << Levels { -60, -70 } << Levels { -80, -90 } << Levels { -70, -80 };
    QTest::newRow("the average of the last two")
        << 2 << QList<QList<int>> { { 2400, -100, 20 }, { 2400, -100, 40 }, { 2400, -100, 60 } } << 3 << Levels { -40 }
        << Levels { -80 } << Levels { -50 };
    // The scale moved between the sweeps: the same dBm is the same level.
    QTest::newRow("levels in dBm") << 10 << QList<QList<int>> { { 2400, -100, 30 }, { 2400, -90, 20 } } << 2
                                   << Levels { -70 } << Levels { -70 } << Levels { -70 };
    QTest::newRow("searching and empty sweeps pass by")
        << 10 << QList<QList<int>> { { 2400, -100, 20 }, { 2400, search, 60 }, { 2400, -100 } } << 1 << Levels { -80 }
        << Levels { -80 } << Levels { -80 };
    QTest::newRow("another range starts again") << 10 << QList<QList<int>> { { 2400, -100, 20 }, { 5100, -100, 50 } }
                                                << 1 << Levels { -50 } << Levels { -50 } << Levels { -50 };
    QTest::newRow("more points start again") << 10 << QList<QList<int>> { { 2400, -100, 20 }, { 2400, -100, 50, 10 } }
                                             << 1 << Levels { -50, -90 } << Levels { -50, -90 } << Levels { -50, -90 };
    QTest::newRow("levels up to the byte's top") << 3 << QList<QList<int>> { { 2400, -100, 255 }, { 2400, -100, 0 } }
                                                 << 2 << Levels { 155 } << Levels { -100 } << Levels { 27.5 };
}

void TestSpectrumTraces::traces()
{
    QFETCH(int, averageSweeps);
    QFETCH(QList<QList<int>>, sweeps);
    QFETCH(int, counted);
    CSpectrumTraces traces(averageSweeps);
    for (const QList<int>& fields : sweeps)
        traces.Add(Sweep(fields));
    QCOMPARE(traces.Sweeps(), counted);
    QTEST(Values(traces, CSpectrumTraces::MaxHold), "maxHold");
    QTEST(Values(traces, CSpectrumTraces::MinHold), "minHold");
    QTEST(Values(traces, CSpectrumTraces::Average), "average");
    traces.Reset();
    QCOMPARE(traces.Sweeps(), 0);
    QVERIFY(traces.Values(CSpectrumTraces::Average).empty());
}

void TestSpectrumTraces::averageSweepsChangeRestartsTheAverageOnly()
{
    CSpectrumTraces traces(5);
    traces.Add(Sweep({ 2400, -100, 10 }));
    traces.Add(Sweep({ 2400, -100, 30 }));
    traces.SetAverageSweeps(0);
    QCOMPARE(traces.AverageSweeps(), 1);
    traces.Add(Sweep({ 2400, -100, 20 }));
    QCOMPARE(Values(traces, CSpectrumTraces::Average), Levels { -80 });
    QCOMPARE(Values(traces, CSpectrumTraces::MaxHold), Levels { -70 });
    QCOMPARE(Values(traces, CSpectrumTraces::MinHold), Levels { -90 });
    traces.SetAverageSweeps(1 << 20);
    QCOMPARE(traces.AverageSweeps(), int(CSpectrumTraces::MAX_AVERAGE_SWEEPS));
}

QTEST_MAIN(TestSpectrumTraces)
#include "tst_SpectrumTraces.moc"
