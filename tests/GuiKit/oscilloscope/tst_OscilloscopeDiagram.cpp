// The oscilloscope diagram drawn offscreen: the envelope of many samples per
// column, fewer samples than columns, a window beyond the last sample or
// before the first, the delta cursor and the tooltips.
#include "CDiagramProbe.h"
#include "oscilloscope/CQOscilloscopeDiagram.h"

#include <QCursor>
#include <QTest>

namespace {

// 530 x 127 gives a plot of 500 x 100 pixels at (30, 0).
const int WIDTH = 530;
const int HEIGHT = 127;
const int LEFT = 30;

QRgb Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

QRgb Rgb(const QColor& color)
{
    return color.rgb() & 0xffffff;
}

// Levels 0..100 on 100 rows: level v is row (int)(99 - 0.99 v).
void Prepare(CDiagramProbe& widget, const QList<double>& samples, double fullX)
{
    widget.SetDiagramType(0, DIAGRAM_OSCILLOSCOPE);
    widget.SetAxisXType(DIAGRAM_OSCILLOSCOPE);
    widget.SetMaxYRange(0.0, 100.0, 1.0);
    widget.SetMaxXRange(0.0, fullX, 1.0, true);
    widget.AddLine(0, QStringLiteral("wave"), QPen(Qt::blue), 0, true);
    widget.AddValues(0, 0, samples);
}

const CQOscilloscopeDiagram& Diagram(const CDiagramProbe& widget)
{
    return *static_cast<const CQOscilloscopeDiagram*>(widget.Diagram(0));
}

bool ColumnHasColor(const QImage& image, int x, const QColor& color)
{
    for (int y = 0; y < 100; ++y) {
        if (Rgb(image, x, y) == Rgb(color))
            return true;
    }
    return false;
}

} // namespace

class TestOscilloscopeDiagram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void twoSamplesPerColumn();
    void fewerSamplesThanColumns();
    void windowBeyondTheSamples();
    void deltaCursorWithEqualPositions();
    void toolTips();
};

void TestOscilloscopeDiagram::initTestCase()
{
    QCursor::setPos(-10000, -10000);
}

void TestOscilloscopeDiagram::twoSamplesPerColumn()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    QList<double> samples;
    for (int c = 0; c < 500; ++c)
        samples << c % 50 << c % 50 + 30;
    Prepare(widget, samples, 1000.0);
    const QImage image = widget.Render();
    const auto& columns = Diagram(widget).Columns();
    QCOMPARE(Diagram(widget).FilledColumns(), 500);
    QCOMPARE(columns.at(0).yLow, 99);
    QCOMPARE(columns.at(0).yHigh, 69);
    QCOMPARE(columns.at(10).yLow, 89);
    QCOMPARE(columns.at(10).yHigh, 59);
    QCOMPARE(columns.at(499).yHigh, 20);
    // Column 10 ends its segment at x = left + 11 on the row of its maximum.
    QCOMPARE(Rgb(image, LEFT + 11, 59), Rgb(Qt::blue));
    // Only the maxima are joined: the column's minimum row stays empty.
    QVERIFY(Rgb(image, LEFT + 11, 89) != Rgb(Qt::blue));
}

void TestOscilloscopeDiagram::fewerSamplesThanColumns()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, { 10.0, 50.0, 90.0, 20.0, 70.0 }, 100.0);
    widget.Render();
    const auto& columns = Diagram(widget).Columns();
    // 100 pixels a sample; every column of a sample shows it.
    QCOMPARE(Diagram(widget).FilledColumns(), 500);
    QCOMPARE(columns.at(0).yHigh, 89);
    QCOMPARE(columns.at(99).yHigh, 89);
    QCOMPARE(columns.at(100).yHigh, 49);
    QCOMPARE(columns.at(150).yHigh, 49);
    QCOMPARE(columns.at(250).yHigh, 9);
    QCOMPARE(columns.at(250).yLow, 9);
    QCOMPARE(columns.at(450).yHigh, 29);
}

void TestOscilloscopeDiagram::windowBeyondTheSamples()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, QList<double>(1000, 50.0), 1000.0);
    // Twice the full range: four samples a column, half the columns filled.
    widget.Ranges().visibleXMax = 2000.0;
    QImage image = widget.Render();
    QCOMPARE(Diagram(widget).FilledColumns(), 250);
    QCOMPARE(Diagram(widget).Columns().at(300).yHigh, 0);
    QCOMPARE(Rgb(image, LEFT + 100, 49), Rgb(Qt::blue));
    // The waveform ends with the samples instead of jumping to row 0.
    for (int x = LEFT + 252; x < LEFT + 500; x += 7)
        QVERIFY(!ColumnHasColor(image, x, Qt::blue));

    // A window starting before the samples starts at the first one.
    widget.Ranges().visibleXMin = -1000.0;
    widget.Ranges().visibleXMax = 1000.0;
    image = widget.Render();
    QCOMPARE(Diagram(widget).FilledColumns(), 250);
}

void TestOscilloscopeDiagram::deltaCursorWithEqualPositions()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, QList<double>(1000, 50.0), 1000.0);
    widget.SetMaxXRange(0.0, 1000.0, 0.5, true);
    widget.Ranges().deltaCursor = true;
    widget.Ranges().deltaStartX = 200;
    widget.Ranges().deltaEndX = 200;
    const QImage image = widget.Render();
    QCOMPARE(Rgb(image, 200, 20), Rgb(Qt::red));
    QString text;
    QVERIFY(widget.Diagram(0)->GetToolTipText(true, QPoint(300, 50), {}, text));
    // Two units a pixel: position 200 is X 400, 200 ms.
    QCOMPARE(text,
        QStringLiteral("<b>Delta Cursor</b><br>Start: 200.00 ms<br>End: 200.00 ms<br>Difference: 0.00 ms (inf Hz)"));

    widget.Ranges().deltaEndX = 250;
    QVERIFY(widget.Diagram(0)->GetToolTipText(true, QPoint(300, 50), {}, text));
    QVERIFY(text.endsWith(QStringLiteral("Difference: 50.00 ms (20.00 Hz)")));
}

void TestOscilloscopeDiagram::toolTips()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, QList<double>(1000, 50.0), 1000.0);
    widget.SetMaxXRange(0.0, 1000.0, 0.5, true);
    widget.SetMaxYRange(0.0, 100.0, 0.25);
    widget.Ranges().visibleYMin = 12.5;
    QString text;
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, widget.AxisYRect(0).center(), {}, text));
    QCOMPARE(text, QStringLiteral("Min = 12.5 dB<br>Max = 100 dB<br>Visible range = 88 dB"));
    // Widget x 100 is X 200; plot row 99 - 35 is level 12.5 + 0.875 * 35.
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, QPoint(100, 64), {}, text));
    QCOMPARE(text, QStringLiteral("Position: 100.00 ms<br>Level: 10.75 dB"));
    QVERIFY(!widget.Diagram(0)->GetToolTipText(false, QPoint(100, 110), {}, text));
}

QTEST_MAIN(TestOscilloscopeDiagram)
#include "tst_OscilloscopeDiagram.moc"
