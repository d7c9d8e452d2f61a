// The diagram widget's core: layout, X labels, the guarded range setters,
// adding values and its exceptions, the time search, the scroll indicator,
// the status box, and bad input of every kind drawn without harm.
#include "CDiagramProbe.h"
#include "diagram/CDiagramValues.h"
#include "diagram/CRangeGuard.h"
#include "diagram/CTimeMapping.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const quint64 T0 = CDiagramProbe::T0;

QRgb Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

bool IsGrid(QRgb pixel)
{
    return qRed(pixel) == 50 && qGreen(pixel) == 60 && qBlue(pixel) == 60;
}

bool IsWhitish(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) > 150 && qBlue(pixel) > 150;
}

template <typename F>
QString ThrownText(F call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return QString::fromLatin1(error.what());
    }
    return QString();
}

DIAGRAM_RANGES TimeRanges(quint64 min, quint64 max)
{
    DIAGRAM_RANGES ranges;
    ranges.fullXMin = ranges.visibleXMin = QVariant::fromValue<quint64>(min);
    ranges.fullXMax = ranges.visibleXMax = QVariant::fromValue<quint64>(max);
    return ranges;
}

} // namespace

class TestDiagramWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void singleAreaFillsTheHeightAboveTheAxis();
    void fixedAreaAndRatioArea();
    void tenMinutesOnSixHundredPixelsLabelEvery128Seconds();
    void timeStep_data();
    void timeStep();
    void guardedSetters_data();
    void guardedSetters();
    void windowShiftsMoveTheLeadingBoundFirst();
    void addValuesOverwritesAndShrinks();
    void badIndicesThrowAndChangeNothing();
    void timeSearchFindsExactOrNeighbouringIndex();
    void scrollThumb();
    void statusBoxOnlyForLinesUnderTheCursor();
    void clearKeepsOrDropsLines();
    void badInputIsDrawnWithoutHarm_data();
    void badInputIsDrawnWithoutHarm();
};

void TestDiagramWidget::initTestCase()
{
    // The crosshair and the status box follow the mouse.
    QCursor::setPos(-10000, -10000);
}

void TestDiagramWidget::singleAreaFillsTheHeightAboveTheAxis()
{
    for (const QSize size : { QSize(400, 300), QSize(631, 217) }) {
        CDiagramProbe widget(size.width(), size.height());
        QCOMPARE(widget.AreaCount(), 1);
        QCOMPARE(widget.ScrollBarRect(), QRect(30, size.height() - 6, size.width() - 31, 5));
        QCOMPARE(widget.AxisXRect(), QRect(30, size.height() - 22, size.width() - 30, 15));
        QCOMPARE(widget.PlotRect(0), QRect(30, 0, size.width() - 30, widget.AxisXRect().top() - 5));
        QCOMPARE(widget.PlotRect(0).bottom(), widget.AxisXRect().top() - 6);
        QCOMPARE(widget.AxisYRect(0), QRect(0, 0, 30, widget.PlotRect(0).height()));
    }
}

void TestDiagramWidget::fixedAreaAndRatioArea()
{
    CDiagramProbe widget(500, 400);
    QSignalSpy changed(&widget, &CQDiagramWidget::diagramTypeChanged);
    widget.SetDiagramAreas({ { DIAGRAM_TIME_RECTS, 100, 0.0 }, { DIAGRAM_TIME_LINES, 0, 1.0 } });
    widget.update();
    const int axisTop = widget.AxisXRect().top();
    QCOMPARE(widget.PlotRect(0), QRect(30, 0, 470, 100));
    QCOMPARE(widget.PlotRect(1), QRect(30, 105, 470, axisTop - 110));
    QCOMPARE(widget.GetDiagramType(0), DIAGRAM_TIME_RECTS);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toInt(), 1);
}

