// The reference in the spectrum window: its line and the difference view
// as pixels, loading against the present sweep, saving with a question
// before a replace, the new signals window and the graph's menu entries.
#include "CMenuCatcher.h"
#include "SPECTRUM_SWEEP.h"
#include "reference/CNewSignalsWindow.h"
#include "reference/CReferenceController.h"
#include "reference/CReferenceFile.h"
#include "reference/CReferenceOverlay.h"
#include "sites/CSiteFolder.h"
#include "spectrum/CMarkerOverlay.h"
#include "spectrum/CSpectrumTraces.h"
#include "spectrum/CSpectrumWindow.h"
#include "widgets/BarGraph.h"
#include "widgets/CLabel.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// 160 points over 2400-2559 MHz, one a MHz, all at level dBm but for the
// points given.
SPECTRUM_SWEEP Sweep(int levelDbm, const QMap<int, int>& peaks = {}, int start = 2400, int points = 160)
{
    SPECTRUM_SWEEP sweep;
    sweep.rangeStartMhz = start;
    sweep.rangeEndMhz = start + 159;
    sweep.levelMinDbm = -100;
    sweep.points = QByteArray(points, char(levelDbm + 100));
    for (auto peak = peaks.cbegin(); peak != peaks.cend(); ++peak)
        sweep.points[peak.key()] = char(peak.value() + 100);
    return sweep;
}

CSpectrumReference Flat(double levelDbm, int start = 2400, int end = 2559, int points = 160)
{
    CSpectrumReference reference;
    reference.name = QStringLiteral("Clean");
    reference.site = QStringLiteral("Room 1");
    reference.rangeStartMhz = start;
    reference.rangeEndMhz = end;
    reference.saved = QDateTime::currentDateTimeUtc();
    reference.levels.assign(size_t(points), levelDbm);
    return reference;
}

// A graph as the spectrum window has it, with its traces and reference.
struct GRAPH
{
    GRAPH()
        : controller(traces, &label)
    {
        label.resize(500, 180);
        controller.SetTell([this](const QString& message) { told.append(message); });
        controller.SetAsk([this](const QString& question) {
            asked.append(question);
            return answer;
        });
    }

    void Add(const SPECTRUM_SWEEP& sweep)
    {
        traces.Add(sweep);
        controller.SetSweep(sweep);
    }

    QRgb Pixel(int x, int y) { return label.grab().toImage().pixel(x, y) & 0xffffff; }

    CLabel label;
    CSpectrumTraces traces;
    CReferenceController controller;
    QStringList asked;
    QStringList told;
    bool answer = false;
};

QRgb Rgb(const QColor& colour)
{
    return colour.rgb() & 0xffffff;
}

} // namespace

class TestReferenceOverlay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void referenceLineInItsColour_data();
    void referenceLineInItsColour();
    void differenceView_data();
    void differenceView();
    void use_data();
    void use();
    void saveAsksBeforeReplacing();
    void newSignalsWindow();
    void menuEntries_data();
    void menuEntries();
};

void TestReferenceOverlay::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("OndrixTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_ReferenceOverlay"));
    QSettings().remove(QStringLiteral("Spectrum"));
}

void TestReferenceOverlay::referenceLineInItsColour_data()
{
    QTest::addColumn<int>("points");
    QTest::newRow("160 points") << 160;
    QTest::newRow("254 points, the last at the plot's end") << 254;
}

void TestReferenceOverlay::referenceLineInItsColour()
{
    QFETCH(int, points);
    GRAPH graph;
    graph.Add(Sweep(-90, {}, 2400, points));
    // -80 dBm but for the last ten points at -70: over a lowest -100 dBm,
    // 60 and 90 pixels above the base.
    CSpectrumReference reference = Flat(-80, 2400, 2559, points);
    std::fill(reference.levels.end() - 10, reference.levels.end(), -70.0);
    QString error;
    QVERIFY2(graph.controller.Use(reference, error), qPrintable(error));
    const int right = int(BarGraph::PointX(points - 2, points));
    for (const QPoint& on : { QPoint(31, 120), QPoint(right, 90) }) {
        QCOMPARE(graph.Pixel(on.x(), on.y()), Rgb(CReferenceOverlay::Colour()));
        QVERIFY(graph.Pixel(on.x(), on.y() - 10) != Rgb(CReferenceOverlay::Colour()));
    }
    graph.controller.Hide();
    QVERIFY(graph.Pixel(right, 90) != Rgb(CReferenceOverlay::Colour()));
}

