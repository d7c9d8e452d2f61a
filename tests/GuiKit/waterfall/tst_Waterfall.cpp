// The waterfall under the spectrum window's bars: rows and colours, columns
// under their bars, the bounded history, scrolling back, the readout under
// the cursor, sweeps of up to 254 points drawn whole and sweeps that must
// not make a row.
#include "SPECTRUM_SWEEP.h"
#include "spectrum/CSpectrumWindow.h"
#include "spectrum/SpectrumLevels.h"
#include "waterfall/CWaterfallWidget.h"
#include "widgets/BarGraph.h"
#include "widgets/CLabel.h"

#include <QDateTime>
#include <QScrollBar>
#include <QTest>

namespace {

SPECTRUM_SWEEP Sweep(int points, int level, quint64 time = 0, int levelMinDbm = -100)
{
    SPECTRUM_SWEEP sweep;
    sweep.time = time;
    sweep.points = QByteArray(points, char(level));
    sweep.rangeStartMhz = 2400;
    sweep.rangeEndMhz = 2559;
    sweep.levelMinDbm = levelMinDbm;
    return sweep;
}

QString Kind(QRgb rgb)
{
    if (rgb == qRgb(0, 0, 0))
        return QStringLiteral("none");
    if (qRed(rgb) == 255 && qGreen(rgb) == 0 && qBlue(rgb) == 0)
        return QStringLiteral("red");
    return qBlue(rgb) > 2 * (qRed(rgb) + qGreen(rgb)) ? QStringLiteral("blue") : QStringLiteral("other");
}

quint64 LocalTime(int h, int m, int s)
{
    return quint64(QDateTime(QDate(2024, 5, 6), QTime(h, m, s)).toSecsSinceEpoch());
}

} // namespace

class TestWaterfall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsAndColours_data();
    void rowsAndColours();
    void columnsUnderTheirBars_data();
    void columnsUnderTheirBars();
    void historyKeepsItsCapacity();
    void scrollingBackHoldsTheView();
    void readout_data();
    void readout();
    void badSweeps_data();
    void badSweeps();
};

void TestWaterfall::rowsAndColours_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("kind");
    QTest::newRow("newest on top, above the scale") << QPoint(10, 0) << "red";
    QTest::newRow("a short sweep's points") << QPoint(10, 1) << "red";
    QTest::newRow("a short sweep spreads over the plot") << QPoint(400, 1) << "red";
    QTest::newRow("the oldest, level 0") << QPoint(470, 2) << "blue";
    QTest::newRow("under the rows") << QPoint(10, 3) << "none";
}

void TestWaterfall::rowsAndColours()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, kind);
    CWaterfallWidget widget(SpectrumLevels::SPAN, 100);
    widget.resize(CWaterfallWidget::WidthForPlot(480), 50);
    widget.AddSweep(Sweep(160, 0));
    widget.AddSweep(Sweep(80, SpectrumLevels::SPAN));
    widget.AddSweep(Sweep(160, 255));
    QCOMPARE(Kind(widget.grab().toImage().pixel(pos)), kind);
}

void TestWaterfall::columnsUnderTheirBars_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("point");
    QTest::newRow("first") << 160 << 0;
    QTest::newRow("middle") << 160 << 77;
    QTest::newRow("last") << 160 << 159;
    // A single point of a long sweep still makes its column, at its place.
    QTest::newRow("254, first") << 254 << 0;
    QTest::newRow("254, a narrow one") << 254 << 125;
    QTest::newRow("254, last") << 254 << 253;
    QTest::newRow("100, spread over two columns") << 100 << 50;
}

void TestWaterfall::columnsUnderTheirBars()
{
    QFETCH(int, count);
    QFETCH(int, point);
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep = Sweep(count, 0);
    sweep.points[point] = char(SpectrumLevels::SPAN);
    window.SetSweep(sweep);
    const QImage image = window.grab().toImage();
    const QRect bars = window.findChild<CLabel*>()->geometry();
    const int rowY = window.findChild<CWaterfallWidget*>()->geometry().top();
    int reds = 0;
    for (int x = bars.left(); x < bars.left() + 480; ++x) {
        const bool bar = (image.pixel(x, bars.top() + 10) & 0xffffff) == 0x0000ff;
        QCOMPARE(Kind(image.pixel(x, rowY)) == QStringLiteral("red"), bar);
        reds += bar ? 1 : 0;
    }
    QCOMPARE(reds, count < 160 ? 6 : 3);
    const int x = bars.left() + int(BarGraph::PointX(point, count));
    QCOMPARE(Kind(image.pixel(x, rowY)), QStringLiteral("red"));
}

void TestWaterfall::historyKeepsItsCapacity()
{
    CWaterfallHistory history(5);
    const CWaterfallPalette palette(SpectrumLevels::SPAN);
    for (int i = 0; i < 15; ++i)
        QVERIFY(history.Add(Sweep(160, i, quint64(i)), palette));
    QCOMPARE(history.Count(), 5);
    QCOMPARE(history.Row(0).time, quint64(14));
    QCOMPARE(history.Row(4).time, quint64(10));
    for (int age = 0; age < 5; ++age)
        QCOMPARE(history.Image().pixel(0, history.Slot(age)), palette.Color(14 - age));
}