void TestDiagramWidget::tenMinutesOnSixHundredPixelsLabelEvery128Seconds()
{
    CDiagramProbe widget(630, 300);
    widget.SetTimeWindow(T0, T0 + 600);
    const QImage image = widget.Render();
    const QRect& plot = widget.PlotRect(0);
    const QRect& axis = widget.AxisXRect();

    // The time grid marks the label places; labels and grid sit where the
    // data of their time is drawn (plot.left + seconds * pixels per second).
    QList<int> gridColumns;
    for (int x = plot.left() + 3; x <= plot.right(); ++x) {
        int gridPixels = 0;
        for (int y = plot.top(); y <= plot.bottom(); ++y)
            gridPixels += IsGrid(Rgb(image, x, y)) ? 1 : 0;
        if (gridPixels > plot.height() / 3)
            gridColumns.append(x);
    }
    QCOMPARE(gridColumns, QList<int>({ plot.left() + 128, plot.left() + 256, plot.left() + 384, plot.left() + 512 }));

    // Each label's text is centred on its grid line; between them is nothing.
    for (int k = 1; k <= 4; ++k) {
        int left = axis.right();
        int right = axis.left();
        for (int x = plot.left() + 128 * k - 64; x < plot.left() + 128 * k + 64; ++x) {
            for (int y = axis.top(); y <= axis.bottom(); ++y) {
                if (IsWhitish(Rgb(image, x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY2(right > left, qPrintable(QStringLiteral("label %1 missing").arg(k)));
        QVERIFY(std::abs((left + right) / 2 - (plot.left() + 128 * k)) <= 2);
    }
}

void TestDiagramWidget::guardedSetters_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("accepted");
    // Time X range 1000..2000 (minimum 180 s); Y range -300..0 (minimum 200).
    QTest::newRow("time min inside") << "xMinTime" << 1820.0 << true;
    QTest::newRow("time min too close") << "xMinTime" << 1821.0 << false;
    QTest::newRow("time min before full") << "xMinTime" << 999.0 << false;
    QTest::newRow("time max inside") << "xMaxTime" << 1180.0 << true;
    QTest::newRow("time max too close") << "xMaxTime" << 1179.0 << false;
    QTest::newRow("time max after full") << "xMaxTime" << 2001.0 << false;
    QTest::newRow("full max far future") << "fullMaxTime" << 1.8e19 << true;
    QTest::newRow("full max too close") << "fullMaxTime" << 1179.0 << false;
    QTest::newRow("real min") << "xMinReal" << 1800.0 << true;
    QTest::newRow("real min too close") << "xMinReal" << 1800.5 << false;
    QTest::newRow("real max") << "xMaxReal" << 1200.0 << true;
    QTest::newRow("real max NaN") << "xMaxReal" << std::nan("") << false;
    QTest::newRow("y min") << "yMin" << -250.0 << true;
    QTest::newRow("y min span") << "yMin" << -150.0 << false;
    QTest::newRow("y min below full") << "yMin" << -301.0 << false;
    QTest::newRow("y max") << "yMax" << -100.0 << true;
    QTest::newRow("y max span") << "yMax" << -101.0 << false;
}

void TestDiagramWidget::guardedSetters()
{
    QFETCH(QString, setter);
    QFETCH(double, value);
    QFETCH(bool, accepted);
    DIAGRAM_RANGES ranges = TimeRanges(1000, 2000);
    ranges.fullYMin = ranges.visibleYMin = -300.0;
    ranges.fullYMax = ranges.visibleYMax = 0.0;
    const DIAGRAM_RANGES before = ranges;
    const quint64 t = CDiagramValues::TimeFromDouble(value);

    bool result = false;
    if (setter == QLatin1String("xMinTime"))
        result = CRangeGuard::SetVisibleXMinTime(ranges, t);
    else if (setter == QLatin1String("xMaxTime"))
        result = CRangeGuard::SetVisibleXMaxTime(ranges, t);
    else if (setter == QLatin1String("fullMaxTime"))
        result = CRangeGuard::SetFullXMaxTime(ranges, t);
    else if (setter == QLatin1String("xMinReal"))
        result = CRangeGuard::SetVisibleXMinReal(ranges, value);
    else if (setter == QLatin1String("xMaxReal"))
        result = CRangeGuard::SetVisibleXMaxReal(ranges, value);
    else if (setter == QLatin1String("yMin"))
        result = CRangeGuard::SetVisibleYMin(ranges, value);
    else
        result = CRangeGuard::SetVisibleYMax(ranges, value);
    QCOMPARE(result, accepted);

    if (!accepted) {
        QCOMPARE(ranges.visibleXMin, before.visibleXMin);
        QCOMPARE(ranges.visibleXMax, before.visibleXMax);
        QCOMPARE(ranges.fullXMax, before.fullXMax);
        QCOMPARE(ranges.visibleYMin, before.visibleYMin);
        QCOMPARE(ranges.visibleYMax, before.visibleYMax);
    } else if (setter == QLatin1String("fullMaxTime")) {
        QCOMPARE(CDiagramValues::Time(ranges.fullXMax), t);
        QCOMPARE(CDiagramValues::Time(ranges.visibleXMax), quint64(2000)); // not later than the new full max
    }
}

void TestDiagramWidget::windowShiftsMoveTheLeadingBoundFirst()
{
    DIAGRAM_RANGES ranges = TimeRanges(1000, 2000);
    CRangeGuard::SetVisibleXMaxTime(ranges, 1600);
    QVERIFY(CRangeGuard::ShiftTimeWindow(ranges, 300));
    QCOMPARE(CDiagramValues::Time(ranges.visibleXMin), quint64(1300));
    QCOMPARE(CDiagramValues::Time(ranges.visibleXMax), quint64(1900));
    // The maximum cannot pass the full range, so the minimum stays too.
    QVERIFY(!CRangeGuard::ShiftTimeWindow(ranges, 101));
    QCOMPARE(CDiagramValues::Time(ranges.visibleXMin), quint64(1300));
    QVERIFY(CRangeGuard::ShiftTimeWindow(ranges, -300));
    QCOMPARE(CDiagramValues::Time(ranges.visibleXMin), quint64(1000));
    QCOMPARE(CDiagramValues::Time(ranges.visibleXMax), quint64(1600));
    QVERIFY(!CRangeGuard::ShiftTimeWindow(ranges, std::numeric_limits<qint64>::min()));
    QVERIFY(!CRangeGuard::ShiftTimeWindow(ranges, std::numeric_limits<qint64>::max()));

    // The Y setters refuse every change of a range narrower than 200.
    CDiagramProbe widget;
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    widget.SetVisibleYRange(-50.0, 0.0, false);
    QCOMPARE(widget.Ranges().visibleYMin, -100.0);
    widget.SetVisibleYRange(-50.0, 0.0, true);
    QCOMPARE(widget.Ranges().visibleYMin, -50.0);
    QCOMPARE(widget.Ranges().fullYMin, -50.0);
}

void TestDiagramWidget::addValuesOverwritesAndShrinks()
{
    CDiagramProbe widget;
    widget.AddLine(0, QStringLiteral("spectrum"), QPen(Qt::blue), 0, true);
    widget.AddValues(0, 0, { 1, 2, 3, 4, 5, 6, 7, 8 });
    widget.AddValues(0, 0, { 10, 11, 12, 13, 14 });
    const QList<DATA_VALUE>& values = widget.Line(0, 0).values;
    QCOMPARE(values.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(values.at(i).x, QVariant(i));
        QCOMPARE(values.at(i).y.toDouble(), 10.0 + i);
        QCOMPARE(values.at(i).extra, 0);
    }
    widget.AddValues(0, 0, {});
    QVERIFY(values.isEmpty());

    // Debug texts: replaced by index, appended beyond.
    widget.SetDebugDataItem(0, 5, 10, QStringLiteral("rate"), 1.5, 0.0);
    widget.SetDebugDataItem(0, 6, 11, QStringLiteral("rate"), 0.1, 2.0);
    widget.SetDebugDataItem(7, 7, 12, QStringLiteral("n"), 3.0, 0.0);
    QCOMPARE(widget.DebugItems().size(), 2);
    QCOMPARE(widget.DebugItems().at(0).text, QStringLiteral("rate=\t0.1 (2)"));
    QCOMPARE(widget.DebugItems().at(1).text, QStringLiteral("n=\t3"));
}

void TestDiagramWidget::badIndicesThrowAndChangeNothing()
{
    CDiagramProbe widget;
    widget.AddLine(0, QStringLiteral("level"), QPen(Qt::blue), 0, true);
    widget.SetTimeWindow(T0, T0 + 600);
    const QVariant t = CDiagramProbe::Time(T0 + 10);

    QCOMPARE(ThrownText([&] { widget.AddValue(1, 0, t, 1.0, 0); }), QStringLiteral("Area index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddValue(-1, 0, t, 1.0, 0); }), QStringLiteral("Area index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddValue(0, -1, t, 1.0, 0); }), QStringLiteral("Signal index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddValue(0, 1, t, 1.0, 0); }), QStringLiteral("Signal index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddValues(0, 1, { 1.0 }); }), QStringLiteral("Signal index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddValues(2, 0, { 1.0 }); }), QStringLiteral("Area index out of range!"));
    // The index-taking operations the caller could get wrong report it too.
    QCOMPARE(ThrownText([&] { widget.SetLineVisible(0, 3, false); }), QStringLiteral("Signal index out of range!"));
    QCOMPARE(ThrownText([&] { widget.GetPlotRect(5); }), QStringLiteral("Area index out of range!"));
    QCOMPARE(ThrownText([&] { widget.SetDiagramType(1, DIAGRAM_TIME_RECTS); }),
        QStringLiteral("Area index out of range!"));
    QCOMPARE(ThrownText([&] { widget.AddLine(1, QString(), QPen(), 0, true); }),
        QStringLiteral("Area index out of range!"));
    QVERIFY(widget.Line(0, 0).values.isEmpty());
    QVERIFY(widget.Line(0, 0).visible);

    widget.AddValue(0, 0, t, 1.0, 0);
    QCOMPARE(widget.Line(0, 0).values.size(), 1);
}

void TestDiagramWidget::timeSearchFindsExactOrNeighbouringIndex()
{
    QList<DATA_VALUE> values;
    QCOMPARE(CDiagramValues::FindTime(values, 10), -1);
    for (int n = 1; n <= 70; ++n) {
        values.append(DATA_VALUE { QVariant::fromValue<quint64>(10 * quint64(n)), QVariant(double(n)), 0 });
        for (int i = 0; i < n; ++i) {
            QCOMPARE(CDiagramValues::FindTime(values, 10 * quint64(i + 1)), i);
            // Between two values: one of the two.
            const int between = CDiagramValues::FindTime(values, 10 * quint64(i + 1) + 5);
            if (i + 1 < n)
                QVERIFY2(between == i || between == i + 1,
                    qPrintable(QStringLiteral("n %1 i %2: %3").arg(n).arg(i).arg(between)));
            else
                QCOMPARE(between, -1); // after the last value
        }
        QCOMPARE(CDiagramValues::FindTime(values, 0), -1);
        QVERIFY(CDiagramValues::FindTime(values, 3) == 0);
    }
    QCOMPARE(CDiagramValues::FirstAtOrAfter(values, 15), 1);
    QCOMPARE(CDiagramValues::FirstAtOrAfter(values, 20), 1);
    QCOMPARE(CDiagramValues::FirstAfter(values, 20), 2);
    QCOMPARE(CDiagramValues::NextAtOrAfter(values, 3, 655), 65);
    QCOMPARE(CDiagramValues::NextAtOrAfter(values, 3, 10), 3);
    QCOMPARE(CDiagramValues::NextAtOrAfter(values, 3, 100000), 70);
}

void TestDiagramWidget::scrollThumb()
{
    CDiagramProbe widget(430, 200);
    const QRect& bar = widget.ScrollBarRect();
    const int y = bar.top() + 3;
    const auto isThumb = [&](const QImage& image, int x) { return Rgb(image, x, y) == 0; };

    // A window wider than the full range: the whole bar but 2 pixels each side.
    widget.SetMaxXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 100), 1.0, false);
    widget.SetVisibleXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 600));
    QImage image = widget.Render(Qt::gray);
    QVERIFY(!isThumb(image, bar.left() + 1));
    QVERIFY(isThumb(image, bar.left() + 2));
    QVERIFY(isThumb(image, bar.left() + bar.width() - 3));
    QVERIFY(!isThumb(image, bar.left() + bar.width() - 2));

    // The last quarter of the full range.
    widget.SetTimeWindow(T0, T0 + 400);
    widget.SetVisibleXRange(CDiagramProbe::Time(T0 + 300), CDiagramProbe::Time(T0 + 400));
    image = widget.Render(Qt::gray);
    const int start = bar.left() + 300 * bar.width() / 400 + 2;
    QVERIFY(!isThumb(image, start - 2));
    QVERIFY(isThumb(image, start + 1));
    QVERIFY(isThumb(image, bar.right() - 3));

    // A full range without extent or reversed draws the outline and stays in the bar.
    widget.SetMaxXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0), 1.0, true);
    widget.Render(Qt::gray);
    widget.SetMaxXRange(CDiagramProbe::Time(T0 + 50), CDiagramProbe::Time(T0), 1.0, true);
    widget.Render(Qt::gray);
}

