// Markers on a trace: peak, next peak either way, moves, readouts, and the
// point/frequency mapping the waterfall shares.
#include "spectrum/CSpectrumMarkers.h"
#include "spectrum/SpectrumPoints.h"

#include <QTest>

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
    }
};

QTEST_GUILESS_MAIN(tst_SpectrumMarkers)
#include "tst_SpectrumMarkers.moc"