void TestReferenceOverlay::differenceView_data()
{
    QTest::addColumn<int>("live");
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("riseTop");
    QTest::addColumn<int>("fallBottom");
    // Zero at y 90, 3 pixels a dB: +10 dB rises to 60, -5 dB falls to 105.
    QTest::newRow("live over") << -80 << -90 << 60 << 90;
    QTest::newRow("live under") << -95 << -90 << 90 << 105;
    QTest::newRow("beyond the panel") << -40 << -90 << 0 << 90;
}

void TestReferenceOverlay::differenceView()
{
    QFETCH(int, live);
    QFETCH(int, reference);
    QFETCH(int, riseTop);
    QFETCH(int, fallBottom);
    GRAPH graph;
    graph.Add(Sweep(live));
    QString error;
    QVERIFY(graph.controller.Use(Flat(reference), error));
    graph.controller.SetDifferenceView(true);
    const QImage image = graph.label.grab().toImage();
    const int x = 301;
    for (int y = 1; y < 179; ++y) {
        const QRgb pixel = image.pixel(x, y) & 0xffffff;
        if (y >= riseTop && y < 90)
            QVERIFY2(pixel == Rgb(CReferenceOverlay::RiseColour()), qPrintable(QString::number(y)));
        else if (y > 90 && y < fallBottom)
            QVERIFY2(pixel == Rgb(CReferenceOverlay::FallColour()), qPrintable(QString::number(y)));
        // The panel hides the bars.
        QVERIFY(pixel != Rgb(Qt::blue));
    }
}

void TestReferenceOverlay::use_data()
{
    QTest::addColumn<bool>("sweep");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("used");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("error");
    QTest::newRow("no sweep yet") << false << 2400 << true << false << false << QStringLiteral("No sweep has come");
    QTest::newRow("same range") << true << 2400 << false << true << false << QString();
    QTest::newRow("shifted, no") << true << 2300 << false << false << true << QString();
    QTest::newRow("shifted, yes") << true << 2300 << true << true << true << QString();
    QTest::newRow("no overlap") << true << 3000 << true << false << false << QStringLiteral("share no frequency");
}

void TestReferenceOverlay::use()
{
    QFETCH(bool, sweep);
    QFETCH(int, start);
    QFETCH(bool, answer);
    QFETCH(bool, used);
    QFETCH(bool, asked);
    QFETCH(QString, error);
    GRAPH graph;
    graph.answer = answer;
    if (sweep)
        graph.Add(Sweep(-90));
    QString message;
    QCOMPARE(graph.controller.Use(Flat(-80, start, start + 159), message), used);
    QCOMPARE(graph.controller.HasReference(), used);
    QCOMPARE(!graph.asked.isEmpty(), asked);
    if (asked)
        QVERIFY(graph.asked.first().contains(QStringLiteral("covers %1-%2 MHz").arg(start).arg(start + 159)));
    QVERIFY2(error.isEmpty() ? message.isEmpty() : message.contains(error), qPrintable(message));
    if (used && start != 2400) {
        // Only the present points inside the reference's range have levels.
        QVERIFY(std::isnan(graph.controller.Applied()[159]));
        QCOMPARE(graph.controller.Applied()[0], -80.0);
    }
}