void TestDiagramWidget::statusBoxOnlyForLinesUnderTheCursor()
{
    CDiagramProbe widget(630, 300);
    widget.AddLine(0, QStringLiteral("Level"), QPen(Qt::green), 0, true);
    widget.AddLine(0, QStringLiteral("Threshold"), QPen(Qt::red), 0, true);
    widget.SetTimeWindow(T0, T0 + 600);
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    for (quint64 t = T0; t < T0 + 600; t += 10) {
        widget.AddValue(0, 0, CDiagramProbe::Time(t), -80.0, 1);
        widget.AddValue(0, 1, CDiagramProbe::Time(t), -60.0, 1);
    }
    const QRect& plot = widget.PlotRect(0);
    QCursor::setPos(widget.mapToGlobal(plot.center()));
    QImage image = widget.Render();
    QCOMPARE(widget.StatusRect(), QRect(plot.right() - 135, plot.top() + 2, 130, 2 * 15 + 15 + 10));
    // Its frame in the status pen (dark blue), its rows in the lines' colours.
    QCOMPARE(Rgb(image, widget.StatusRect().left(), widget.StatusRect().center().y()),
        QColor(Qt::darkBlue).rgb() & 0xffffff);
    int green = 0;
    for (int x = widget.StatusRect().left(); x < widget.StatusRect().right(); ++x) {
        for (int y = widget.StatusRect().top(); y < widget.StatusRect().bottom(); ++y) {
            const QRgb pixel = Rgb(image, x, y);
            green += qGreen(pixel) > 150 && qRed(pixel) < 120 && qBlue(pixel) < 120 ? 1 : 0;
        }
    }
    QVERIFY(green > 10);
    QCOMPARE(widget.FormatStatusDate(&widget.Line(0, 0), T0 + 300), QStringLiteral("Level = -80.0 dB"));
    QCOMPARE(widget.FormatStatusDate(&widget.Line(0, 0), T0 + 601), QStringLiteral("Level = n/a"));

    // A level-bar area answers the position but shows no box.
    widget.SetDiagramType(0, DIAGRAM_TIME_LEVEL_RECTS);
    widget.SetTimeWindow(T0, T0 + 600);
    const QImage without = widget.Render();
    QVERIFY(Rgb(without, widget.StatusRect().left(), widget.StatusRect().center().y())
        != (QColor(Qt::darkBlue).rgb() & 0xffffff));
    QCursor::setPos(-10000, -10000);
}

