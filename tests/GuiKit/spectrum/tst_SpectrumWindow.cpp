// The spectrum window: its bar graph, the texts of a spectrum and of the
// search mode, counts beyond the graph, sweeps longer and shorter than the
// bars, markers by keys and by the context menu, closing and a language
// change.
#include "CMenuCatcher.h"
#include "SPECTRUM_SWEEP.h"
#include "spectrum/CMarkerOverlay.h"
#include "spectrum/CSpectrumWindow.h"
#include "spectrum/CTraceOverlay.h"
#include "spectrum/IMarkerTrace.h"
#include "spectrum/SpectrumLevels.h"
#include "widgets/BarGraph.h"
#include "widgets/CLabel.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <vector>

namespace {

QString Text(const CSpectrumWindow& window, const char* name)
{
    return window.findChild<QLabel*>(QLatin1String(name))->text();
}

bool IsBlue(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xffffff) == (QColor(Qt::blue).rgb() & 0xffffff);
}

// Every point at the same level above the lowest, -100 dBm.
SPECTRUM_SWEEP FlatSweep(int level)
{
    SPECTRUM_SWEEP sweep;
    sweep.points = QByteArray(BarGraph::BARS, char(level));
    sweep.rangeStartMhz = 2400;
    sweep.rangeEndMhz = 2483;
    sweep.levelMinDbm = -100;
    return sweep;
}

// A sweep of `count` points over 2400-2559 MHz, flat at 10 but for a spike
// of 50 at its last point.
SPECTRUM_SWEEP SpikedSweep(int count)
{
    SPECTRUM_SWEEP sweep = FlatSweep(10);
    sweep.points = QByteArray(count, char(10));
    sweep.points[count - 1] = char(50);
    sweep.rangeEndMhz = 2559;
    return sweep;
}

// The bars alone, without the overlays over them.
QImage BarsOnly(CLabel* graph)
{
    QImage image(graph->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    graph->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

int Distance(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

// The selected marker's triangle, just above its point, in its trace's colour.
void VerifySelectedMarkerDrawn(CSpectrumWindow& window)
{
    auto* overlay = window.findChild<CMarkerOverlay*>();
    const CSpectrumMarkers::MARKER& m = overlay->Markers().Marker(overlay->Selected());
    const std::vector<double>& values = overlay->Values(m.trace);
    const double x = BarGraph::PointX(m.point, int(values.size()));
    const double y = BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * (values[size_t(m.point)] + 100);
    const QPoint at = overlay->mapTo(&window, QPoint(int(x), int(y) - 4));
    const QColor seen = window.grab().toImage().pixelColor(at);
    QVERIFY2(Distance(seen, overlay->TraceColour(m.trace)) < 60, qPrintable(seen.name()));
}

// A trace another overlay adds, with levels missing but at one point.
class CFakeTrace : public IMarkerTrace
{
public:
    QString Name() const override { return QStringLiteral("Reference: Room (Site)"); }
    QColor Colour() const override { return QColor(150, 0, 200); }
    const std::vector<double>& Values() const override { return values; }
    bool IsShown() const override { return true; }

    std::vector<double> values;
};

} // namespace

class TestSpectrumWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void controls();
    void graphBars();
    void spectrumTexts();
    void searchModeKeepsTheLevels();
    void countsBeyondTheGraph();
    void closeStoresTheGeometry();
    void tracesAreDrawnOverTheBars_data();
    void tracesAreDrawnOverTheBars();
    void markersFollowKeys_data();
    void markersFollowKeys();
    void wholeSweeps_data();
    void wholeSweeps();
    void aFullSweepDrawsAsBefore();
    void markerKeys_data();
    void markerKeys();
    void followingMarkerMovesWithSweeps();
    void contextMenu_data();
    void contextMenu();
    void languageChange();
};

void TestSpectrumWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("OndrixTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_SpectrumWindow"));
    QSettings().remove(QStringLiteral("Spectrum"));
}

