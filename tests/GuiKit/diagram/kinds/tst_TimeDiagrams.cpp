// The three time diagrams drawn offscreen: appending and auto-scroll, the
// polyline with its lead-in, clipping and per-column extents (no spike is
// lost), the rows of duration bars and their tooltips, level bars and level
// lines, the level labels, the Y menus and the data under a point.
#include "CDiagramProbe.h"
#include "CMenuCatcher.h"

#include <QCursor>
#include <QPainter>
#include <QTest>

namespace {

const quint64 T0 = CDiagramProbe::T0;
// 630 x 127 gives a plot of 600 x 100 pixels at (30, 0).
const int WIDTH = 630;
const int HEIGHT = 127;

QRgb Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

QRgb Rgb(const QColor& color)
{
    return color.rgb() & 0xffffff;
}

// A widget of one area of the kind with lines of the given colours, levels
// -100..0 (one pixel per unit on a 100-pixel plot) and the time window
// T0..T0 + seconds.
void Prepare(CDiagramProbe& widget, DiagramType type, const QList<QColor>& colors, quint64 seconds = 600)
{
    widget.SetDiagramType(0, type);
    for (int i = 0; i < colors.size(); ++i)
        widget.AddLine(0, QStringLiteral("line %1").arg(i), QPen(colors.at(i)), 0, true);
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    widget.SetTimeWindow(T0, T0 + seconds);
}

QString LocalTime(quint64 t)
{
    return QDateTime::fromSecsSinceEpoch(qint64(t)).toString(QStringLiteral("dd.MM hh:mm:ss"));
}

} // namespace

class TestTimeDiagrams : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void appendingAtTheEdgesOfTheFullRange();
    void autoScrollKeepsTheWidthAndAdvancesTheIndex();
    void anEarlierValueGoesToItsPlace();
    void linesLeadInAndClipping();
    void linesKeepEverySpike_data();
    void linesKeepEverySpike();
    void rectsRowsAndBars();
    void rectsToolTipsAndRuns();
    void levelBarsAndLevelLines();
    void barsFromBeforeTheWindow_data();
    void barsFromBeforeTheWindow();
    void levelLabelsNameTheRowsOfTheBars();
    void yMenus();
    void dataAndToolTipAtAPoint();
};

void TestTimeDiagrams::initTestCase()
{
    QCursor::setPos(-10000, -10000);
}

void TestTimeDiagrams::appendingAtTheEdgesOfTheFullRange()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue });
    widget.SetVisibleXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 300));

    widget.AddValue(0, 0, CDiagramProbe::Time(T0 - 1), -50.0, 1);
    QVERIFY(widget.Line(0, 0).values.isEmpty());
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 600), -50.0, 1);
    QCOMPARE(widget.Line(0, 0).values.size(), 1);
    QCOMPARE(widget.VisibleMin(), T0 + 300);
    QCOMPARE(widget.VisibleMax(), T0 + 600);

    // Without auto-scroll the full range grows and the window stays.
    widget.EnableAutoscroll(false);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 700), -50.0, 1);
    QCOMPARE(widget.Ranges().fullXMax.toULongLong(), T0 + 700);
    QCOMPARE(widget.VisibleMax(), T0 + 600);
}

void TestTimeDiagrams::autoScrollKeepsTheWidthAndAdvancesTheIndex()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue, Qt::red });
    for (quint64 t = T0; t < T0 + 600; ++t) {
        widget.AddValue(0, 0, CDiagramProbe::Time(t), -50.0, 1);
        widget.AddValue(0, 1, CDiagramProbe::Time(t), -60.0, 1);
    }
    QCOMPARE(widget.VisibleMin(), T0);
    QCOMPARE(widget.Ranges().firstVisibleIndex, -1);
    widget.Render();
    QCOMPARE(widget.Ranges().firstVisibleIndex, 0);

    for (int i = 1; i <= 50; ++i) {
        const int before = widget.Ranges().firstVisibleIndex;
        widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 600 + quint64(i)), -50.0, 1);
        QCOMPARE(widget.Ranges().firstVisibleIndex, before + 1);
        widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 600 + quint64(i)), -60.0, 1);
        QCOMPARE(widget.Ranges().firstVisibleIndex, before + 1);
        QCOMPARE(widget.VisibleMax() - widget.VisibleMin(), quint64(600));
        QCOMPARE(widget.VisibleMax(), T0 + 600 + quint64(i));
    }
}

