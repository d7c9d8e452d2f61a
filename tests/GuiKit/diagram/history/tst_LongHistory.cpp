// Long sessions: lines fold their old values into buckets that keep every
// value's extent, stay bounded for a day of records, draw every alarm spike
// at the default window and at six hours, draw the same whether painted
// along the way or not, and name a folded run in the bar tooltip.
#include "CDiagramProbe.h"
#include "diagram/history/CHistoryCompactor.h"

#include <QCursor>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

const quint64 T0 = CDiagramProbe::T0;
const quint64 DAY = 86400;
const double NaN = std::numeric_limits<double>::quiet_NaN();

// The red pen, or the outline of a bar too short for a fill.
bool Reddish(QRgb rgb)
{
    return qRed(rgb) > 200 && qGreen(rgb) < 40 && qBlue(rgb) < 40;
}

quint64 Time(const DATA_VALUE& value)
{
    return value.x.toULongLong();
}

quint64 End(const DATA_VALUE& value)
{
    return Time(value) + quint64(std::max(0, value.extra));
}

// The next of a deterministic stream of pseudo-random numbers.
unsigned Next(quint64& state)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return unsigned(state >> 33);
}

} // namespace

class TestLongHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCursor::setPos(-10000, -10000); }
    void foldingKeepsExtentsAndOrder_data();
    void foldingKeepsExtentsAndOrder();
    void aDayStaysBoundedAndDrawsEverySpike_data();
    void aDayStaysBoundedAndDrawsEverySpike();
    void rectsToolTipOverAFoldedRun();
};

void TestLongHistory::foldingKeepsExtentsAndOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("perSecond");
    QTest::addColumn<int>("lateEvery"); // every n-th value comes 500 s late; 0: none
    QTest::addColumn<bool>("nans");
    QTest::newRow("levels") << int(CHistoryCompactor::LEVELS) << 3 << 0 << false;
    QTest::newRow("levels, NaN among them") << int(CHistoryCompactor::LEVELS) << 3 << 0 << true;
    QTest::newRow("levels, late values") << int(CHistoryCompactor::LEVELS) << 2 << 7 << false;
    QTest::newRow("bars") << int(CHistoryCompactor::BARS) << 2 << 0 << false;
    QTest::newRow("bars, late values") << int(CHistoryCompactor::BARS) << 1 << 5 << false;
}

void TestLongHistory::foldingKeepsExtentsAndOrder()
{
    QFETCH(int, kind);
    QFETCH(int, perSecond);
    QFETCH(int, lateEvery);
    QFETCH(bool, nans);
    const CHistoryCompactor::LIMITS limits { 16, 128, 32, 20 };
    CHistoryCompactor compactor(CHistoryCompactor::Kind(kind), limits);
    QList<DATA_VALUE> values;
    QList<DATA_VALUE> offered;
    quint64 state = 7;
    for (int i = 0; i < 6000; ++i) {
        const unsigned r = Next(state);
        quint64 t = T0 + quint64(i / perSecond) + (r % 3 == 0 ? 1 : 0);
        if (lateEvery > 0 && i % lateEvery == 0 && t > T0 + 500)
            t -= 500;
        const double level = nans && r % 11 == 0 ? NaN : -double(r % 100);
        const DATA_VALUE value { QVariant::fromValue<quint64>(t), level, r % 97 == 0 ? int(r % 40) : 1 };
        const qsizetype before = values.size();
        values.insert(std::upper_bound(values.begin(), values.end(), t,
                          [](quint64 a, const DATA_VALUE& v) { return a < Time(v); }),
            value);
        offered.append(value);
        compactor.Offered(values, before, t);
        QVERIFY(values.size() <= limits.fullMax + limits.foldedMax + 1);
    }
    QVERIFY(compactor.BucketSeconds(values) > 1);
    QVERIFY(compactor.FoldedCount(values) > 0);
    for (int i = 1; i < values.size(); ++i)
        QVERIFY(Time(values.at(i - 1)) <= Time(values.at(i)));
    const quint64 width = compactor.BucketSeconds(values);
    for (const DATA_VALUE& value : offered) {
        const double level = value.y.toDouble();
        auto any = [&values](auto kept) { return std::any_of(values.begin(), values.end(), kept); };
        auto sameBucket = [&](const DATA_VALUE& k) { return Time(k) / width == Time(value) / width; };
        bool kept = std::isnan(level);
        if (kind == CHistoryCompactor::LEVELS) {
            // Its bucket still reaches down to its level and up to it.
            kept = kept || (any([&](const DATA_VALUE& k) {
                return sameBucket(k) && k.y.toDouble() <= level;
            }) && any([&](const DATA_VALUE& k) { return sameBucket(k) && k.y.toDouble() >= level; }));
        } else {
            kept = kept || any([&](const DATA_VALUE& k) {
                return Time(k) <= Time(value) && End(k) >= End(value) && k.y.toDouble() >= level;
            });
        }
        QVERIFY2(kept, qPrintable(QStringLiteral("value at %1, level %2 lost").arg(Time(value) - T0).arg(level)));
    }
}