void TestWaterfall::scrollingBackHoldsTheView()
{
    CWaterfallWidget widget(SpectrumLevels::SPAN, 100);
    widget.resize(CWaterfallWidget::WidthForPlot(480), 20);
    for (int i = 0; i < 50; ++i)
        widget.AddSweep(Sweep(160, 10, quint64(i)));
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &down);
    QVERIFY(widget.Offset() > 0);
    const quint64 top = widget.History().Row(widget.Offset()).time;
    for (int i = 50; i < 60; ++i)
        widget.AddSweep(Sweep(160, 10, quint64(i)));
    QCOMPARE(widget.History().Row(widget.Offset()).time, top);
    // Back at the top the view follows the new rows again.
    widget.findChild<QScrollBar*>()->setValue(0);
    widget.AddSweep(Sweep(160, 10, 60));
    QCOMPARE(widget.Offset(), 0);
    // Capacity reached: the view cannot go past the oldest row.
    widget.findChild<QScrollBar*>()->setValue(1000);
    for (int i = 61; i < 300; ++i)
        widget.AddSweep(Sweep(160, 10, quint64(i)));
    QCOMPARE(widget.Offset(), 100 - 20);
}

void TestWaterfall::readout_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("text");
    QTest::newRow("newest row") << QPoint(30, 0) << "2410.0 MHz   -98 dBm   12:34:56";
    QTest::newRow("older row, its own range") << QPoint(479, 1) << "259.0 MHz   -51 dBm   12:34:50";
    QTest::newRow("no row") << QPoint(30, 5) << "";
    QTest::newRow("a short row, its own points") << QPoint(300, 2) << "2500.4 MHz   -100 dBm   12:34:40";
    QTest::newRow("a long row's last point") << QPoint(479, 3) << "2559.0 MHz   -60 dBm   12:34:30";
    QTest::newRow("a long row's first point") << QPoint(0, 3) << "2400.0 MHz   -100 dBm   12:34:30";
}

void TestWaterfall::readout()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, text);
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep = Sweep(SPECTRUM_SWEEP::MAX_POINTS, 0, LocalTime(12, 34, 30));
    sweep.points[SPECTRUM_SWEEP::MAX_POINTS - 1] = char(40);
    window.SetSweep(sweep);
    sweep = Sweep(20, 0, LocalTime(12, 34, 40));
    window.SetSweep(sweep);
    sweep = Sweep(160, 0, LocalTime(12, 34, 50), -90);
    sweep.rangeStartMhz = 100;
    sweep.rangeEndMhz = 259;
    for (int c = 0; c < 160; ++c)
        sweep.points[c] = char(c / 4);
    window.SetSweep(sweep);
    sweep.time = LocalTime(12, 34, 56);
    sweep.rangeStartMhz = 2400;
    sweep.rangeEndMhz = 2559;
    sweep.levelMinDbm = -100;
    window.SetSweep(sweep);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* waterfall = window.findChild<CWaterfallWidget*>();
    QTest::mouseMove(waterfall, QPoint(240, 0));
    QTRY_VERIFY(!window.findChild<QLabel*>(QStringLiteral("ReadoutLabel"))->text().isEmpty());
    QTest::mouseMove(waterfall, pos);
    QTRY_COMPARE(window.findChild<QLabel*>(QStringLiteral("ReadoutLabel"))->text(), text);
}

void TestWaterfall::badSweeps_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("levelMinDbm");
    QTest::addColumn<int>("columns"); // of the new row; 0 for none
    QTest::newRow("no points") << 0 << -100 << 0;
    QTest::newRow("searching") << 160 << int(SpectrumLevels::SEARCH_MODE_MARKER) << 0;
    QTest::newRow("255 points are cut") << 255 << -100 << int(SPECTRUM_SWEEP::MAX_POINTS);
    QTest::newRow("254 points are kept") << 254 << -100 << 254;
    QTest::newRow("a few points") << 7 << -100 << 7;
}

void TestWaterfall::badSweeps()
{
    QFETCH(int, points);
    QFETCH(int, levelMinDbm);
    QFETCH(int, columns);
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep = Sweep(points, 0, 1, levelMinDbm);
    for (int i = 0; i < points; ++i)
        sweep.points[i] = char(i % 61);
    window.SetSweep(sweep);
    const CWaterfallHistory& history = window.findChild<CWaterfallWidget*>()->History();
    QCOMPARE(history.Count(), columns > 0 ? 1 : 0);
    if (columns > 0) {
        QCOMPARE(history.Row(0).count, columns);
        QCOMPARE(int(history.Row(0).levels[size_t(columns - 1)]), (columns - 1) % 61);
    }
    window.ClearSweeps();
    QCOMPARE(history.Count(), 0);
}

QTEST_MAIN(TestWaterfall)
#include "tst_Waterfall.moc"
