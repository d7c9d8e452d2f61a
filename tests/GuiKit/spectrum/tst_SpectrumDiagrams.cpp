// The two diagrams of levels against frequency drawn offscreen: bar groups
// with the last value left out, threshold lines, the three frequency
// columns, dragging a Y bound, the level menu and the range tooltip.
#include "CDiagramProbe.h"
#include "CMenuCatcher.h"
#include "spectrum/CQFreqDiagram.h"

#include <QCursor>
#include <QTest>

namespace {

// 630 x 127 gives a plot of 600 x 100 pixels at (30, 0).
const int WIDTH = 630;
const int HEIGHT = 127;
const int LEFT = 30;
const QColor BAR(Qt::blue);
const QColor THRESHOLD(Qt::red);

QRgb Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

QRgb Rgb(const QColor& color)
{
    return color.rgb() & 0xffffff;
}

// Levels 0..100, one pixel per unit: a bar of level L has its top at row
// 99 - 0.99 L.
void Prepare(CDiagramProbe& widget, DiagramType type)
{
    widget.SetDiagramType(0, type);
    widget.SetMaxYRange(0.0, 100.0, 1.0);
    widget.SetMaxXRange(2400.0, 2500.0, 1.0, true);
}

// The first row from the top at column x with the colour, or -1.
int TopOf(const QImage& image, int x, const QColor& color)
{
    for (int y = 0; y < 100; ++y) {
        if (Rgb(image, x, y) == Rgb(color))
            return y;
    }
    return -1;
}

} // namespace

class TestSpectrumDiagrams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void barGroupsLeaveOutTheLastValue();
    void groupsShowTheLargestOfTheirValues();
    void thresholdLines();
    void shortLinesDrawNothing();
    void aFullSpectrumFitsThePlot();
    void longSpectraSpreadOverThePlot_data();
    void longSpectraSpreadOverThePlot();
    void freqColumnsAndLines();
    void draggingYBounds();
    void levelMenuSetsARangeFromZero();
    void freqToolTip();
};

void TestSpectrumDiagrams::initTestCase()
{
    QCursor::setPos(-10000, -10000);
}

void TestSpectrumDiagrams::barGroupsLeaveOutTheLastValue()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.AddLine(0, QStringLiteral("spectrum"), QPen(BAR), 0, true);
    widget.AddValues(0, 0, { 50.0, 20.0, 90.0 });
    const QImage image = widget.Render();
    // 600 / 3 = 200 pixels a value; each bar starts at its value's column
    // and is 203 wide, overlapping the next one by three pixels.
    QCOMPARE(TopOf(image, LEFT, BAR), 49);
    QCOMPARE(TopOf(image, LEFT + 202, BAR), 49);
    QCOMPARE(TopOf(image, LEFT + 203, BAR), 79);
    QCOMPARE(TopOf(image, LEFT + 402, BAR), 79);
    QCOMPARE(TopOf(image, LEFT + 403, BAR), -1);
    QCOMPARE(TopOf(image, LEFT + 599, BAR), -1);
}

void TestSpectrumDiagrams::aFullSpectrumFitsThePlot()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.AddLine(0, QStringLiteral("spectrum"), QPen(BAR), 0, true);
    QList<double> values(160, 20.0);
    values[158] = 90.0; // the top of the scan range
    widget.AddValues(0, 0, values);
    const QImage image = widget.Render();
    // 600 / 160 = 3.75 pixels a value: value 158 starts at 592.
    QCOMPARE(TopOf(image, LEFT + 592, BAR), 9);
    QCOMPARE(TopOf(image, LEFT + 10, BAR), 79);
}

void TestSpectrumDiagrams::longSpectraSpreadOverThePlot_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("group");
    QTest::newRow("fewer values than pixels") << 600 << 1;
    QTest::newRow("a value a pixel") << 970 << 1;
    QTest::newRow("values sharing pixels") << 2000 << 1;
    QTest::newRow("groups of four") << 2000 << 4;
}

