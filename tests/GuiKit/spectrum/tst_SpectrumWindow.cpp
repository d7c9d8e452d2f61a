// The spectrum window: its bar graph, the texts of a spectrum and of the
// search mode, counts beyond the graph, closing and a language change.
#include "SPECTRUM_SWEEP.h"
#include "spectrum/CMarkerOverlay.h"
#include "spectrum/CSpectrumWindow.h"
#include "spectrum/CTraceOverlay.h"
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
