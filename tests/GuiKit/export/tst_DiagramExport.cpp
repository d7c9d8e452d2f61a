// Pictures of diagrams: a PNG has the diagram's pixels at the size on
// screen and at a chosen size, an SVG is well-formed and draws the diagram,
// a failed write leaves nothing, and the context menu offers the export.
#include "CMenuCatcher.h"
#include "SPECTRUM_SWEEP.h"
#include "diagram/CQDiagramWidget.h"
#include "export/CDiagramExport.h"
#include "export/CDiagramMenu.h"
#include "export/CImageExportDialog.h"
#include "spectrum/CSpectrumWindow.h"
#include "waterfall/CWaterfallWidget.h"

#include <QCursor>
#include <QFile>
#include <QPainter>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QXmlStreamReader>

namespace {

const quint64 T0 = 1700000000;

// A window with a realtime diagram of one blue level line.
struct DIAGRAM_WINDOW
{
    QWidget window;
    CQDiagramWidget* diagram = new CQDiagramWidget(&window);

    DIAGRAM_WINDOW()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(diagram);
        diagram->AddLine(0, QStringLiteral("Level"), QPen(QColor(Qt::blue), 3), 0, true);
        diagram->SetMaxYRange(-100.0, 0.0, 1.0);
        diagram->SetMaxXRange(QVariant::fromValue(T0), QVariant::fromValue(T0 + 600), 1.0, true);
        for (quint64 t = 0; t <= 600; t += 10)
            diagram->AddValue(0, 0, QVariant::fromValue(T0 + t), -50.0 + double(t % 40), 1);
        window.resize(500, 260);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

QImage Rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

int CountColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return count;
}

} // namespace

class TestDiagramExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pngHasTheDiagramsPixels_data();
    void pngHasTheDiagramsPixels();
    void windowIsScaled();
    void svgIsWellFormed();
    void failureLeavesNothing();
    void sizeOutOfReach_data();
    void sizeOutOfReach();
    void menuOverThePlotsOnly_data();
    void menuOverThePlotsOnly();
    void dialogAnswers();

private:
    QTemporaryDir m_dir;
};

void TestDiagramExport::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("tst_DiagramExport"));
    QVERIFY(m_dir.isValid());
}

void TestDiagramExport::pngHasTheDiagramsPixels_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("on screen") << QSize();
    QTest::newRow("larger") << QSize(900, 420);
    QTest::newRow("smaller, another shape") << QSize(300, 300);
}

void TestDiagramExport::pngHasTheDiagramsPixels()
{
    QFETCH(QSize, size);
    DIAGRAM_WINDOW w;
    const QSize onScreen = w.diagram->size();
    // The mouse over the plot draws a crosshair on screen, never in a picture.
    QCursor::setPos(w.diagram->mapToGlobal(w.diagram->GetPlotRect(0).center()));
    const QString path = m_dir.filePath(QStringLiteral("diagram.png"));
    QString error;
    QVERIFY2(CDiagramExport::Save(w.diagram, path, CDiagramExport::Png, size, error), qPrintable(error));
    QCOMPARE(w.diagram->size(), onScreen);

    QCursor::setPos(-10000, -10000);
    // What the widget shows when it is laid out at that size.
    CQDiagramWidget* diagram = w.diagram;
    diagram->resize(size.isEmpty() ? onScreen : size);
    const QImage expected = Rgb(diagram->grab().toImage());
    diagram->resize(onScreen);
    const QImage saved(path);
    QCOMPARE(saved.size(), size.isEmpty() ? onScreen : size);
    QCOMPARE(Rgb(saved), expected);
    QVERIFY(CountColour(saved, QColor(Qt::blue).rgb()) > 100);
}

void TestDiagramExport::windowIsScaled()
{
    CSpectrumWindow window;
    const QRect geometry = window.geometry();
    const QImage image = CDiagramExport::ToImage(&window, window.size() * 2);
    QCOMPARE(image.size(), window.size() * 2);
    QCOMPARE(window.geometry(), geometry);
    // Every pixel of the window at (x, y) is the block at (2x, 2y).
    const QImage screen = Rgb(window.grab().toImage());
    const QImage scaled = Rgb(image);
    QCOMPARE(scaled.pixel(20, 20), screen.pixel(10, 10));
    QCOMPARE(scaled.pixel(2 * 300 + 1, 2 * 300 + 1), screen.pixel(300, 300));
}