void TestSpectrumWindow::controls()
{
    CSpectrumWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("CSpectrumWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Spectrum"));
    QCOMPARE(window.geometry(), QRect(110, 110, 624, 480));
    QCOMPARE(window.findChild<CLabel*>()->geometry(), QRect(5, 5, 500, 180));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("FREQLabel"))->geometry(), QRect(145, 187, 235, 20));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("YMAXLabel"))->frameShape(), QFrame::StyledPanel);
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("SpectrumWidget"))->isHidden());
}

void TestSpectrumWindow::graphBars()
{
    CLabel label;
    label.resize(500, 180);
    label.SetValue(0, 60);
    label.SetValue(2, 30);
    label.SetValue(159, 1);
    label.SetValue(160, 60); // beyond the graph: ignored
    const QImage image = label.grab().toImage();
    // A value of 60 reaches the top, 30 the middle row; 0 draws nothing.
    for (int x : { 0, 1, 2 }) {
        QVERIFY(IsBlue(image, x, 0));
        QVERIFY(IsBlue(image, x, 179));
    }
    QVERIFY(!IsBlue(image, 3, 179));
    QVERIFY(!IsBlue(image, 5, 179));
    QVERIFY(IsBlue(image, 7, 90));
    QVERIFY(!IsBlue(image, 7, 89));
    QVERIFY(IsBlue(image, 479, 177));
    QVERIFY(!IsBlue(image, 479, 176));
    QVERIFY(!IsBlue(image, 480, 179));
}

void TestSpectrumWindow::spectrumTexts()
{
    CSpectrumWindow window;
    std::vector<unsigned char> data(160, 7);
    window.SetSpectrumData(data.data(), 160, 2400, 2483, 0, -100, -50, -90, 1);
    QCOMPARE(Text(window, "XMINLabel"), QStringLiteral("2400 MHz"));
    QCOMPARE(Text(window, "XMAXLabel"), QStringLiteral("2483 MHz"));
    QCOMPARE(Text(window, "YMINLabel"), QStringLiteral("-100 dBm"));
    QCOMPARE(Text(window, "YMIDLabel"), QStringLiteral("-70 dBm"));
    QCOMPARE(Text(window, "YMAXLabel"), QStringLiteral("-40 dBm"));
    QCOMPARE(Text(window, "FREQLabel"), QString());
    QCOMPARE(window.findChild<CLabel*>()->Value(159), 7);

    window.SetSpectrumData(data.data(), 160, 2400, 2483, 2450, -100, -55, -91, 3);
    QCOMPARE(Text(window, "FREQLabel"), QStringLiteral("Signal3: 2450 MHz -55 dBm    Noise: -91 dBm"));
}

void TestSpectrumWindow::searchModeKeepsTheLevels()
{
    CSpectrumWindow window;
    std::vector<unsigned char> data(160, 40);
    window.SetSpectrumData(data.data(), 160, 2400, 2483, 2450, -100, -55, -91, 3);
    window.SetSpectrumData(data.data(), 160, 2300, 2400, 2450, SpectrumLevels::SEARCH_MODE_MARKER, -55, -91, 3);
    QCOMPARE(Text(window, "FREQLabel"), QStringLiteral("SEARCH MODE"));
    QCOMPARE(Text(window, "XMINLabel"), QStringLiteral("2300 MHz"));
    QCOMPARE(Text(window, "YMINLabel"), QStringLiteral("-100 dBm"));
    QCOMPARE(Text(window, "YMAXLabel"), QStringLiteral("-40 dBm"));
    auto* graph = window.findChild<CLabel*>();
    const QImage image = graph->grab().toImage();
    for (int x = 0; x < 480; x += 7)
        QVERIFY(!IsBlue(image, x, 179));
}