void TestTimeDiagrams::anEarlierValueGoesToItsPlace()
{
    CDiagramProbe widget(130, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue }, 10000);
    for (quint64 t = T0; t < T0 + 10000; ++t)
        widget.AddValue(0, 0, CDiagramProbe::Time(t), -80.0, 1);
    widget.Render();
    // A late record from the past: stored in time order and drawn.
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 5050), -20.0, 1);
    const QList<DATA_VALUE>& values = widget.Line(0, 0).values;
    QCOMPARE(values.size(), 10001);
    for (int i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i - 1).x.toULongLong() <= values.at(i).x.toULongLong());
    QCOMPARE(values.at(5051).y.toDouble(), -20.0);
    const QImage image = widget.Render();
    QCOMPARE(Rgb(image, 30 + 50, 20), Rgb(Qt::blue));
}

void TestTimeDiagrams::linesLeadInAndClipping()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue });
    QCOMPARE(widget.PlotRect(0), QRect(30, 0, 600, 100));
    // x = 30 + seconds, y = -level.
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 100), -40.0, 1);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 200), -60.0, 1);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 300), -150.0, 1); // far below the range
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 400), -20.0, 1);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 500), -100.9, 1); // within a pixel of the bottom
    const QImage image = widget.Render();
    const QRgb blue = Rgb(Qt::blue);

    // The lead-in runs level from the widget's left edge, lighter.
    QCOMPARE(Rgb(image, 80, 40), Rgb(QColor(Qt::blue).lighter(170)));
    QVERIFY(Rgb(image, 10, 40) != Rgb(image, 10, 41));
    QCOMPARE(Rgb(image, 130, 40), blue);
    QCOMPARE(Rgb(image, 180, 50), blue);
    // The value below the range is skipped: the line runs on to the next one.
    QCOMPARE(Rgb(image, 330, 40), blue);
    QVERIFY(Rgb(image, 280, 85) != blue);
    QVERIFY(Rgb(image, 330, 99) != blue);
    QCOMPARE(Rgb(image, 480, 60), blue);
    QCOMPARE(Rgb(image, 530, 100), blue);

    widget.SetLineVisible(0, 0, false);
    QVERIFY(Rgb(widget.Render(), 180, 50) != blue);
}

void TestTimeDiagrams::linesKeepEverySpike_data()
{
    QTest::addColumn<int>("perColumn");
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("spike");
    QTest::newRow("10 per column, up") << 10 << -80.0 << -20.0;
    QTest::newRow("10 per column, down") << 10 << -30.0 << -90.0;
    QTest::newRow("100 per column, up") << 100 << -80.0 << -20.0;
    QTest::newRow("100 per column, down") << 100 << -30.0 << -90.0;
}

void TestTimeDiagrams::linesKeepEverySpike()
{
    QFETCH(int, perColumn);
    QFETCH(double, base);
    QFETCH(double, spike);
    // 100 columns; every value position k of every column gets a spike of
    // its own (one render per k), which its column must show.
    const int columns = 100;
    CDiagramProbe widget(30 + columns, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue }, quint64(columns * perColumn));
    const QRgb blue = Rgb(Qt::blue);
    for (int k = 0; k < perColumn; ++k) {
        widget.Clear(true);
        widget.SetMaxYRange(-100.0, 0.0, 1.0);
        widget.SetTimeWindow(T0, T0 + quint64(columns * perColumn));
        for (int i = 0; i < columns * perColumn; ++i)
            widget.AddValue(0, 0, CDiagramProbe::Time(T0 + quint64(i)), i % perColumn == k ? spike : base, 1);
        const QImage image = widget.Render();
        for (int c = 0; c < columns; ++c) {
            const int x = 30 + c;
            QVERIFY2(Rgb(image, x, int(-spike)) == blue,
                qPrintable(QStringLiteral("spike at %1 of column %2 lost").arg(k).arg(c)));
            QCOMPARE(Rgb(image, x, int(-base)), blue);
            // The extent ends at the spike.
            const int beyond = spike > base ? int(-spike) - 2 : int(-spike) + 2;
            QVERIFY(Rgb(image, x, beyond) != blue);
        }
    }
}