void TestReferenceOverlay::saveAsksBeforeReplacing()
{
    QTemporaryDir storage;
    CSiteFolder::SetStorage(storage.path());
    GRAPH graph;
    QString error;
    QVERIFY(graph.controller.TracesWithData().isEmpty());
    graph.Add(Sweep(-90));
    graph.Add(Sweep(-80));
    QCOMPARE(graph.controller.TracesWithData().size(), CSpectrumReference::TRACE_COUNT);
    QVERIFY2(graph.controller.Save(CSpectrumReference::MinHold, QStringLiteral("Room 1"), QStringLiteral("Clean"),
                 error),
        qPrintable(error));
    QVERIFY(graph.asked.isEmpty());
    graph.answer = false;
    QVERIFY(
        !graph.controller.Save(CSpectrumReference::MaxHold, QStringLiteral("Room 1"), QStringLiteral("Clean"), error));
    QCOMPARE(graph.asked.size(), 1);
    CSpectrumReference read;
    QVERIFY(CReferenceFile::Load(storage.path(), QStringLiteral("Room 1"), QStringLiteral("Clean"), read, error));
    QCOMPARE(read.trace, CSpectrumReference::MinHold);
    QCOMPARE(read.levels.front(), -90.0);
    graph.answer = true;
    QVERIFY(
        graph.controller.Save(CSpectrumReference::MaxHold, QStringLiteral("Room 1"), QStringLiteral("Clean"), error));
    QVERIFY(CReferenceFile::Load(storage.path(), QStringLiteral("Room 1"), QStringLiteral("Clean"), read, error));
    QCOMPARE(read.levels.front(), -80.0);
    QCOMPARE(read.rangeEndMhz, 2559);
    QVERIFY(!graph.controller.Save(CSpectrumReference::Live, QStringLiteral("Room 1"), QStringLiteral("a:b"), error));
    QVERIFY(!error.isEmpty());
    CSiteFolder::SetStorage(QString());
}

void TestReferenceOverlay::newSignalsWindow()
{
    GRAPH graph;
    graph.Add(Sweep(-90));
    QString error;
    QVERIFY(graph.controller.Use(Flat(-90), error));
    graph.controller.SetMarginDb(6.0);
    graph.controller.ShowNewSignals();
    CNewSignalsWindow* window = graph.controller.NewSignalsWindow();
    QVERIFY(window != nullptr);
    QCOMPARE(window->Table()->rowCount(), 0);
    graph.Add(Sweep(-90, { { 20, -70 }, { 21, -60 }, { 100, -83 } }));
    QCOMPARE(graph.controller.Signals().size(), 2);
    QCOMPARE(window->Table()->rowCount(), 2);
    QCOMPARE(window->Table()->item(0, CNewSignalsWindow::FrequencyColumn)->text(), QStringLiteral("2421.0"));
    QCOMPARE(window->Table()->item(0, CNewSignalsWindow::ExcessColumn)->text(), QStringLiteral("30.0"));
    QCOMPARE(window->Table()->item(1, CNewSignalsWindow::LevelColumn)->text(), QStringLiteral("-83.0"));
    // The points over the margin are marked on the graph.
    QVERIFY(graph.Pixel(61, 10) != graph.Pixel(31, 10));
    // A quiet sweep empties the live list; the max hold still remembers.
    graph.Add(Sweep(-90));
    QCOMPARE(window->Table()->item(0, CNewSignalsWindow::TraceColumn)->text(), QStringLiteral("Max hold"));
    window->close();
    QVERIFY(graph.controller.Signals().isEmpty());
}

void TestReferenceOverlay::menuEntries_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::newRow("no reference") << false;
    QTest::newRow("a reference") << true;
}

void TestReferenceOverlay::menuEntries()
{
    QFETCH(bool, loaded);
    CSpectrumWindow window;
    window.SetSweep(Sweep(-90));
    auto* controller = window.findChild<CReferenceController*>();
    QVERIFY(controller != nullptr);
    QString error;
    if (loaded)
        QVERIFY(controller->Use(Flat(-90), error));
    auto* graph = window.findChild<CLabel*>();
    CMenuCatcher catcher(loaded ? QStringLiteral("ReferenceDifference") : QString());
    Q_EMIT graph->customContextMenuRequested(QPoint(10, 10));
    QVERIFY(catcher.shown);
    for (const char* name : { "Trace_max", "ReferenceSave", "ReferenceLoad", "ReferenceHide", "ReferenceDifference",
             "ReferenceNewSignals" })
        QVERIFY2(catcher.names.contains(QLatin1String(name)), name);
    QCOMPARE(controller->Overlay()->IsDifferenceView(), loaded);
    // A marker sits on the reference once there is one to sit on.
    QTest::keyClicks(graph, QStringLiteral("tp"));
    auto* markers = window.findChild<CMarkerOverlay*>();
    QCOMPARE(markers->ReadoutLines().value(0).endsWith(QLatin1String("Reference")), loaded);
}

QTEST_MAIN(TestReferenceOverlay)
#include "tst_ReferenceOverlay.moc"
