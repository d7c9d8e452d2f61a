// The device GUI against a local device whose mode, band and menu the test
// sets: the diagram lines per mode, where records land, the event list, the
// spectrum button and window, the language and the manual, and the plug-in
// as the client loads it.
#include "CDiagramProbe.h"
#include "CFakeRZ450Device.h"
#include "CRZ450DeviceGui.h"
#include "ISpecificControls.h"
#include "proxy/CMetaDevice.h"
#include "spectrum/CSpectrumWindow.h"
#include "widgets/CQSmartTreeWidgetItem.h"

#include <QApplication>
#include <QLabel>
#include <QLibrary>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <memory>

namespace {

class CGuiDevice : public CFakeRZ450Device
{
public:
    int mode = IDevice::MODE_AUTO;
    int band = 1;
    QByteArray menu = QByteArray(IRZ450Device::MENU_SIZE, '\0');

    int GetCurrentMode() override { return mode; }
    int GetCurrentBand() override { return band; }
    unsigned char GetMenuValue(int index) override { return index >= 0 && index < menu.size() ? menu[index] : 0; }
};

class CHost : public ISpecificControls
{
public:
    QWidget widget;
    QList<QPushButton*> buttons;

    void AddOptionalButton(QPushButton* button) override
    {
        button->setParent(&widget);
        buttons.append(button);
    }
    void RemoveOptionalButton(QPushButton*) override { }
    void AddDockWindow(QDockWidget*) override { }
    void RemoveDockWindow(QDockWidget*) override { }
};

CRecord Record(int band, quint64 time, double level, double threshold, int duration)
{
    CRecord record;
    record.band = band;
    record.time = time;
    record.duration = duration;
    record.bandName = QStringLiteral("Band %1").arg(band);
    RECORD_VALUE value;
    value.level = level;
    value.threshold = threshold;
    record.values.append(value);
    return record;
}

QStringList Texts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column)
        texts.append(item->text(column));
    return texts;
}

} // namespace

class TestRZ450DeviceGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void linesPerMode();
    void recordsLandOnTheirLines();
    void logList();
    void spectrumButtonAndWindow();
    void languageAndManual();
    void pluginEntry();

private:
    std::unique_ptr<CGuiDevice> m_pFake;
    std::unique_ptr<CMetaDevice> m_pProxy;
    std::unique_ptr<CRZ450DeviceGui> m_pGui;
    std::unique_ptr<CDiagramProbe> m_pDiagram;
};

void TestRZ450DeviceGui::init()
{
    m_pFake = std::make_unique<CGuiDevice>();
    m_pProxy = std::make_unique<CMetaDevice>(m_pFake.get());
    m_pGui = std::make_unique<CRZ450DeviceGui>();
    QVERIFY(m_pGui->SetDevice(m_pProxy.get()));
    m_pDiagram = std::make_unique<CDiagramProbe>();
}

void TestRZ450DeviceGui::cleanup()
{
    m_pDiagram.reset();
    m_pGui.reset();
    m_pProxy.reset();
    m_pFake.reset();
}

void TestRZ450DeviceGui::linesPerMode()
{
    CDiagramProbe& diagram = *m_pDiagram;
    for (int mode : { IDevice::MODE_MAN, IDevice::MODE_SRCH }) {
        m_pFake->mode = mode;
        m_pGui->InitRealtimeDiagram(&diagram, false, -1);
        QCOMPARE(diagram.Lines(0).size(), 2);
        QCOMPARE(diagram.Line(0, 0).pen.color(), QColor(Qt::blue));
        QCOMPARE(diagram.Line(0, 1).pen.color(), QColor(Qt::red));
        QCOMPARE(diagram.GetDiagramType(0), DIAGRAM_TIME_LINES);
    }

    // Automatic mode with every band disabled on the detector but G900 and
    // SCAN: the flag shows all coloured lines, the black ones never.
    m_pFake->menu[26] = 1;
    m_pFake->menu[35] = 1;
    m_pGui->InitRealtimeDiagram(&diagram, false, IDevice::MODE_AUTO);
    QCOMPARE(diagram.Lines(0).size(), CRZ450DeviceGui::BAND_LINES);
    QCOMPARE(diagram.GetDiagramType(0), DIAGRAM_TIME_RECTS);
    QList<int> visible;
    for (int line = 0; line < CRZ450DeviceGui::BAND_LINES; ++line)
        if (diagram.Line(0, line).visible)
            visible.append(line);
    QCOMPARE(visible, QList<int>({ 1, 18 }));
    QCOMPARE(diagram.Line(0, 12).name, QStringLiteral("4G (LTE)"));

    m_pGui->InitRealtimeDiagram(&diagram, true, IDevice::MODE_AUTO);
    int shown = 0;
    for (int line = 0; line < CRZ450DeviceGui::BAND_LINES; ++line) {
        const bool black = diagram.Line(0, line).pen.color() == QColor(Qt::black);
        QCOMPARE(diagram.Line(0, line).visible, !black);
        shown += !black;
    }
    QCOMPARE(shown, 14);

    // Modes the detector does not have, even from a garbled report.
    for (int mode : { 0, 3, 255, -7 }) {
        m_pGui->InitRealtimeDiagram(&diagram, true, mode);
        QCOMPARE(diagram.Lines(0).size(), 0);
        m_pGui->AddRealtimeRecord(&diagram, Record(1, CDiagramProbe::T0, -50, -60, 3), mode);
    }
}