void TestTimeDiagrams::rectsRowsAndBars()
{
    // Three lines on a plot 90 pixels high: rows of 30, the first on top.
    CDiagramProbe widget(WIDTH, 117);
    Prepare(widget, DIAGRAM_TIME_RECTS, { Qt::red, Qt::green, Qt::blue });
    QCOMPARE(widget.PlotRect(0).height(), 90);
    for (int line = 0; line < 3; ++line)
        widget.AddValue(0, line, CDiagramProbe::Time(T0 + 100), -50.0, 100);
    widget.EnableAutoscroll(false);
    widget.AddValue(0, 2, CDiagramProbe::Time(T0 + 601), -50.0, 100); // after the window
    const QImage image = widget.Render();
    const QList<QColor> colors = { Qt::red, Qt::green, Qt::blue };
    const int x = 30 + 150;
    for (int line = 0; line < 3; ++line) {
        const int rowTop = widget.PlotRect(0).bottom() - (3 - line) * 30;
        const QRgb color = Rgb(colors.at(line));
        QVERIFY(Rgb(image, x, rowTop + 1) != color);
        QCOMPARE(Rgb(image, x, rowTop + 2), color);
        QCOMPARE(Rgb(image, x, rowTop + 27), color);
        QVERIFY(Rgb(image, x, rowTop + 29) != color);
        // From the start second to the end second.
        QCOMPARE(Rgb(image, 130, rowTop + 10), color);
        QVERIFY(Rgb(image, 129, rowTop + 10) != color);
        QVERIFY(Rgb(image, 232, rowTop + 10) != color);
        QCOMPARE(widget.Line(0, line).aux2.size(), 1);
        QCOMPARE(widget.Line(0, line).aux2.at(0).rect, QRect(130, rowTop + 2, 100, 26));
    }
}

void TestTimeDiagrams::rectsToolTipsAndRuns()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_RECTS, { Qt::red });
    // A run of three one-second events, an isolated one, a long one.
    for (quint64 t : { T0 + 100, T0 + 101, T0 + 102, T0 + 300 })
        widget.AddValue(0, 0, CDiagramProbe::Time(t), -45.0, 1);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 400), -62.5, 100);
    widget.Render();
    IDiagram* diagram = widget.Diagram(0);
    const QList<DATA_LINE*> lines = widget.Lines(0);
    const int y = 50;
    QString text;
    QVERIFY(diagram->GetToolTipText(false, QPoint(131, y), lines, text));
    QCOMPARE(text, QStringLiteral("Date/Time: %1<br>Duration: 00:00:03<br>Level: -45 dBm").arg(LocalTime(T0 + 101)));
    QVERIFY(diagram->GetToolTipText(false, QPoint(330, y), lines, text));
    QCOMPARE(text, QStringLiteral("Date/Time: %1<br>Duration: 00:00:01<br>Level: -45 dBm").arg(LocalTime(T0 + 300)));
    QVERIFY(diagram->GetToolTipText(false, QPoint(480, y), lines, text));
    QCOMPARE(text, QStringLiteral("Date/Time: %1<br>Duration: 00:01:40<br>Level: -62.5 dBm").arg(LocalTime(T0 + 400)));
    QVERIFY(!diagram->GetToolTipText(false, QPoint(200, y), lines, text));
    // Values gone since the drawing give no text, and nothing stale.
    widget.AddValues(0, 0, {});
    QVERIFY(!diagram->GetToolTipText(false, QPoint(131, y), lines, text));
}

