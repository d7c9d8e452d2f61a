// Mouse and wheel on the diagram widget: the time-window menu, panning the
// X axis and the plot, zooming time and real axes, auto-scroll switched off
// once, the menus of a right-button release, cursor shapes, the delta cursor
// and the hit tests.
#include "CDiagramProbe.h"
#include "CMenuCatcher.h"
#include "diagram/CRangeGuard.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

namespace {

const quint64 T0 = CDiagramProbe::T0;

// Plot (30, 0, 600, 100); X axis strip (30, 105, 600, 15).
void Prepare(CDiagramProbe& widget, DiagramType type = DIAGRAM_TIME_LINES)
{
    widget.Resize(630, 127);
    widget.SetDiagramType(0, type);
    widget.AddLine(0, QStringLiteral("level"), QPen(Qt::blue), 0, true);
    widget.SetMaxYRange(-100.0, 0.0, 1.0);
    widget.SetTimeWindow(T0, T0 + 600);
}

void Drag(QWidget& widget, QPoint from, QPoint to)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&widget, to);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

void Wheel(QWidget& widget, QPoint at, int delta)
{
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

class TestDiagramInteraction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void timeWindowMenu();
    void dragOnTheLeftHalfOfTheTimeAxis();
    void dragInThePlotPansAndSwitchesAutoScrollOffOnce();
    void wheelZoomsTheTimeAxis();
    void realAxisZoomAndPan();
    void rightReleaseOverTheYStripOpensItsMenu();
    void cursorShapes();
    void axisHalfHighlightMatchesTheDrag();
    void positionToolTips();
    void deltaCursorAndHitTests();
};

void TestDiagramInteraction::initTestCase()
{
    QCursor::setPos(-10000, -10000);
}

void TestDiagramInteraction::timeWindowMenu()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.Ranges().firstVisibleIndex = 17;
    CMenuCatcher catcher(QStringLiteral("360"));
    QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, widget.AxisXRect().center());
    QVERIFY(catcher.shown);
    QCOMPARE(catcher.names, QStringList({ "3", "10", "20", "30", "60", "120", "180", "360" }));
    QCOMPARE(catcher.texts.first(), QStringLiteral("3 minutes"));
    QCOMPARE(catcher.texts.last(), QStringLiteral("6 hours"));
    // Six hours from the start: the full range grows to hold them.
    QCOMPARE(widget.Ranges().fullXMax.toULongLong(), T0 + 21600);
    QCOMPARE(widget.VisibleMin(), T0);
    QCOMPARE(widget.VisibleMax(), T0 + 21600);
    QCOMPARE(widget.Ranges().firstVisibleIndex, 0);

    CMenuCatcher shorter(QStringLiteral("3"));
    QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, widget.AxisXRect().center());
    QCOMPARE(widget.VisibleMax(), T0 + 180);
    QCOMPARE(widget.Ranges().fullXMax.toULongLong(), T0 + 21600);
}

void TestDiagramInteraction::dragOnTheLeftHalfOfTheTimeAxis()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.Ranges().firstVisibleIndex = 5;
    const QPoint start(widget.AxisXRect().left() + 100, widget.AxisXRect().center().y());
    // 600 s over 600 pixels: a second per pixel.
    Drag(widget, start, start + QPoint(10, 0));
    QCOMPARE(widget.VisibleMin(), T0 + 10);
    QCOMPARE(widget.VisibleMax(), T0 + 600);
    QCOMPARE(widget.Ranges().firstVisibleIndex, -1);
    // Back to the left moves it back; beyond the full range nothing moves.
    Drag(widget, start, start - QPoint(4, 0));
    QCOMPARE(widget.VisibleMin(), T0 + 6);
    Drag(widget, start, start - QPoint(50, 0));
    QCOMPARE(widget.VisibleMin(), T0 + 6);

    // The right half moves the end.
    const QPoint right(widget.AxisXRect().right() - 50, widget.AxisXRect().center().y());
    Drag(widget, right, right - QPoint(20, 0));
    QCOMPARE(widget.VisibleMax(), T0 + 580);
    QCOMPARE(widget.VisibleMin(), T0 + 6);
}

void TestDiagramInteraction::dragInThePlotPansAndSwitchesAutoScrollOffOnce()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.SetMaxXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 3600), 1.0, false);
    QSignalSpy toggled(&widget, &CQDiagramWidget::autoScrollToggle);
    QVERIFY(widget.IsAutoScroll());

    // Dragging the plot 30 pixels to the left shows 30 s later.
    Drag(widget, QPoint(300, 50), QPoint(270, 50));
    QCOMPARE(widget.VisibleMin(), T0 + 30);
    QCOMPARE(widget.VisibleMax(), T0 + 630);
    QVERIFY(!widget.IsAutoScroll());
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), false);

    Drag(widget, QPoint(300, 50), QPoint(310, 50));
    Wheel(widget, QPoint(300, 50), -120);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(widget.VisibleMin(), T0 + 20 + 120 / 10);

    // Switching it on again says nothing; the next wheel turn says it once.
    widget.EnableAutoscroll(true);
    QCOMPARE(toggled.count(), 1);
    Wheel(widget, QPoint(300, 50), 120);
    QCOMPARE(toggled.count(), 2);
}