void TestSpectrumWindow::countsBeyondTheGraph()
{
    CSpectrumWindow window;
    auto* graph = window.findChild<CLabel*>();
    // Under the sanitizers a write past the 160 bars would stop the test.
    std::vector<unsigned char> data(400, 20);
    window.SetSpectrumData(data.data(), 400, 2400, 2483, 0, -100, 0, 0, 0);
    QCOMPARE(graph->Value(159), 20);
    std::vector<unsigned char> zeros(160, 0);
    window.SetSpectrumData(zeros.data(), -5, 2400, 2483, 0, -100, 0, 0, 0);
    QCOMPARE(graph->Value(0), 20);
    window.SetSpectrumData(nullptr, 160, 2400, 2483, 0, -100, 0, 0, 0);
    QCOMPARE(graph->Value(0), 20);
}

void TestSpectrumWindow::closeStoresTheGeometry()
{
    CSpectrumWindow window;
    QSignalSpy closed(&window, &CSpectrumWindow::closed);
    window.show();
    window.setGeometry(120, 130, 565, 210);
    const QRect geometry = window.geometry();
    QVERIFY(window.close());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(QSettings().value(QStringLiteral("Spectrum/Geometry")).toRect(), geometry);
    // The next window opens where this one closed.
    CSpectrumWindow next;
    QCOMPARE(next.geometry(), geometry);
}

void TestSpectrumWindow::tracesAreDrawnOverTheBars_data()
{
    QTest::addColumn<int>("trace");
    QTest::addColumn<int>("level"); // where the trace lies, above the lowest
    // The sweeps reach 20, 40 and 33: the bars stand at 33, the average is 31.
    QTest::newRow("max hold, over the background") << int(CSpectrumTraces::MaxHold) << 40;
    QTest::newRow("min hold, over the bars") << int(CSpectrumTraces::MinHold) << 20;
    QTest::newRow("average, over the bars") << int(CSpectrumTraces::Average) << 31;
}

void TestSpectrumWindow::tracesAreDrawnOverTheBars()
{
    QFETCH(int, trace);
    QFETCH(int, level);
    CSpectrumWindow window;
    auto* overlay = window.findChild<CTraceOverlay*>();
    for (int i = 0; i < CSpectrumTraces::TRACE_COUNT; ++i)
        overlay->SetShown(CSpectrumTraces::Trace(i), i == trace);
    for (int sweepLevel : { 20, 40, 33 })
        window.SetSweep(FlatSweep(sweepLevel));
    const QImage image = window.grab().toImage();
    const QPoint at = overlay->mapTo(&window,
        QPoint(BarGraph::PIXELS_PER_UNIT * 80 + 1, BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * level));
    const QColor seen = image.pixelColor(at);
    const QColor expected = CTraceOverlay::Colour(CSpectrumTraces::Trace(trace));
    const int distance = qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
        + qAbs(seen.blue() - expected.blue());
    QVERIFY2(distance < 120, qPrintable(seen.name() + QLatin1Char(' ') + expected.name()));
    // Cleared data starts the traces again.
    window.ClearSweeps();
    QVERIFY(window.grab().toImage().pixelColor(at) != seen);
}

void TestSpectrumWindow::markersFollowKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("point");
    QTest::addColumn<QString>("readout");

    QTest::newRow("peak") << "p" << 100 << "M1  2452.2 MHz  -50.0 dBm";
    QTest::newRow("next peak left") << "p[" << 40 << "M1  2420.9 MHz  -70.0 dBm";
    QTest::newRow("a point right of it") << "p[>" << 41 << "M1  2421.4 MHz  -90.0 dBm";
    QTest::newRow("removed") << "px" << -1 << "";
}