void TestTimeDiagrams::levelBarsAndLevelLines()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LEVEL_RECTS, {});
    widget.AddLine(0, QStringLiteral("bars"), QPen(Qt::green), 0, true);
    widget.AddLine(0, QStringLiteral("threshold"), QPen(Qt::red), 1, true);
    widget.AddValue(0, 0, CDiagramProbe::Time(T0 + 100), -40.0, 50);
    widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 100), -30.0, 5);
    widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 200), -70.0, 5);
    widget.AddValue(0, 1, CDiagramProbe::Time(T0 + 300), -70.0, 5);
    const QImage image = widget.Render();
    const QRgb red = Rgb(Qt::red);
    const QRgb green = Rgb(Qt::green);

    // Tag 1: one line across the plot per level, no bars.
    for (int x : { 35, 300, 629 }) {
        QCOMPARE(Rgb(image, x, 30), red);
        QCOMPARE(Rgb(image, x, 70), red);
    }
    QVERIFY(Rgb(image, 330, 50) != red);
    // Tag 0: a bar from the level down to the bottom, translucent inside.
    QCOMPARE(Rgb(image, 140, 40), green);
    QCOMPARE(Rgb(image, 130, 90), green);
    QVERIFY(Rgb(image, 140, 90) != Rgb(image, 300, 90));
    QVERIFY(Rgb(image, 140, 39) != green);
    QVERIFY(Rgb(image, 190, 90) != Rgb(image, 140, 90));
}

void TestTimeDiagrams::barsFromBeforeTheWindow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("duration");
    QTest::newRow("rects, reaching in") << int(DIAGRAM_TIME_RECTS) << 1100;
    QTest::newRow("rects, ending at the start") << int(DIAGRAM_TIME_RECTS) << 1000;
    QTest::newRow("level rects, reaching in") << int(DIAGRAM_TIME_LEVEL_RECTS) << 1100;
    QTest::newRow("level rects, ending at the start") << int(DIAGRAM_TIME_LEVEL_RECTS) << 1000;
}

void TestTimeDiagrams::barsFromBeforeTheWindow()
{
    QFETCH(int, type);
    QFETCH(int, duration);
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DiagramType(type), { Qt::green }, 1600);
    // A long bar, then many short ones that end before the window.
    widget.AddValue(0, 0, CDiagramProbe::Time(T0), -50.0, duration);
    for (quint64 t = T0 + 1; t < T0 + 900; ++t)
        widget.AddValue(0, 0, CDiagramProbe::Time(t), -50.0, 1);
    widget.SetVisibleXRange(CDiagramProbe::Time(T0 + 1000), CDiagramProbe::Time(T0 + 1600));
    const QImage image = widget.Render();
    // Clipped to the window: from its left edge to T0 + 1100 if it gets there.
    for (int x : { 35, 125 })
        QCOMPARE(Rgb(image, x, 50) == Rgb(Qt::green), duration > 1000);
    QVERIFY(Rgb(image, 135, 50) != Rgb(Qt::green));
}

void TestTimeDiagrams::levelLabelsNameTheRowsOfTheBars()
{
    // Levels -100..0 on 300 pixels: rows every 10 units, 30 pixels apart.
    CDiagramProbe widget(WIDTH, 327);
    Prepare(widget, DIAGRAM_TIME_LEVEL_RECTS, {});
    const QRect& strip = widget.AxisYRect(0);
    QCOMPARE(strip.height(), 300);
    QImage labels(widget.size(), QImage::Format_RGB32);
    labels.fill(Qt::black);
    {
        QPainter painter(&labels);
        widget.Diagram(0)->DrawAxisYLabels(painter, {});
    }
    // A bar of level L reaches row 300 * L / -100, so row 30 is -10 dB and
    // row 270 is -90 dB, whatever the range's sign.
    for (const auto& label : { qMakePair(30, QStringLiteral("-10 dB")), qMakePair(270, QStringLiteral("-90 dB")) }) {
        QImage expected(widget.size(), QImage::Format_RGB32);
        expected.fill(Qt::black);
        {
            QPainter painter(&expected);
            painter.setFont(QFont(QStringLiteral("Arial"), 7, QFont::Bold));
            painter.setPen(Qt::white);
            painter.drawText(QRect(strip.left(), label.first - 15, strip.width(), 30), Qt::AlignCenter, label.second);
        }
        const QRect band(0, label.first - 12, strip.width(), 24);
        QCOMPARE(labels.copy(band), expected.copy(band));
    }
}