void TestDiagramExport::svgIsWellFormed()
{
    DIAGRAM_WINDOW w;
    const QString path = m_dir.filePath(QStringLiteral("diagram.svg"));
    QString error;
    QVERIFY2(CDiagramExport::Save(w.diagram, path, CDiagramExport::FormatOf(path), QSize(640, 320), error),
        qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QLatin1String("svg"));
    QCOMPARE(xml.attributes().value(QLatin1String("viewBox")), QLatin1String("0 0 640 320"));
    int elements = 1;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            ++elements;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(elements > 10);

    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QImage drawn(640, 320, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    QVERIFY(CountColour(drawn, QColor(Qt::blue).rgb()) > 100);

    // The waterfall's rows are a part of a larger image.
    CSpectrumWindow window;
    SPECTRUM_SWEEP sweep;
    sweep.levelMinDbm = -100;
    sweep.points = QByteArray(160, char(40));
    for (int i = 0; i < 50; ++i)
        window.SetSweep(sweep);
    const QString spectrum = m_dir.filePath(QStringLiteral("spectrum.svg"));
    QVERIFY2(CDiagramExport::Save(&window, spectrum, CDiagramExport::Svg, QSize(), error), qPrintable(error));
    QSvgRenderer waterfall(spectrum);
    QImage rows(window.size(), QImage::Format_RGB32);
    QPainter rowsPainter(&rows);
    waterfall.render(&rowsPainter);
    rowsPainter.end();
    const QRect plot = window.findChild<CWaterfallWidget*>()->PlotRect();
    const QPoint newest
        = window.findChild<CWaterfallWidget*>()->mapTo(&window, plot.topLeft() + QPoint(plot.width() / 2, 10));
    const QColor expected = Rgb(CDiagramExport::ToImage(&window)).pixelColor(newest);
    const QColor shown = rows.pixelColor(newest);
    QVERIFY2(std::abs(shown.red() - expected.red()) + std::abs(shown.green() - expected.green())
                + std::abs(shown.blue() - expected.blue())
            < 60,
        qPrintable(shown.name() + QLatin1Char(' ') + expected.name()));
}

void TestDiagramExport::failureLeavesNothing()
{
    DIAGRAM_WINDOW w;
    for (const CDiagramExport::Format format : { CDiagramExport::Png, CDiagramExport::Svg }) {
        const QString path = m_dir.filePath(QStringLiteral("missing/diagram.") + CDiagramExport::Suffix(format));
        QString error;
        QVERIFY(!CDiagramExport::Save(w.diagram, path, format, QSize(), error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }
}

void TestDiagramExport::sizeOutOfReach_data()
{
    QTest::addColumn<QSize>("onScreen");
    QTest::addColumn<QSize>("size");
    QTest::newRow("too wide") << QSize(200, 100) << QSize(20000, 100);
    QTest::newRow("too high") << QSize(200, 100) << QSize(100, CDiagramExport::MAX_SIDE + 1);
    QTest::newRow("nothing on screen") << QSize(0, 0) << QSize();
}

void TestDiagramExport::sizeOutOfReach()
{
    QFETCH(QSize, onScreen);
    QFETCH(QSize, size);
    QWidget widget;
    widget.resize(onScreen);
    for (const CDiagramExport::Format format : { CDiagramExport::Png, CDiagramExport::Svg }) {
        const QString path = m_dir.filePath(QStringLiteral("kept.") + CDiagramExport::Suffix(format));
        QFile older(path);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        older.close();
        QString error;
        QVERIFY(!CDiagramExport::Save(&widget, path, format, size, error));
        QVERIFY(!error.isEmpty());
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("older"));
        older.close();
    }
}

void TestDiagramExport::menuOverThePlotsOnly_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("offered");
    QTest::newRow("plot") << "plot" << true;
    QTest::newRow("time axis") << "x" << false;
    QTest::newRow("level axis") << "y" << false;
}

void TestDiagramExport::menuOverThePlotsOnly()
{
    QFETCH(QString, where);
    QFETCH(bool, offered);
    DIAGRAM_WINDOW w;
    CDiagramMenu* menu = CDiagramMenu::Attach(w.diagram);
    QCOMPARE(w.diagram->contextMenuPolicy(), Qt::CustomContextMenu);
    const QRect plot = w.diagram->GetPlotRect(0);
    const QPoint pos = where == QLatin1String("plot") ? plot.center()
        : where == QLatin1String("x")                 ? QPoint(plot.center().x(), plot.bottom() + 8)
                                                      : QPoint(plot.left() - 10, plot.center().y());
    CMenuCatcher catcher;
    QTimer::singleShot(2000, &catcher, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    menu->OnContextMenu(pos);
    QCOMPARE(catcher.shown, offered);
    if (offered)
        QCOMPARE(catcher.names, QStringList { QLatin1String(CDiagramMenu::ACTION_NAME) });
}

void TestDiagramExport::dialogAnswers()
{
    CImageExportDialog dialog(QSize(400, 200), m_dir.filePath(QStringLiteral("a.png")));
    QCOMPARE(dialog.Size(), QSize(400, 200));
    dialog.SetFormat(CDiagramExport::Svg);
    QCOMPARE(dialog.Path(), m_dir.filePath(QStringLiteral("a.svg")));
    dialog.SetChosenSize(QSize(800, 400));
    // Proportions kept: the height follows the width.
    dialog.findChild<QSpinBox*>(QStringLiteral("m_pWidthSpin"))->setValue(1000);
    QCOMPARE(dialog.Size(), QSize(1000, 500));
}

QTEST_MAIN(TestDiagramExport)
#include "tst_DiagramExport.moc"