void TestDiagramWidget::clearKeepsOrDropsLines()
{
    CDiagramProbe widget;
    widget.AddLine(0, QStringLiteral("level"), QPen(Qt::blue), 7, true);
    widget.SetTimeWindow(T0, T0 + 600);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 5), -50.0, 1);
    widget.Clear(true);
    QVERIFY(widget.Line(0, 0).values.isEmpty());
    QCOMPARE(widget.Line(0, 0).tag, 7);
    // The time range restarts now, ten minutes wide.
    const quint64 now = quint64(QDateTime::currentSecsSinceEpoch());
    QVERIFY(widget.VisibleMin() + 2 >= now && widget.VisibleMin() <= now);
    QCOMPARE(widget.VisibleMax() - widget.VisibleMin(), quint64(600));
    widget.Clear(false);
    QCOMPARE(ThrownText([&] { widget.AddValue(0, 0, CDiagramProbe::Time(now), -50.0, 1); }),
        QStringLiteral("Signal index out of range!"));
}

void TestDiagramWidget::badInputIsDrawnWithoutHarm_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("lines") << int(DIAGRAM_TIME_LINES);
    QTest::newRow("rects") << int(DIAGRAM_TIME_RECTS);
    QTest::newRow("level rects") << int(DIAGRAM_TIME_LEVEL_RECTS);
    QTest::newRow("no diagram") << 17;
}

