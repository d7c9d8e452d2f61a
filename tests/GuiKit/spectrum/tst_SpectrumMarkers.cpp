// Markers on a trace: peak, next peak either way, moves, following the
// peak, delta references, readouts, and the point/frequency and point/pixel
// mappings the graph and the waterfall share.
#include "spectrum/CSpectrumMarkers.h"
#include "spectrum/SpectrumPoints.h"
#include "widgets/BarGraph.h"

#include <QTest>

#include <cmath>

class tst_SpectrumMarkers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Marker_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("steps"); // p peak, l/r next peak, +/- a point, x remove
        QTest::addColumn<int>("point");
        const QList<double> hills { -90, -60, -80, -70, -70, -85, -50, -95 };
        QTest::newRow("peak, left onto plateau start, past it") << hills << "pll" << 1;
        QTest::newRow("right past valley and plateau") << hills << "+rr" << 6;
        QTest::newRow("no further peak stays") << hills << "pr" << 6;
        QTest::newRow("moves held inside") << hills << "p+++" << 7;
        QTest::newRow("removed does not move") << hills << "x+r" << 0;
        QTest::newRow("edge is a peak") << QList<double> { -40, -60, -50 } << "++l" << 0;
        QTest::newRow("flat has none") << QList<double> { -70, -70, -70 } << "r" << 0;
    }
    void Marker()
    {
        QFETCH(QList<double>, values);
        QFETCH(QString, steps);
        QFETCH(int, point);
        const std::vector<double> trace(values.begin(), values.end());
        CSpectrumMarkers markers;
        markers.Place(2, 1, 0);
        for (const QChar step : steps) {
            const char c = step.toLatin1();
            if (c == 'p')
                markers.ToPeak(2, trace);
            else if (c == 'l' || c == 'r')
                markers.ToNextPeak(2, trace, c == 'l' ? CSpectrumMarkers::Left : CSpectrumMarkers::Right);
            else if (c == 'x')
                markers.Remove(2);
            else
                markers.Move(2, c == '+' ? 1 : -1, int(trace.size()));
        }
        QCOMPARE(markers.Marker(2).point, point);
        QCOMPARE(markers.Marker(2).active, !steps.contains(QLatin1Char('x')));
    }
    void TextsAndPoints()
    {
        QCOMPARE(CSpectrumMarkers::ReadoutText(0, 433.92, -61.54), QStringLiteral("M1  433.9 MHz  -61.5 dBm"));
        QCOMPARE(CSpectrumMarkers::DeltaText(1, 0, 12.5, -3.0),
            QStringLiteral("\u0394 M2\u2212M1  +12.5 MHz  -3.0 dB"));
        QCOMPARE(SpectrumPoints::Mhz(400, 559, 253, 254), 559.0);
        QCOMPARE(SpectrumPoints::PointAt(400, 559, SpectrumPoints::Mhz(400, 559, 126, 254), 254), 126);
        QCOMPARE(SpectrumPoints::PointAt(400, 559, 9999.0, 160), 159);
        QCOMPARE(CSpectrumMarkers::ReadoutText(2, 2450.04, -40.0, true, QStringLiteral("Max hold")),
            QStringLiteral("M3 pk  2450.0 MHz  -40.0 dBm  Max hold"));
        QCOMPARE(CSpectrumMarkers::Peak({ qQNaN(), qQNaN() }), -1);
    }
    // Each sweep is a list of levels; the marker is set to follow (or is
    // placed by hand) before the sweep whose index the steps name.
    void FollowPeak_data()
    {
        QTest::addColumn<QList<QList<double>>>("sweeps");
        QTest::addColumn<QString>("steps");     // per sweep: f follow, h placed by hand at 0, x removed, . nothing
        QTest::addColumn<QList<int>>("points"); // after each sweep
        const QList<double> a { -90, -40, -80, -70 };
        const QList<double> b { -90, -80, -85, -30 };
        const QList<double> nan { qQNaN(), -80, qQNaN(), -85 };
        QTest::newRow("follows the peak sweep after sweep")
            << QList<QList<double>> { a, b, a } << "f.." << QList<int> { 1, 3, 1 };
        QTest::newRow("a hand placement stops it")
            << QList<QList<double>> { a, b, a } << "fh." << QList<int> { 1, 0, 0 };
        QTest::newRow("removing stops it") << QList<QList<double>> { a, b, a } << "fx." << QList<int> { 1, 1, 1 };
        QTest::newRow("levels missing are passed over") << QList<QList<double>> { nan } << "f" << QList<int> { 1 };
    }
    void FollowPeak()
    {
        QFETCH(QList<QList<double>>, sweeps);
        QFETCH(QString, steps);
        QFETCH(QList<int>, points);
        CSpectrumMarkers markers;
        std::vector<double> trace;
        const CSpectrumMarkers::TraceValues values = [&trace](int) -> const std::vector<double>& { return trace; };
        for (int i = 0; i < sweeps.size(); ++i) {
            trace.assign(sweeps[i].begin(), sweeps[i].end());
            const char step = steps.at(i).toLatin1();
            if (step == 'f')
                markers.SetFollowsPeak(0, true, trace);
            else if (step == 'h')
                markers.Place(0, 0, 0);
            else if (step == 'x')
                markers.Remove(0);
            markers.MoveFollowers(values);
            QCOMPARE(markers.Marker(0).point, points[i]);
        }
    }
    void References_data()
    {
        QTest::addColumn<QList<int>>("active");
        QTest::addColumn<int>("marker");
        QTest::addColumn<QList<int>>("cycle"); // references D gives, in turn; -1 none
        QTest::newRow("the second starts against the first") << QList<int> { 0, 1, 2 } << 1 << QList<int> { 2, -1, 0 };
        QTest::newRow("alone has none") << QList<int> { 3 } << 3 << QList<int> { -1, -1 };
        QTest::newRow("first skips itself") << QList<int> { 0, 1, 3 } << 0 << QList<int> { 1, 3, -1 };
    }
    void References()
    {
        QFETCH(QList<int>, active);
        QFETCH(int, marker);
        QFETCH(QList<int>, cycle);
        CSpectrumMarkers markers;
        for (int i : active)
            markers.Place(i, 0, i);
        for (int reference : cycle) {
            markers.SetReference(marker, markers.NextReference(marker));
            QCOMPARE(markers.Marker(marker).reference, reference);
        }
        markers.SetReference(marker, marker);
        QCOMPARE(markers.Marker(marker).reference, cycle.last());
    }
    void Rescale_data()
    {
        QTest::addColumn<QList<int>>("from"); // start, end, count, point
        QTest::addColumn<QList<int>>("to");   // start, end, count
        QTest::addColumn<int>("point");
        QTest::newRow("more points, same frequency")
            << QList<int> { 2400, 2559, 160, 159 } << QList<int> { 2400, 2559, 254 } << 253;
        QTest::newRow("fewer points") << QList<int> { 2400, 2506, 254, 127 } << QList<int> { 2400, 2506, 160 } << 80;
        QTest::newRow("off the new range, held inside")
            << QList<int> { 2300, 2400, 101, 0 } << QList<int> { 2350, 2450, 101 } << 0;
    }
    void Rescale()
    {
        QFETCH(QList<int>, from);
        QFETCH(QList<int>, to);
        QFETCH(int, point);
        CSpectrumMarkers markers;
        markers.Place(3, 0, from[3]);
        markers.Rescale(from[0], from[1], from[2], to[0], to[1], to[2]);
        QCOMPARE(markers.Marker(3).point, point);
    }
    // A spike at one point of a sweep of `count` points, and the bars it
    // lifts: the bar under its middle for long sweeps, the bars around it
    // for short ones.
    void Bars_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("point");
        QTest::addColumn<QList<int>>("bars");
        QTest::newRow("160, one bar each") << 160 << 77 << QList<int> { 77 };
        QTest::newRow("254, the last point at the right end") << 254 << 253 << QList<int> { 159 };
        QTest::newRow("254, a single point never vanishes") << 254 << 126 << QList<int> { 79 };
        QTest::newRow("80, two bars a point") << 80 << 79 << QList<int> { 158, 159 };
        QTest::newRow("1, the whole graph") << 1 << 0 << QList<int> {};
    }
    void Bars()
    {
        QFETCH(int, count);
        QFETCH(int, point);
        QFETCH(QList<int>, bars);
        std::vector<quint8> levels(size_t(count), 5);
        levels[size_t(point)] = 50;
        const std::array<int, BarGraph::BARS> graph = BarGraph::Bars(levels.data(), count);
        for (int bar = 0; bar < BarGraph::BARS; ++bar)
            QCOMPARE(graph[size_t(bar)], bars.contains(bar) || bars.isEmpty() ? 50 : 5);
        // The point's middle lies over a bar it lifts, and maps back to it.
        const double x = BarGraph::PointX(point, count);
        QCOMPARE(graph[size_t(int(x) / BarGraph::PIXELS_PER_UNIT)], 50);
        QCOMPARE(BarGraph::PointAtX(x, count), point);
        QCOMPARE(BarGraph::PointAtX(-3.0, count), 0);
        QCOMPARE(BarGraph::PointAtX(BarGraph::PLOT_WIDTH + 3.0, count), count - 1);
    }
};

QTEST_GUILESS_MAIN(tst_SpectrumMarkers)
#include "tst_SpectrumMarkers.moc"