void TestDiagramInteraction::wheelZoomsTheTimeAxis()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.SetTimeWindow(T0, T0 + 6000);
    // One second per step of the wheel delta: a notch narrows by 120 s a side.
    Wheel(widget, QPoint(300, 50), -120);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), double(T0 + 120));
    QCOMPARE(widget.Ranges().visibleXMax.toDouble(), double(T0 + 5880));
    Wheel(widget, QPoint(300, 50), 120);
    QCOMPARE(widget.VisibleMin(), T0);
    QCOMPARE(widget.VisibleMax(), T0 + 6000);
    // Beyond the full range, and below the smallest span, nothing moves.
    Wheel(widget, QPoint(300, 50), 120);
    QCOMPARE(widget.VisibleMax(), T0 + 6000);
    for (int i = 0; i < 30; ++i)
        Wheel(widget, QPoint(300, 50), -120);
    QVERIFY(widget.VisibleMax() - widget.VisibleMin() >= 200);
    // Outside a plot the wheel does not zoom.
    const quint64 min = widget.VisibleMin();
    Wheel(widget, widget.AxisXRect().center(), 120);
    QCOMPARE(widget.VisibleMin(), min);
    // The time diagram still draws a window stored as doubles.
    widget.Render();
}

void TestDiagramInteraction::realAxisZoomAndPan()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.SetAxisXType(DIAGRAM_SPECTRUM);
    widget.SetMaxXRange(0.0, 10000.0, 1.0, true);
    widget.SetVisibleXRange(1000.0, 9000.0);

    // Zooming out past the full range pins it there.
    widget.ShrinkAxisX(120 * 10);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 0.0);
    QCOMPARE(widget.Ranges().visibleXMax.toDouble(), 10000.0);
    widget.ShrinkAxisX(-120);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 120.0);
    // Zooming in that the smallest span refuses leaves the bounds alone.
    widget.SetVisibleXRange(4000.0, 4300.0);
    widget.ShrinkAxisX(-120);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 4000.0);
    QCOMPARE(widget.Ranges().visibleXMax.toDouble(), 4300.0);
    widget.SetVisibleXRange(4000.0, 4100.0);
    widget.ShrinkAxisX(-120);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 4000.0);

    // Panning: 10000 / 200 = 50 units per pixel.
    widget.SetVisibleXRange(1000.0, 9000.0);
    widget.ScrollAxisX(QPoint(widget.AxisXRect().left() + 10, widget.AxisXRect().top() + 2), -4);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 1200.0);
    widget.ScrollAxisX(QPoint(widget.AxisXRect().right() - 10, widget.AxisXRect().top() + 2), 4);
    QCOMPARE(widget.Ranges().visibleXMax.toDouble(), 8800.0);
    widget.Ranges().firstVisibleIndex = 3;
    widget.ScrollAxisX(QPoint(widget.AxisXRect().left() + 10, widget.AxisXRect().top() + 2), 2);
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 1100.0);
    QCOMPARE(widget.Ranges().firstVisibleIndex, -1);
    // A real window starting at 0 still shifts as a whole.
    widget.SetVisibleXRange(0.0, 5000.0);
    QVERIFY(CRangeGuard::ShiftRealWindow(widget.Ranges(), 100.0));
    QCOMPARE(widget.Ranges().visibleXMin.toDouble(), 100.0);
    QCOMPARE(widget.Ranges().visibleXMax.toDouble(), 5100.0);
    // A real axis has no time menu.
    CMenuCatcher catcher;
    widget.ShowAxisXMenu(QPoint(10, 10));
    QTest::qWait(20);
    QVERIFY(!catcher.shown);
}

void TestDiagramInteraction::rightReleaseOverTheYStripOpensItsMenu()
{
    CDiagramProbe widget;
    Prepare(widget, DIAGRAM_TIME_LEVEL_RECTS);
    {
        CMenuCatcher catcher;
        QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, QPoint(10, 50));
        QVERIFY(catcher.shown);
        QCOMPARE(catcher.names.size(), 10);
    }
    {
        // The plot of the same area has no menu.
        CMenuCatcher catcher;
        QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, QPoint(300, 50));
        QTest::qWait(20);
        QVERIFY(!catcher.shown);
    }
    {
        CMenuCatcher catcher;
        QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(10, 50));
        QTest::qWait(20);
        QVERIFY(!catcher.shown);
    }
}