void TestSpectrumDiagrams::longSpectraSpreadOverThePlot()
{
    QFETCH(int, count);
    QFETCH(int, group);
    CDiagramProbe widget(1000, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.SetItemsOnPixel(group);
    widget.AddLine(0, QStringLiteral("spectrum"), QPen(BAR), 0, true);
    QList<double> values(count, 50.0);
    values[1500 * count / 2000] = 90.0;
    widget.AddValues(0, 0, values);
    const QImage image = widget.Render();
    // On 970 pixels every column shows a bar, and the peak is at 727 of them.
    for (int x = LEFT; x < LEFT + 970; ++x)
        QVERIFY2(TopOf(image, x, BAR) >= 0, qPrintable(QString::number(x)));
    QCOMPARE(TopOf(image, LEFT + 727, BAR), 9);
}

void TestSpectrumDiagrams::groupsShowTheLargestOfTheirValues()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.SetItemsOnPixel(2);
    widget.AddLine(0, QStringLiteral("spectrum"), QPen(BAR), 0, true);
    widget.AddValues(0, 0, { 10.0, 60.0, 30.0, 20.0, 90.0 });
    const QImage image = widget.Render();
    // 600 / 5 = 120 pixels a value; groups {0, 1} and {2, 3} each span their
    // two values' columns; value 4 would need a group ending past the last
    // value.
    QCOMPARE(TopOf(image, LEFT + 60, BAR), 39);
    QCOMPARE(TopOf(image, LEFT + 180, BAR), 39);
    QCOMPARE(TopOf(image, LEFT + 250, BAR), 69);
    QCOMPARE(TopOf(image, LEFT + 482, BAR), 69);
    QCOMPARE(TopOf(image, LEFT + 490, BAR), -1);
}

void TestSpectrumDiagrams::thresholdLines()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.AddLine(0, QStringLiteral("threshold"), QPen(THRESHOLD), 1, true);
    widget.AddLine(0, QStringLiteral("no value"), QPen(Qt::green), 2, true);
    widget.AddValues(0, 0, { 40.0, 90.0 });
    const QImage image = widget.Render();
    // Only the first value counts: 100 * (40 - 100) / (0 - 100) = row 60.
    // (Axis line and ticks cover the first columns.)
    for (int x : { LEFT + 5, LEFT + 300, LEFT + 599 })
        QCOMPARE(TopOf(image, x, THRESHOLD), 60);
    QCOMPARE(TopOf(image, LEFT + 300, Qt::green), -1);
}

void TestSpectrumDiagrams::shortLinesDrawNothing()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_SPECTRUM);
    widget.AddLine(0, QStringLiteral("one value"), QPen(BAR), 0, true);
    widget.AddValues(0, 0, { 80.0 });
    widget.AddLine(0, QStringLiteral("hidden"), QPen(BAR), 0, false);
    widget.AddValues(0, 1, { 80.0, 80.0, 80.0 });
    const QImage image = widget.Render();
    for (int x = LEFT; x < LEFT + 600; x += 50)
        QCOMPARE(TopOf(image, x, BAR), -1);
}

void TestSpectrumDiagrams::freqColumnsAndLines()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    widget.AddLine(0, QStringLiteral("line"), QPen(BAR), 0, true);
    widget.AddValues(0, 0, { 1.0, 2.0 });
    Prepare(widget, DIAGRAM_FREQ);
    // Taking the lines over empties them, and nothing else fills them.
    QVERIFY(widget.Line(0, 0).values.isEmpty());
    widget.AddValues(0, 0, { 50.0, 50.0, 50.0 });

    const QImage image = widget.Render(Qt::black);
    const auto* diagram = static_cast<CQFreqDiagram*>(widget.Diagram(0));
    QCOMPARE(diagram->Columns().at(0), QRect(LEFT, 0, 200, 100));
    QCOMPARE(diagram->Columns().at(1).left(), LEFT + 199);
    QCOMPARE(diagram->Columns().at(2).left(), LEFT + 398);
    // Dashed lines at the two inner edges, under the shade of the middle
    // column: along them some rows differ from the shaded plot, not all.
    const auto dashRows = [&image](int x) {
        int rows = 0;
        for (int y = 0; y < 100; ++y)
            rows += Rgb(image, x, y) != Rgb(image, LEFT + 300, y) ? 1 : 0;
        return rows;
    };
    for (int x : { LEFT + 199, LEFT + 398 }) {
        QVERIFY2(dashRows(x) > 30, qPrintable(QString::number(dashRows(x))));
        QVERIFY2(dashRows(x) < 90, qPrintable(QString::number(dashRows(x))));
    }
    QCOMPARE(dashRows(LEFT + 250), 0);
    // Only the middle column is shaded.
    const int row = 50;
    const QRgb outer = Rgb(image, LEFT + 100, row);
    QCOMPARE(Rgb(image, LEFT + 500, row), outer);
    QVERIFY(Rgb(image, LEFT + 300, row) != outer);
    QCOMPARE(TopOf(image, LEFT + 100, BAR), -1);
}

