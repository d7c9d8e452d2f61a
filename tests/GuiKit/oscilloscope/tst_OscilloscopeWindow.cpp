// The oscilloscope window: blocks of samples, the trigger freezing the
// display on a whole block, pause and reset, the gain ratio, the trigger
// level pick and closing.
#include "diagram/CQDiagramWidget.h"
#include "oscilloscope/COscilloscopeWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

QPushButton* Button(const COscilloscopeWindow& window, const char* name)
{
    return window.findChild<QPushButton*>(QLatin1String(name));
}

CQDiagramWidget* Diagram(const COscilloscopeWindow& window)
{
    return window.findChild<CQDiagramWidget*>(QStringLiteral("m_pOscilloscopeWidget"));
}

} // namespace

class TestOscilloscopeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void construction();
    void triggerPausesOnAWholeBlock();
    void shorterBlockLeavesTheTail();
    void badBlocksAreIgnored();
    void gainRatio();
    void triggerLevelPick();
    void closeStoresTheGeometry();
};

void TestOscilloscopeWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("OndrixTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_OscilloscopeWindow"));
    QSettings().clear();
}

void TestOscilloscopeWindow::construction()
{
    COscilloscopeWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("COscilloscopeWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Oscilloscope"));
    QVERIFY(window.isFloating());
    QCOMPARE(window.allowedAreas(), Qt::NoDockWidgetArea);
    QCOMPARE(window.geometry(), QRect(110, 110, 600, 400));
    QCOMPARE(Diagram(window)->GetDiagramType(0), DIAGRAM_OSCILLOSCOPE);
    QVERIFY(Button(window, "m_pTriggerButton")->isCheckable());
    QCOMPARE(Button(window, "m_pResetButton")->toolTip(), QStringLiteral("Reset axis X state"));
}

void TestOscilloscopeWindow::triggerPausesOnAWholeBlock()
{
    COscilloscopeWindow window;
    Button(window, "m_pTriggerButton")->click();
    QVERIFY(Button(window, "m_pTriggerButton")->isChecked());
    const unsigned char block[] = { 10, 20, 200, 30, 40 };
    window.SetOscData(block, 5, 0);
    QVERIFY(window.IsPaused());
    QCOMPARE(Button(window, "m_pPauseButton")->text(), QStringLiteral("Resume"));
    QCOMPARE(window.Samples(), QList<double>({ 10, 20, 200, 30, 40 }));
    // Paused: the next block is not stored.
    const unsigned char next[] = { 1, 1, 1, 1, 1, 1 };
    window.SetOscData(next, 6, 0);
    QCOMPARE(window.Samples().size(), 5);
    // Switching the trigger off resumes.
    Button(window, "m_pTriggerButton")->click();
    QVERIFY(!window.IsPaused());
    QCOMPARE(Button(window, "m_pPauseButton")->text(), QStringLiteral("Pause"));
    window.SetOscData(next, 6, 0);
    QCOMPARE(window.Samples(), QList<double>(6, 1.0));

    Button(window, "m_pPauseButton")->click();
    QVERIFY(window.IsPaused());
    Button(window, "m_pResetButton")->click();
    QVERIFY(!window.IsPaused());
    QVERIFY(!Button(window, "m_pTriggerButton")->isChecked());
}

void TestOscilloscopeWindow::shorterBlockLeavesTheTail()
{
    COscilloscopeWindow window;
    const unsigned char block[] = { 10, 20, 30, 40, 50 };
    window.SetOscData(block, 5, 0);
    const unsigned char shorter[] = { 7, 8 };
    window.SetOscData(shorter, 2, 0);
    QCOMPARE(window.Samples(), QList<double>({ 7, 8, 30, 40, 50 }));
}

void TestOscilloscopeWindow::badBlocksAreIgnored()
{
    COscilloscopeWindow window;
    const unsigned char block[] = { 10, 20 };
    window.SetOscData(block, 2, 0);
    window.SetOscData(nullptr, 100, 0);
    window.SetOscData(block, 0, 0);
    window.SetOscData(block, -3, 0);
    QCOMPARE(window.Samples(), QList<double>({ 10, 20 }));
}

void TestOscilloscopeWindow::gainRatio()
{
    COscilloscopeWindow window;
    window.SetOscData(nullptr, 0, 3);
    QCOMPARE(Diagram(window)->GetYRangeRatio(), 8 * 0.1 / 7.6);
    window.SetOscData(nullptr, 0, 0);
    QCOMPARE(Diagram(window)->GetYRangeRatio(), 0.1 / 7.6);
}

void TestOscilloscopeWindow::triggerLevelPick()
{
    COscilloscopeWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.SetXRange(0.0, 1000.0);
    window.SetYRange(0.0, 255.0);
    const unsigned char block[] = { 10, 20, 30 };
    window.SetOscData(block, 3, 0);
    CQDiagramWidget* diagram = Diagram(window);
    // Outside the plot the level stays, but the trigger is armed.
    window.OnSetTriggerLevelAction();
    QCOMPARE(window.TriggerLevel(), 100.0);
    QVERIFY(Button(window, "m_pTriggerButton")->isChecked());

    const QRect plot = diagram->GetPlotRect(0);
    const QPoint inside(plot.center().x(), plot.bottom() - plot.height() / 4);
    QList<QVariant> values;
    QVERIFY(diagram->GetDataAtPos(false, inside, values));
    // Where the menu opens is where the level is taken.
    QTimer::singleShot(20, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    window.OnContextMenu(inside);
    window.OnSetTriggerLevelAction();
    QCOMPARE(window.TriggerLevel(), values.at(1).toDouble());
}

void TestOscilloscopeWindow::closeStoresTheGeometry()
{
    QRect geometry;
    {
        COscilloscopeWindow window;
        QSignalSpy closed(&window, &COscilloscopeWindow::closed);
        window.show();
        window.setGeometry(130, 140, 500, 300);
        geometry = window.geometry();
        QVERIFY(window.close());
        QCOMPARE(closed.count(), 1);
    }
    COscilloscopeWindow reopened;
    QCOMPARE(reopened.geometry(), geometry);
    QSettings().clear();
}

QTEST_MAIN(TestOscilloscopeWindow)
#include "tst_OscilloscopeWindow.moc"