void TestRZ450DeviceGui::recordsLandOnTheirLines()
{
    CDiagramProbe& diagram = *m_pDiagram;
    const quint64 t = CDiagramProbe::T0;
    m_pGui->InitRealtimeDiagram(&diagram, true, IDevice::MODE_AUTO);
    diagram.SetTimeWindow(t - 10, t + 100);
    m_pGui->AddRealtimeRecord(&diagram, Record(6, t, -40.5, -60, 3), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(14, t + 1, -41, -60, 2), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(15, t + 2, -42, -60, 1), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(2, t + 3, -43, -60, 0), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(30, t + 4, -44, -60, 5), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(200, t + 5, -44, -60, 5), -1);
    CRecord empty = Record(1, t + 6, 0, 0, 5);
    empty.values.clear();
    m_pGui->AddRealtimeRecord(&diagram, empty, -1);

    QMap<int, int> counts;
    for (int line = 0; line < CRZ450DeviceGui::BAND_LINES; ++line)
        if (!diagram.Line(0, line).values.isEmpty())
            counts[line] = int(diagram.Line(0, line).values.size());
    QCOMPARE(counts, (QMap<int, int> { { 4, 1 }, { 12, 1 }, { 15, 1 } }));
    const DATA_VALUE& bar = diagram.Line(0, 4).values.first();
    QCOMPARE(bar.x.toULongLong(), t);
    QCOMPARE(bar.y.toDouble(), -40.5);
    QCOMPARE(bar.extra, 3);

    // Manual mode: a level and a threshold for every record.
    m_pFake->mode = IDevice::MODE_MAN;
    m_pGui->InitRealtimeDiagram(&diagram, true, -1);
    diagram.SetTimeWindow(t - 10, t + 100);
    m_pGui->AddRealtimeRecord(&diagram, Record(1, t, -50, -70, 0), -1);
    m_pGui->AddRealtimeRecord(&diagram, Record(1, t + 1, -51, -70, 0), -1);
    QCOMPARE(diagram.Line(0, 0).values.size(), 2);
    QCOMPARE(diagram.Line(0, 1).values.last().y.toDouble(), -70.0);
}

void TestRZ450DeviceGui::logList()
{
    QTreeWidget list;
    m_pGui->InitLogList(&list);
    QCOMPARE(list.columnCount(), 6);
    QCOMPARE(list.headerItem()->text(2), QStringLiteral("Alarm Time"));

    const QDateTime when(QDate(2026, 3, 9), QTime(14, 5, 7));
    QList<CRecord> records = {
        Record(1, quint64(when.toSecsSinceEpoch()), -79.9, -85.2, 86400 + 3661),
        Record(9, quint64(when.toSecsSinceEpoch()) + 60, 1e300, -1e300, -5),
    };
    m_pGui->FillLogList(&list, records);
    m_pGui->FillLogList(&list, records);
    QCOMPARE(list.topLevelItemCount(), 2);
    QCOMPARE(Texts(list.topLevelItem(0)),
        QStringList({ "1", "Band 1", "09-03 14:05:07", "01:01:01", "-79 dBm", "Threshold= -85 dBm" }));
    QVERIFY(dynamic_cast<CQSmartTreeWidgetItem*>(list.topLevelItem(1)));
    QCOMPARE(list.topLevelItem(1)->text(3), QStringLiteral("00:00:00"));
    QCOMPARE(list.topLevelItem(1)->textAlignment(1), int(Qt::AlignHCenter));
    QCOMPARE(list.topLevelItem(1)->textAlignment(5), int(Qt::AlignLeft));
}

