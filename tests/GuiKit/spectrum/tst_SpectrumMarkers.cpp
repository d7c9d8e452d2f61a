// Markers on a trace: the peak, the next peak either way, moving inside the
// sweep, the delta, the readouts, and the point/frequency mapping shared
// with the waterfall.
#include "spectrum/CSpectrumMarkers.h"
#include "spectrum/SpectrumPoints.h"

#include <QTest>

class tst_SpectrumMarkers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void NextPeak_data();
    void NextPeak();
    void Marker_data();
    void Marker();
    void Texts();
    void Points_data();
    void Points();
};

void tst_SpectrumMarkers::NextPeak_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("expected");

    const QList<double> hills { -90, -60, -80, -70, -70, -85, -50, -95 };
    QTest::newRow("right past a valley") << hills << 1 << 1 << 3;
    QTest::newRow("right from plateau") << hills << 3 << 1 << 6;
    QTest::newRow("left onto plateau start") << hills << 6 << -1 << 3;
    QTest::newRow("left from plateau end") << hills << 4 << -1 << 1;
    QTest::newRow("none further right") << hills << 6 << 1 << -1;
    QTest::newRow("none further left") << hills << 1 << -1 << -1;
    QTest::newRow("edge counts as peak") << QList<double> { -40, -60, -50 } << 2 << -1 << 0;
    QTest::newRow("flat has none") << QList<double> { -70, -70, -70 } << 0 << 1 << -1;
    QTest::newRow("empty") << QList<double> {} << 0 << 1 << -1;
    QTest::newRow("from out of range") << hills << 99 << -1 << 6;
}

void tst_SpectrumMarkers::NextPeak()
{
    QFETCH(QList<double>, values);
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, expected);
    const std::vector<double> trace(values.begin(), values.end());
    QCOMPARE(CSpectrumMarkers::NextPeak(trace, from, CSpectrumMarkers::Direction(direction)), expected);
}

void tst_SpectrumMarkers::Marker_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("point");

    // p=peak, l/r=next peak, +/-=move a point, x=remove, place at 0 first
    QTest::newRow("peak") << "p" << true << 6;
    QTest::newRow("peak then left twice") << "pll" << true << 1;
    QTest::newRow("no further peak stays") << "pr" << true << 6;
    QTest::newRow("moves held inside") << "---" << true << 0;
    QTest::newRow("moves right") << "p++" << true << 7;
    QTest::newRow("removed") << "px" << false << 6;
    QTest::newRow("removed does not move") << "x+r" << false << 0;
}

void tst_SpectrumMarkers::Marker()
{
    QFETCH(QString, steps);
    QFETCH(bool, active);
    QFETCH(int, point);
    const std::vector<double> trace { -90, -60, -80, -70, -70, -85, -50, -95 };
    CSpectrumMarkers markers;
    markers.Place(2, 1, 0);
    for (const QChar step : steps) {
        switch (step.toLatin1()) {
        case 'p': markers.ToPeak(2, trace); break;
        case 'l': markers.ToNextPeak(2, trace, CSpectrumMarkers::Left); break;
        case 'r': markers.ToNextPeak(2, trace, CSpectrumMarkers::Right); break;
        case '+': markers.Move(2, 1, int(trace.size())); break;
        case '-': markers.Move(2, -1, int(trace.size())); break;
        case 'x': markers.Remove(2); break;
        }
    }
    QCOMPARE(markers.Marker(2).active, active);
    QCOMPARE(markers.Marker(2).point, point);
    QCOMPARE(markers.Marker(2).trace, 1);
    QVERIFY(!markers.Marker(0).active);
}

void tst_SpectrumMarkers::Texts()
{
    QCOMPARE(CSpectrumMarkers::ReadoutText(0, 433.92, -61.54), QStringLiteral("M1  433.9 MHz  -61.5 dBm"));
    QCOMPARE(CSpectrumMarkers::DeltaText(1, 0, 12.5, -3.0), QStringLiteral("\u0394 M2\u2212M1  +12.5 MHz  -3.0 dB"));
    QCOMPARE(CSpectrumMarkers::DeltaText(3, 2, -0.04, 0.0), QStringLiteral("\u0394 M4\u2212M3  -0.0 MHz  +0.0 dB"));
}

void tst_SpectrumMarkers::Points_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("point");
    QTest::addColumn<double>("mhz");

    QTest::newRow("first of 160") << 160 << 0 << 400.0;
    QTest::newRow("last of 160") << 160 << 159 << 559.0;
    QTest::newRow("last of 254") << 254 << 253 << 559.0;
    QTest::newRow("middle of 254") << 254 << 253 / 2 << 400.0 + 159.0 * 126 / 253;
    QTest::newRow("single point") << 1 << 0 << 400.0;
}

void tst_SpectrumMarkers::Points()
{
    QFETCH(int, count);
    QFETCH(int, point);
    QFETCH(double, mhz);
    QCOMPARE(SpectrumPoints::Mhz(400, 559, point, count), mhz);
    QCOMPARE(SpectrumPoints::PointAt(400, 559, mhz, count), point);
    // Past the ends it is held to the first and last point.
    QCOMPARE(SpectrumPoints::PointAt(400, 559, 10.0, count), 0);
    QCOMPARE(SpectrumPoints::PointAt(400, 559, 9999.0, count), count - 1);
}

QTEST_GUILESS_MAIN(tst_SpectrumMarkers)
#include "tst_SpectrumMarkers.moc"