void TestLongHistory::aDayStaysBoundedAndDrawsEverySpike_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("levels, two lines") << int(DIAGRAM_TIME_LINES);
    QTest::newRow("bars, a busy band and a quiet one") << int(DIAGRAM_TIME_RECTS);
}

void TestLongHistory::aDayStaysBoundedAndDrawsEverySpike()
{
    QFETCH(int, type);
    const bool lines = type == DIAGRAM_TIME_LINES;
    // Two widgets get the same day of values; one is painted every hour.
    CDiagramProbe painted(630, 127);
    CDiagramProbe unpainted(630, 127);
    for (CDiagramProbe* widget : { &painted, &unpainted }) {
        widget->SetDiagramType(0, DiagramType(type));
        widget->AddLine(0, QStringLiteral("busy"), QPen(Qt::blue), 0, true);
        widget->AddLine(0, QStringLiteral("alarms"), QPen(Qt::red), 0, true);
        widget->SetMaxYRange(-100.0, 0.0, 1.0);
        widget->SetTimeWindow(T0, T0 + 600);
    }
    QList<quint64> spikes;
    quint64 state = 3;
    const int perSecond = 6;
    for (quint64 s = 0; s < DAY; ++s) {
        const bool spike = Next(state) % 1500 == 0;
        if (spike)
            spikes.append(T0 + s);
        for (CDiagramProbe* widget : { &painted, &unpainted }) {
            const QVariant t = CDiagramProbe::Time(T0 + s);
            for (int r = 0; r < perSecond; ++r)
                widget->AddValue(0, 0, t, -80.0 + r, 1);
            if (lines)
                widget->AddValue(0, 1, t, spike ? -10.0 : -90.0, 1);
            else if (spike)
                widget->AddValue(0, 1, t, -10.0, 1);
        }
        if (s % 3600 == 0)
            painted.Render();
    }
    QVERIFY(spikes.size() > 20);
    const CHistoryCompactor::LIMITS limits
        = CHistoryCompactor::DefaultLimits(lines ? CHistoryCompactor::LEVELS : CHistoryCompactor::BARS);
    QVERIFY(painted.Line(0, 0).values.size() < limits.fullMax / 2 + limits.foldedMax);
    const quint64 end = T0 + DAY - 1;
    // A late alarm from three hours back goes into the folded part, after
    // a paint, and shows.
    painted.Render();
    const quint64 late = end - 3 * 3600 + 17;
    spikes.append(late);
    for (CDiagramProbe* widget : { &painted, &unpainted })
        widget->AddValue(0, 1, CDiagramProbe::Time(late), -10.0, 1);
    for (quint64 window : { quint64(600), quint64(6 * 3600) }) {
        for (CDiagramProbe* widget : { &painted, &unpainted })
            widget->SetVisibleXRange(CDiagramProbe::Time(end - window), CDiagramProbe::Time(end));
        const QImage image = painted.Render();
        QCOMPARE(image, unpainted.Render());
        // Spikes reach row 10 (lines); alarm bars fill the bottom row (bars).
        for (quint64 t : spikes) {
            if (t < end - window)
                continue;
            const int x = 30 + int((t - (end - window)) * 600 / window);
            QVERIFY2(Reddish(image.pixel(x, lines ? 10 : 75)),
                qPrintable(QStringLiteral("spike at %1 s not drawn at window %2 s").arg(t - T0).arg(window)));
        }
    }
}

void TestLongHistory::rectsToolTipOverAFoldedRun()
{
    // Two hours of a busy band, three one-second bars a second: the first
    // hour and more is folded into one bar.
    CDiagramProbe widget(630, 127);
    widget.SetDiagramType(0, DIAGRAM_TIME_RECTS);
    widget.AddLine(0, QStringLiteral("band"), QPen(Qt::green), 0, true);
    widget.SetTimeWindow(T0, T0 + 600);
    for (quint64 s = 0; s < 7200; ++s) {
        for (int r = 0; r < 3; ++r)
            widget.AddValue(0, 0, CDiagramProbe::Time(T0 + s), s == 1234 && r == 1 ? -20.0 : -50.0, 1);
    }
    const DATA_LINE& line = widget.Line(0, 0);
    QVERIFY(line.values.size() < 8000);
    QVERIFY(line.values.first().extra > 3600);
    widget.SetVisibleXRange(CDiagramProbe::Time(T0), CDiagramProbe::Time(T0 + 7200));
    widget.Render();
    QCOMPARE(line.aux2.size(), 1);
    QString text;
    QVERIFY(widget.Diagram(0)->GetToolTipText(false, QPoint(200, 50), widget.Lines(0), text));
    const QString start = QDateTime::fromSecsSinceEpoch(qint64(T0)).toString(QStringLiteral("dd.MM hh:mm:ss"));
    const int seconds = line.values.first().extra;
    QCOMPARE(text,
        QStringLiteral("Date/Time: %1<br>Duration: %2<br>Level: -20 dBm")
            .arg(start, QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss"))));
}

QTEST_MAIN(TestLongHistory)
#include "tst_LongHistory.moc"