void TestDiagramInteraction::cursorShapes()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::mouseMove(&widget, widget.AxisXRect().center());
    QCOMPARE(widget.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&widget, QPoint(10, 50));
    QCOMPARE(widget.cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(&widget, QPoint(300, 50));
    QCOMPARE(widget.cursor().shape(), Qt::ArrowCursor);
    // A plot that can pan shows the hand once auto-scroll is off.
    widget.SetMaxXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 3600), 1.0, false);
    QTest::mouseMove(&widget, QPoint(301, 50));
    QCOMPARE(widget.cursor().shape(), Qt::ArrowCursor);
    widget.EnableAutoscroll(false);
    QTest::mouseMove(&widget, QPoint(302, 50));
    QCOMPARE(widget.cursor().shape(), Qt::OpenHandCursor);
    // The Rects strip cannot be dragged: the shape stays as it was.
    widget.SetDiagramType(0, DIAGRAM_TIME_RECTS);
    QTest::mouseMove(&widget, QPoint(10, 50));
    QCOMPARE(widget.cursor().shape(), Qt::OpenHandCursor);
}

void TestDiagramInteraction::axisHalfHighlightMatchesTheDrag()
{
    CDiagramProbe widget;
    Prepare(widget, DIAGRAM_TIME_RECTS);
    widget.SetAxisXType(DIAGRAM_TIME_RECTS);
    const QRect& axis = widget.AxisXRect();
    const int y = axis.center().y();
    // Just left of the middle of the strip, right of the middle of the widget.
    const QPoint point(axis.left() + axis.width() / 2 - 5, y);
    QVERIFY(point.x() > widget.width() / 2);
    QCursor::setPos(widget.mapToGlobal(point));
    const QImage image = widget.Render();
    QCursor::setPos(-10000, -10000);
    const QImage plain = widget.Render();
    QVERIFY(image.pixel(point.x(), y) != plain.pixel(point.x(), y));
    QVERIFY(image.pixel(axis.left() + 2, y) != plain.pixel(axis.left() + 2, y));
    QCOMPARE(image.pixel(point.x() + 10, y), plain.pixel(point.x() + 10, y));

    // And a drag from there moves the start.
    Drag(widget, point, point + QPoint(10, 0));
    QCOMPARE(widget.VisibleMax() - widget.VisibleMin(), quint64(590));
}

void TestDiagramInteraction::positionToolTips()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.show();
    QApplication::setActiveWindow(&widget);
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    QCursor::setPos(widget.mapToGlobal(widget.AxisXRect().center()));
    QTest::mouseMove(&widget, widget.AxisXRect().center());
    const QString format = QStringLiteral("dd.MM hh:mm:ss");
    QTRY_COMPARE(QToolTip::text(),
        QStringLiteral("Min = %1<br>Max = %2")
            .arg(QDateTime::fromSecsSinceEpoch(qint64(widget.VisibleMin())).toString(format),
                QDateTime::fromSecsSinceEpoch(qint64(widget.VisibleMax())).toString(format)));
    QCursor::setPos(widget.mapToGlobal(QPoint(10, 50)));
    QTest::mouseMove(&widget, QPoint(10, 50));
    QTRY_VERIFY(QToolTip::text().startsWith(QStringLiteral("Min = -100.00 dBm")));
    QCursor::setPos(-10000, -10000);
}

void TestDiagramInteraction::deltaCursorAndHitTests()
{
    CDiagramProbe widget;
    Prepare(widget);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 40));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 40));
    widget.SetDeltaCursor(true);
    QCOMPARE(widget.Ranges().deltaStartX, 200);
    QTest::mouseMove(&widget, QPoint(260, 40));
    QCOMPARE(widget.Ranges().deltaEndX, 260);
    widget.SetDeltaCursor(false);
    QTest::mouseMove(&widget, QPoint(270, 40));
    QCOMPARE(widget.Ranges().deltaEndX, 260);

    // The hit tests take screen points.
    QVERIFY(widget.IsPlotArea(widget.mapToGlobal(QPoint(300, 50))));
    QVERIFY(!widget.IsPlotArea(widget.mapToGlobal(QPoint(10, 50))));
    QVERIFY(widget.IsAxisYArea(widget.mapToGlobal(QPoint(10, 50))));
    QVERIFY(widget.IsAxisXArea(widget.mapToGlobal(widget.AxisXRect().center())));
}

QTEST_MAIN(TestDiagramInteraction)
#include "tst_DiagramInteraction.moc"