void TestSpectrumWindow::markersFollowKeys()
{
    QFETCH(QString, keys);
    QFETCH(int, point);
    QFETCH(QString, readout);
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep = FlatSweep(10);
    sweep.points[40] = char(30);
    sweep.points[100] = char(50);
    window.SetSweep(sweep);
    auto* overlay = window.findChild<CMarkerOverlay*>();
    auto* graph = window.findChild<CLabel*>(QStringLiteral("GraphLabel"));
    for (const QChar key : keys) {
        const char c = key.toLatin1();
        QTest::keyClick(graph,
            c == 'p'       ? Qt::Key_P
                : c == '[' ? Qt::Key_BracketLeft
                : c == '>' ? Qt::Key_Right
                           : Qt::Key_Delete);
    }
    QCOMPARE(overlay->ReadoutLines().value(0), readout);
    if (point < 0)
        return;
    // The marker's triangle stands just above its point.
    const int level = quint8(sweep.points.at(point));
    const QPoint at = overlay->mapTo(&window,
        QPoint(BarGraph::PIXELS_PER_UNIT * point + 1, BarGraph::BASE_LINE - BarGraph::PIXELS_PER_UNIT * level - 4));
    const QColor seen = window.grab().toImage().pixelColor(at);
    QVERIFY2(seen.blue() > 150 && seen.red() < 100, qPrintable(seen.name()));
}

void TestSpectrumWindow::wholeSweeps_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("readout");
    QTest::newRow("254 points") << 254 << "M1  2559.0 MHz  -50.0 dBm";
    QTest::newRow("160 points") << 160 << "M1  2559.0 MHz  -50.0 dBm";
    QTest::newRow("80 points") << 80 << "M1  2559.0 MHz  -50.0 dBm";
    QTest::newRow("a single point, at the start") << 1 << "M1  2400.0 MHz  -50.0 dBm";
}

// The last point of any sweep stands at the plot's right end, with a
// marker on it that names the range's end.
void TestSpectrumWindow::wholeSweeps()
{
    QFETCH(int, count);
    QFETCH(QString, readout);
    CSpectrumWindow window;
    window.SetSweep(SpikedSweep(count));
    auto* graph = window.findChild<CLabel*>(QStringLiteral("GraphLabel"));
    QTest::keyClick(graph, Qt::Key_P);
    auto* overlay = window.findChild<CMarkerOverlay*>();
    QCOMPARE(overlay->ReadoutLines().value(0), readout);
    QCOMPARE(overlay->Markers().Marker(0).point, count - 1);
    const QImage bars = BarsOnly(graph);
    QVERIFY(IsBlue(bars, BarGraph::PLOT_WIDTH - 1, BarGraph::BASE_LINE - 3 * 50 + 1));
    QVERIFY(!IsBlue(bars, BarGraph::PLOT_WIDTH, BarGraph::BASE_LINE - 1));
    QCOMPARE(IsBlue(bars, 0, BarGraph::BASE_LINE - 3 * 50 + 1), count == 1);
    VerifySelectedMarkerDrawn(window);
}

void TestSpectrumWindow::aFullSweepDrawsAsBefore()
{
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep = FlatSweep(0);
    for (int j = 0; j < BarGraph::BARS; ++j)
        sweep.points[j] = char(j * 7 % 61);
    window.SetSweep(sweep);
    const QImage image = BarsOnly(window.findChild<CLabel*>());
    // Three columns a bar, three rows a level, up from the base line.
    for (int x = 0; x < image.width(); ++x) {
        int blue = 0;
        for (int y = 0; y < BarGraph::BASE_LINE; ++y)
            blue += IsBlue(image, x, y) ? 1 : 0;
        QCOMPARE(blue, x < BarGraph::PLOT_WIDTH ? 3 * quint8(sweep.points.at(x / 3)) : 0);
    }
}

