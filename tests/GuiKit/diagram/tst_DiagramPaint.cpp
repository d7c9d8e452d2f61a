// What a paint keeps for the next gives the plain calls' pixels and follows changes.
#include "CDiagramProbe.h"
#include "diagram/CTimeLabels.h"
#include "paint/CBandedPaint.h"
#include "paint/CDashedLines.h"
#include "paint/CLabelCache.h"

#include <QCursor>
#include <QPainter>
#include <QTest>
#include <QTranslator>

#include <ctime>

namespace {

template <class F>
QImage Painted(const F& paint, const QTransform& transform = QTransform())
{
    QImage image(160, 160, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    QPainter painter(&image);
    painter.setTransform(transform);
    painter.setPen(Qt::white);
    paint(painter);
    return image;
}

} // namespace

class TestDiagramPaint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsAsDrawText_data();
    void labelsAsDrawText();
    void linesAsThePen_data();
    void linesAsThePen();
    void bandedAsThePlainCall_data();
    void bandedAsThePlainCall();
    void keptPicturesFollowChanges_data();
    void keptPicturesFollowChanges();
};

void TestDiagramPaint::labelsAsDrawText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("fits") << "22:14:14" << QRect(10, 20, 70, 15);
    QTest::newRow("odd width") << "-10 dB" << QRect(3, 7, 31, 20);
    QTest::newRow("cut at the strip") << "-1000 dB" << QRect(0, 40, 30, 12);
    QTest::newRow("russian") << QStringLiteral("Порог = -60.0 дБ") << QRect(5, 60, 130, 10);
    QTest::newRow("two lines") << "a\nb" << QRect(20, 80, 40, 30);
}

void TestDiagramPaint::labelsAsDrawText()
{
    QFETCH(QString, text);
    QFETCH(QRect, rect);
    CLabelCache cache;
    for (const QFont& font : { QFont(QStringLiteral("Arial"), 7, QFont::Bold), QFont(QStringLiteral("Arial"), 9) }) {
        const QImage expected = Painted([&](QPainter& p) { p.setFont(font), p.drawText(rect, Qt::AlignCenter, text); });
        for (int pass = 0; pass < 2; ++pass) // laid out, then from the cache
            QCOMPARE(Painted([&](QPainter& p) { p.setFont(font), cache.DrawCentred(p, rect, text); }), expected);
    }
    for (int i = 0; i < 3 * CLabelCache::MAX_TEXTS; ++i)
        Painted([&](QPainter& p) { cache.DrawCentred(p, rect, QString::number(i)); });
    QVERIFY(cache.Size() <= CLabelCache::MAX_TEXTS);
}

void TestDiagramPaint::linesAsThePen_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<QTransform>("transform");
    const QPen grid(QBrush(QColor(50, 60, 60)), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
    for (bool vertical : { false, true }) {
        const char* name = vertical ? "vertical" : "horizontal";
        QTest::addRow("%s grid, moved", name) << vertical << grid << QTransform::fromTranslate(7, -3);
        QTest::addRow("%s wide, scaled", name)
            << vertical << QPen(Qt::green, 3, Qt::DashLine) << QTransform::fromScale(1.5, 1.5);
    }
}

void TestDiagramPaint::linesAsThePen()
{
    QFETCH(bool, vertical);
    QFETCH(QPen, pen);
    QFETCH(QTransform, transform);
    CDashedLines lines;
    // One extent at several places, then others, one cut by the image's edge.
    const QList<QLine> all = { { 9, 5, 150, 5 }, { 9, 40, 150, 40 }, { 14, 77, 150, 77 }, { -20, 90, 200, 90 } };
    const QImage expected = Painted(
        [&](QPainter& p) {
            for (const QLine& l : all)
                p.setPen(pen), p.drawLine(vertical ? QLine(l.y1(), l.x1(), l.y2(), l.x2()) : l);
        },
        transform);
    QCOMPARE(Painted(
                 [&](QPainter& p) {
                     for (const QLine& l : all)
                         vertical ? lines.DrawVertical(p, pen, l.y1(), l.x1(), l.x2())
                                  : lines.DrawHorizontal(p, pen, l.x1(), l.x2(), l.y1());
                 },
                 transform),
        expected);
}

void TestDiagramPaint::bandedAsThePlainCall_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QTransform>("transform");
    QTest::newRow("tall strip") << QRect(0, 0, 30, 117) << QTransform();
    QTest::newRow("moved") << QRect(20, 5, 100, 100) << QTransform::fromTranslate(3, 4);
    QTest::newRow("scaled") << QRect(10, 10, 50, 70) << QTransform::fromScale(1.3, 1.3);
    QTest::newRow("empty") << QRect(30, 20, 0, 90) << QTransform();
    QTest::newRow("cut by the device's edge") << QRect(-50, 150, 209, 9) << QTransform();
}

void TestDiagramPaint::bandedAsThePlainCall()
{
    QFETCH(QRect, rect);
    QFETCH(QTransform, transform);
    for (const QBrush& brush : { QBrush(QColor(250, 250, 255, 107)), QBrush(Qt::NoBrush) }) {
        QCOMPARE(Painted([&](QPainter& p) { CBandedPaint::DrawRect(p, rect, QPen(Qt::darkBlue), brush); }, transform),
            Painted([&](QPainter& p) { p.setPen(Qt::darkBlue), p.setBrush(brush), p.drawRect(rect); }, transform));
    }
}

void TestDiagramPaint::keptPicturesFollowChanges_data()
{
    QTest::addColumn<QByteArray>("change");
    for (const char* name : { "language", "time zone" })
        QTest::newRow(name) << QByteArray(name);
}

void TestDiagramPaint::keptPicturesFollowChanges()
{
    QFETCH(QByteArray, change);
    const QByteArray zone = qgetenv("TZ");
    QTranslator russian;
    QVERIFY(russian.load(QStringLiteral(":/GuiKit/guikit_ru.qm")));
    // A widget that painted before the change must paint as one that did not.
    const auto render = [&](bool painted) {
        CDiagramProbe widget;
        widget.AddLine(0, QStringLiteral("Level"), QPen(Qt::blue), 0, true);
        widget.SetTimeWindow(CDiagramProbe::T0, CDiagramProbe::T0 + 600);
        widget.AddValue(0, 0, CDiagramProbe::Time(CDiagramProbe::T0 + 300), -50.0, 1);
        QCursor::setPos(widget.mapToGlobal(QPoint(200, 100))); // with the status box
        qputenv("TZ", "UTC0"), tzset();
        if (painted)
            widget.Render();
        if (change == "language")
            QCoreApplication::installTranslator(&russian);
        else
            qputenv("TZ", "JST-9"), tzset();
        const QImage image = widget.Render();
        QCoreApplication::removeTranslator(&russian);
        return image;
    };
    const QImage kept = render(true);
    const QImage fresh = render(false);
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone), tzset();
    QCOMPARE(kept, fresh);
}

QTEST_MAIN(TestDiagramPaint)
#include "tst_DiagramPaint.moc"