void TestTimeDiagrams::yMenus()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue });
    const QPoint global(100, 100);
    {
        // -100..0 has no level beyond the smallest span: no menu at all.
        CMenuCatcher catcher;
        widget.Diagram(0)->ShowAxisYMenu(global);
        QTest::qWait(30);
        QVERIFY(!catcher.shown);
    }
    {
        widget.SetMaxYRange(-500.0, 0.0, 1.0);
        CMenuCatcher catcher(QStringLiteral("-300"));
        widget.Diagram(0)->ShowAxisYMenu(global);
        QVERIFY(catcher.shown);
        QCOMPARE(catcher.names.size(), 29);
        QCOMPARE(catcher.names.first(), QStringLiteral("-490"));
        QCOMPARE(catcher.names.last(), QStringLiteral("-210"));
        QCOMPARE(catcher.texts.first(), QStringLiteral("0 - -490 dBm"));
        QCOMPARE(widget.Ranges().visibleYMin, -300.0);
        QCOMPARE(widget.Ranges().visibleYMax, 0.0);
    }
    widget.SetDiagramType(0, DIAGRAM_TIME_LEVEL_RECTS);
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    {
        CMenuCatcher catcher(QStringLiteral("-50"));
        widget.Diagram(0)->ShowAxisYMenu(global);
        QCOMPARE(catcher.names, QStringList({ "-90", "-80", "-70", "-60", "-50", "-40", "-30", "-20", "-10", "0" }));
        // A range narrower than the smallest span does not change.
        QCOMPARE(widget.Ranges().visibleYMin, -100.0);
    }
}

void TestTimeDiagrams::dataAndToolTipAtAPoint()
{
    CDiagramProbe widget(WIDTH, HEIGHT);
    Prepare(widget, DIAGRAM_TIME_LINES, { Qt::blue });
    widget.SetMaxYRange(-400.0, 0.0, 1.0);
    widget.SetVisibleYRange(-300.0, 0.0, false);
    QCOMPARE(widget.Ranges().visibleYMin, -300.0);
    const QPoint middle(30 + 300, 50);

    QList<QVariant> data;
    QVERIFY(widget.GetDataAtPos(false, middle, data));
    QCOMPARE(data.size(), 2);
    QCOMPARE(data.at(0).toULongLong(), T0 + 300);
    QCOMPARE(data.at(1).toDouble(), -150.0);
    data.clear();
    QVERIFY(!widget.GetDataAtPos(false, QPoint(10, 50), data));
    QVERIFY(data.isEmpty());

    QString text;
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, QPoint(10, 50), {}, text));
    QCOMPARE(text, QStringLiteral("Min = -300.00 dBm<br>Max = 0.00 dBm<br>Visible range = 300.00 dBm"));
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, middle, {}, text));
    QCOMPARE(text, QStringLiteral("Date/Time: %1<br>Level: -150.00 dBm").arg(LocalTime(T0 + 300)));

    // Level bars read the level from the full range.
    widget.SetDiagramType(0, DIAGRAM_TIME_LEVEL_RECTS);
    widget.SetTimeWindow(T0, T0 + 600);
    QVERIFY(widget.GetDataAtPos(false, middle, data));
    QCOMPARE(data.at(1).toDouble(), -200.0);

    // The Rects kind answers no position; the status box stays away.
    widget.SetDiagramType(0, DIAGRAM_TIME_RECTS);
    data.clear();
    QVERIFY(!widget.GetDataAtPos(false, middle, data));
}

QTEST_MAIN(TestTimeDiagrams)
#include "tst_TimeDiagrams.moc"