void TestSpectrumWindow::markerKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("readout"); // lines joined by |
    // Live: 20, 30 at point 100. Max hold: 50 at 40. Average: 35 at 40.
    // The added trace: -55 dBm at 60, no level elsewhere.
    const QString m1 = QStringLiteral("M1  2452.2 MHz  -70.0 dBm");
    const QString m2 = QStringLiteral("M2  2420.9 MHz  -50.0 dBm  Max hold");
    const QString delta = QStringLiteral("\u0394 M2\u2212M1  -31.3 MHz  +20.0 dB");
    QTest::newRow("peak of the live bars") << "p" << m1;
    QTest::newRow("to max hold, staying put") << "pt" << m1 + "  Max hold";
    QTest::newRow("following, to max hold's peak") << "ft"
                                                   << "M1 pk  2420.9 MHz  -50.0 dBm  Max hold";
    QTest::newRow("min hold hidden is skipped") << "ttp"
                                                << "M1  2420.9 MHz  -65.0 dBm  Average, last 10";
    QTest::newRow("the added trace") << "tttp"
                                     << "M1  2431.3 MHz  -55.0 dBm  Reference: Room (Site)";
    QTest::newRow("no level there, no marker") << "pttt"
                                               << "";
    QTest::newRow("round to the live bars") << "ttttp" << m1;
    QTest::newRow("the second against the first") << "p2tp" << m1 + "|" + m2 + "|" + delta;
    QTest::newRow("no delta") << "p2tpd" << m1 + "|" + m2;
    QTest::newRow("a third against the first")
        << "p2tp3pd" << m1 + "|" + m2 + "|M3  2452.2 MHz  -70.0 dBm|" + delta + "|\u0394 M3\u2212M1  +0.0 MHz  +0.0 dB";
}

void TestSpectrumWindow::markerKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, readout);
    CSpectrumWindow window;
    auto* traces = window.findChild<CTraceOverlay*>();
    traces->SetShown(CSpectrumTraces::MaxHold, true);
    traces->SetShown(CSpectrumTraces::MinHold, false);
    traces->SetShown(CSpectrumTraces::Average, true);
    auto* overlay = window.findChild<CMarkerOverlay*>();
    CFakeTrace added;
    added.values.assign(160, qQNaN());
    added.values[60] = -55.0;
    QVERIFY(overlay->AddTrace(&added));
    SPECTRUM_SWEEP sweep = FlatSweep(10);
    sweep.points[40] = char(50);
    window.SetSweep(sweep);
    sweep = FlatSweep(20);
    sweep.points[100] = char(30);
    window.SetSweep(sweep);
    QTest::keyClicks(window.findChild<CLabel*>(QStringLiteral("GraphLabel")), keys);
    QCOMPARE(overlay->ReadoutLines().join(QLatin1Char('|')), readout);
    if (!readout.isEmpty())
        VerifySelectedMarkerDrawn(window);
    // The window's own reference is the first added trace, this one the second.
    for (int i = 2; i < CMarkerOverlay::MAX_ADDED_TRACES; ++i)
        QVERIFY(overlay->AddTrace(&added));
    QVERIFY(!overlay->AddTrace(&added));
}

void TestSpectrumWindow::followingMarkerMovesWithSweeps()
{
    CSpectrumWindow window;
    auto* graph = window.findChild<CLabel*>(QStringLiteral("GraphLabel"));
    auto* overlay = window.findChild<CMarkerOverlay*>();
    QVERIFY(graph->toolTip().contains(QStringLiteral("F follows the peak")));
    QTest::keyClick(graph, Qt::Key_F);
    QVERIFY(overlay->ReadoutLines().isEmpty());
    for (int point : { 30, 150, 7 }) {
        SPECTRUM_SWEEP sweep = FlatSweep(10);
        sweep.points[point] = char(40);
        window.SetSweep(sweep);
        QCOMPARE(overlay->Markers().Marker(0).point, point);
    }
}