void TestSpectrumDiagrams::draggingYBounds()
{
    for (DiagramType type : { DIAGRAM_SPECTRUM, DIAGRAM_FREQ }) {
        CDiagramProbe widget(WIDTH, HEIGHT);
        widget.SetDiagramType(0, type);
        widget.SetMaxYRange(0.0, 1000.0, 1.0);
        const QRect strip = widget.AxisYRect(0);
        QCOMPARE(strip.height(), 100);
        const QPoint upper(strip.center().x(), strip.top() + 10);
        const QPoint lower(strip.center().x(), strip.bottom() - 10);
        // 10 units a pixel: half speed moves 100 units for 20 pixels, the
        // inverse scale 2 units.
        QVERIFY(widget.Diagram(0)->ScrollAxisY(upper, 20));
        QCOMPARE(widget.Ranges().visibleYMax, type == DIAGRAM_SPECTRUM ? 900.0 : 998.0);
        QVERIFY(widget.Diagram(0)->ScrollAxisY(lower, -20));
        QCOMPARE(widget.Ranges().visibleYMin, type == DIAGRAM_SPECTRUM ? 100.0 : 2.0);
        // Below the full range the bound stays.
        QVERIFY(!widget.Diagram(0)->ScrollAxisY(lower, 1000));
        QCOMPARE(widget.Ranges().visibleYMin, type == DIAGRAM_SPECTRUM ? 100.0 : 2.0);
    }
}

void TestSpectrumDiagrams::levelMenuSetsARangeFromZero()
{
    for (DiagramType type : { DIAGRAM_SPECTRUM, DIAGRAM_FREQ }) {
        CDiagramProbe widget(WIDTH, HEIGHT);
        widget.SetDiagramType(0, type);
        widget.SetMaxYRange(0.0, 1000.0, 1.0);
        widget.SetVisibleYRange(300.0, 1000.0, false);
        CMenuCatcher catcher(QStringLiteral("500"));
        widget.Diagram(0)->ShowAxisYMenu(QPoint(100, 100));
        QVERIFY(catcher.shown);
        QCOMPARE(catcher.names.size(), 100);
        QCOMPARE(catcher.names.first(), QStringLiteral("10"));
        QCOMPARE(catcher.names.last(), QStringLiteral("1000"));
        QCOMPARE(catcher.texts.at(1), QStringLiteral("0 - 20 dBm"));
        QCOMPARE(widget.Ranges().visibleYMin, 0.0);
        QCOMPARE(widget.Ranges().visibleYMax, 500.0);
    }
}

void TestSpectrumDiagrams::freqToolTip()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    widget.SetDiagramType(0, DIAGRAM_FREQ);
    widget.SetMaxYRange(-500.0, 0.0, 1.0);
    widget.SetVisibleYRange(-400.0, -20.5, false);
    QString text;
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, widget.AxisYRect(0).center(), {}, text));
    QCOMPARE(text, QStringLiteral("Min = -400 dBm<br>Max = -20.5 dBm<br>Visible range = 379.5 dBm"));
    QVERIFY(!widget.Diagram(0)->GetToolTipText(false, widget.PlotRect(0).center(), {}, text));

    widget.SetDiagramType(0, DIAGRAM_SPECTRUM);
    // The range outlives the diagram object.
    QCOMPARE(widget.Ranges().visibleYMax, -20.5);
    QVERIFY(!widget.Diagram(0)->GetToolTipText(false, widget.AxisYRect(0).center(), {}, text));
}

QTEST_MAIN(TestSpectrumDiagrams)
#include "tst_SpectrumDiagrams.moc"