void TestDiagramWidget::badInputIsDrawnWithoutHarm()
{
    QFETCH(int, type);
    const quint64 far = std::numeric_limits<quint64>::max();
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    CDiagramProbe widget(300, 200);
    widget.SetDiagramType(0, DiagramType(type));
    widget.SetAxisXType(DiagramType(type));
    widget.AddLine(0, QStringLiteral("empty"), QPen(Qt::blue), 0, true);
    widget.AddLine(0, QStringLiteral("wild"), QPen(Qt::red), 1, true);
    widget.SetTimeWindow(T0, T0 + 600);
    widget.Render();

    for (const QVariant& level :
        { QVariant(1e300), QVariant(-inf), QVariant(nan), QVariant(), QVariant(QStringLiteral("x")) })
        widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 10), level, std::numeric_limits<int>::max());
    widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 20), -50.0, std::numeric_limits<int>::min());
    widget.AddValue(0, 1, QVariant(-5), -50.0, 1);
    widget.AddValue(0, 1, CDiagramProbe::Time(0), -50.0, 1);
    widget.Render();
    widget.AddValue(0, 1, CDiagramProbe::Time(far), -50.0, 1);
    widget.AddValue(0, 1, CDiagramProbe::Time(far - 3), -50.0, -1);
    widget.Render();

    const QList<QPair<quint64, quint64>> windows = {
        { T0, T0 },       // no width
        { T0 + 600, T0 }, // reversed
        { 0, far },       // everything
        { far - 200, far },
        { 0, 0 },
    };
    for (const auto& window : windows) {
        widget.SetVisibleXRange(CDiagramProbe::Time(window.first), CDiagramProbe::Time(window.second));
        widget.Render();
        widget.ShrinkAxisX(120);
        widget.ScrollAxisX(widget.AxisXRect().center(), 7);
        widget.Render();
    }
    for (const QPair<double, double>& levels :
        { qMakePair(0.0, 0.0), qMakePair(0.0, -100.0), qMakePair(nan, 1.0), qMakePair(-1e308, 1e308) }) {
        widget.SetMaxYRange(levels.first, levels.second, 1.0);
        widget.Render();
    }
    for (const QSize size : { QSize(0, 0), QSize(300, 0), QSize(0, 200), QSize(20, 12), QSize(31, 40) }) {
        widget.Resize(size.width(), size.height());
        widget.Render();
    }
    widget.SetDiagramAreas({});
    widget.Render();
    QList<QVariant> out;
    QVERIFY(!widget.GetDataAtPos(false, QPoint(10, 10), out));
}

void TestDiagramWidget::timeStep_data()
{
    QTest::addColumn<quint64>("span");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<quint64>("step");
    QTest::newRow("ten minutes on 600 px") << quint64(600) << 600 << quint64(128);
    QTest::newRow("a minute on 600 px") << quint64(60) << 600 << quint64(8);
    QTest::newRow("a second on 1000 px") << quint64(1) << 1000 << quint64(1);
    QTest::newRow("window narrower than a step") << quint64(10) << 10 << quint64(10);
    QTest::newRow("six hours on 1000 px") << quint64(21600) << 1000 << quint64(2048);
    QTest::newRow("the whole clock") << std::numeric_limits<quint64>::max() << 1000 << (quint64(1) << 61);
    QTest::newRow("no window") << quint64(0) << 600 << quint64(1);
    QTest::newRow("no pixels") << quint64(600) << 0 << quint64(1);
}

void TestDiagramWidget::timeStep()
{
    QFETCH(quint64, span);
    QFETCH(int, pixels);
    QFETCH(quint64, step);
    QCOMPARE(CTimeMapping::TimeStep(span, pixels), step);
}

QTEST_MAIN(TestDiagramWidget)
#include "tst_DiagramWidget.moc"