void TestSpectrumWindow::contextMenu_data()
{
    QTest::addColumn<int>("point"); // the click's, of 160; M1 stands at 100, M2 at 40
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("target"); // the marker the menu acts on
    QTest::addColumn<QString>("readout");
    const QString m1 = QStringLiteral("M1  2452.2 MHz  -50.0 dBm");
    const QString m2 = QStringLiteral("M2  2420.9 MHz  -70.0 dBm");
    const QString delta = QStringLiteral("\u0394 M2\u2212M1  -31.3 MHz  -20.0 dB");
    QTest::newRow("no delta for M2") << 40 << "MarkerDelta_none" << 2 << m1 + "|" + m2;
    QTest::newRow("M1 against M2") << 100 << "MarkerDelta_2" << 1
                                   << m1 + "|" + m2 + "|\u0394 M1\u2212M2  +31.3 MHz  +20.0 dB|" + delta;
    QTest::newRow("M2 follows the peak") << 41 << "MarkerFollowPeak" << 2
                                         << m1 + "|M2 pk  2452.2 MHz  -50.0 dBm|\u0394 M2\u2212M1  +0.0 MHz  +0.0 dB";
    QTest::newRow("M1 on max hold") << 100 << "MarkerTrace_1" << 1 << m1 + "  Max hold|" + m2 + "|" + delta;
    QTest::newRow("remove M2") << 40 << "MarkerRemove" << 2 << m1;
    QTest::newRow("remove all, far from both") << 3 << "MarkerRemoveAll" << 1 << "";
    QTest::newRow("place M3 at the click")
        << 3 << "Marker_3" << 1 << m1 + "|" + m2 + "|M3  2401.6 MHz  -90.0 dBm|" + delta;
}

void TestSpectrumWindow::contextMenu()
{
    QFETCH(int, point);
    QFETCH(QString, trigger);
    QFETCH(int, target);
    QFETCH(QString, readout);
    CSpectrumWindow window;
    window.findChild<CTraceOverlay*>()->SetShown(CSpectrumTraces::MaxHold, true);
    SPECTRUM_SWEEP sweep = FlatSweep(10);
    sweep.points[40] = char(30);
    sweep.points[100] = char(50);
    window.SetSweep(sweep);
    auto* overlay = window.findChild<CMarkerOverlay*>();
    overlay->Markers().Place(0, CMarkerOverlay::LIVE_TRACE, 100);
    overlay->Markers().Place(1, CMarkerOverlay::LIVE_TRACE, 40);
    CMenuCatcher catcher(trigger);
    window.OnGraphContextMenu(QPoint(int(BarGraph::PointX(point, 160)), 50));
    QVERIFY(catcher.shown);
    QCOMPARE(catcher.checked.value(catcher.names.indexOf(QStringLiteral("Marker_%1").arg(target))), true);
    for (const char* name :
        { "MarkerTrace", "MarkerFollowPeak", "MarkerDeltaTo", "MarkerRemoveAll", "Trace_max", "TraceReset" })
        QVERIFY2(catcher.names.contains(QLatin1String(name)), name);
    // The traces shown are offered, and the others active as references.
    QVERIFY(catcher.subNames.contains(QStringLiteral("MarkerTrace_1")));
    QVERIFY(!catcher.subNames.contains(QStringLiteral("MarkerTrace_2")));
    QVERIFY(!catcher.subNames.contains(QStringLiteral("MarkerDelta_%1").arg(target)));
    QVERIFY(!catcher.subNames.contains(QStringLiteral("MarkerDelta_3")));
    QCOMPARE(overlay->ReadoutLines().join(QLatin1Char('|')), readout);
}

void TestSpectrumWindow::languageChange()
{
    CSpectrumWindow window;
    std::vector<unsigned char> data(160, 5);
    window.SetSpectrumData(data.data(), 160, 2400, 2483, 2450, -100, -55, -91, 3);
    window.setWindowTitle(QStringLiteral("other"));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&window, &change);
    QCOMPARE(window.windowTitle(), QStringLiteral("Spectrum"));
    for (const char* name : { "XMINLabel", "XMAXLabel", "YMINLabel", "YMIDLabel", "YMAXLabel", "FREQLabel" })
        QCOMPARE(Text(window, name), QString());
    // The bars stay until the next spectrum.
    QCOMPARE(window.findChild<CLabel*>()->Value(0), 5);
}

QTEST_MAIN(TestSpectrumWindow)
#include "tst_SpectrumWindow.moc"