void TestRZ450DeviceGui::spectrumButtonAndWindow()
{
    CHost host;
    m_pGui->SetSpecificControls(&host);
    QCOMPARE(host.buttons.size(), 1);
    QPushButton* button = host.buttons.first();
    QCOMPARE(button->text(), QStringLiteral("Spectrum"));
    QVERIFY(button->isHidden());

    m_pFake->band = CRZ450DeviceGui::BAND_SCAN;
    m_pFake->mode = IDevice::MODE_MAN;
    m_pGui->InitRealtimeDiagram(m_pDiagram.get(), true, -1);
    m_pGui->UpdateSpectrumButton();
    QVERIFY(!button->isHidden());

    button->click();
    CSpectrumWindow* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* spectrum = qobject_cast<CSpectrumWindow*>(top))
            window = spectrum;
    QVERIFY(window && window->isVisible());
    m_pFake->menu[21] = 1;
    m_pFake->menu[22] = 40;
    m_pFake->m_calls.clear();
    SPECTRUM_SWEEP sweep;
    QVERIFY(m_pGui->SampleSpectrum(CDiagramProbe::T0, sweep, true));
    QVERIFY(m_pFake->m_calls.contains("GetSpectrumData:160"));
    QCOMPARE(sweep.rangeEndMhz, 1000);
    QCOMPARE(sweep.time, quint64(CDiagramProbe::T0));
    QVERIFY(window->findChild<QLabel*>("XMAXLabel")->text().contains("1000"));
    // The same points again are no new sweep.
    QVERIFY(!m_pGui->SampleSpectrum(CDiagramProbe::T0 + 1, sweep, true));

    // Search mode hides both; records no longer ask for the spectrum.
    m_pFake->mode = IDevice::MODE_SRCH;
    m_pGui->UpdateSpectrumButton();
    QVERIFY(button->isHidden());
    QVERIFY(!window->isVisible());
    m_pFake->m_calls.clear();
    m_pGui->AddRealtimeRecord(m_pDiagram.get(), Record(18, CDiagramProbe::T0, -50, -60, 1), IDevice::MODE_MAN);
    QVERIFY(!m_pFake->m_calls.contains("GetSpectrumData:160"));

    // After a reconnect's Stop the button brings a new window.
    m_pGui->Stop();
    m_pFake->mode = IDevice::MODE_AUTO;
    m_pGui->UpdateSpectrumButton();
    button->click();
    bool shown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        shown |= qobject_cast<CSpectrumWindow*>(top) && top->isVisible();
    QVERIFY(shown);
}

void TestRZ450DeviceGui::languageAndManual()
{
    CHost host;
    m_pGui->SetSpecificControls(&host);
    m_pGui->SetLanguage(QStringLiteral("ru_RU"));
    QCOMPARE(host.buttons.first()->text(), QStringLiteral("Спектр"));
    QTreeWidget list;
    m_pGui->InitLogList(&list);
    QCOMPARE(list.headerItem()->text(4), QStringLiteral("Уровень"));

    QTextBrowser browser;
    m_pGui->ShowManual(QStringLiteral("ru_RU"), &browser);
    QCOMPARE(browser.source(), QUrl("qrc:/GuiModuleRZ450/Rz450Ondrix_ru_RU.htm"));
    QVERIFY(browser.toPlainText().size() > 100);

    m_pGui->SetLanguage(QStringLiteral("en_US"));
    QCOMPARE(host.buttons.first()->text(), QStringLiteral("Spectrum"));
    QCOMPARE(QCoreApplication::translate("CRZ450DeviceGui", "Level"), QStringLiteral("Level"));
    // A language without a page of its own reads the English one.
    for (const char* language : { "en_US", "C", "de_DE" }) {
        browser.setSource(QUrl());
        m_pGui->ShowManual(QString::fromLatin1(language), &browser);
        QCOMPARE(browser.source(), QUrl("qrc:/GuiModuleRZ450/Rz450Ondrix_en_US.htm"));
        QVERIFY(browser.toPlainText().startsWith(QStringLiteral("RZ450 Ondrix — User Manual")));
    }
}

void TestRZ450DeviceGui::pluginEntry()
{
    QLibrary plugin(QStringLiteral(ONDRIX_GUI_PLUGIN));
    auto query = reinterpret_cast<QueryDeviceGuiFunction>(plugin.resolve("QueryInterface"));
    QVERIFY2(query, qPrintable(plugin.errorString()));
    QVERIFY(!query(nullptr));
    IDeviceGui* gui = nullptr;
    QVERIFY(query(&gui));
    QVERIFY(gui);
    QCOMPARE(gui->GetDeviceType(), QStringLiteral("RZ450"));
    QVERIFY(dynamic_cast<IRZ450DeviceGui*>(gui));
    QCOMPARE(gui->GetVirtualDevice()->GetWidth(), 160);
    delete gui;
}

QTEST_MAIN(TestRZ450DeviceGui)
#include "tst_RZ450DeviceGui.moc"
