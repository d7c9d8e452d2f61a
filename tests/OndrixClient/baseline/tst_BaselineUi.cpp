#include "app/ClientSettingsKeys.h"
#include "baseline/CBaselineActions.h"
#include "baseline/CBaselineComparator.h"
#include "baseline/CBaselineFile.h"
#include "baseline/CCaptureBaselineDialog.h"
#include "baseline/CCompareBaselineDialog.h"
#include "baseline/CLogBaselineFlags.h"
#include "diagram/CBandFlagMarks.h"
#include "diagram/CQDiagramWidget.h"
#include "notes/CLogNotes.h"
#include "report/CReportDialog.h"
#include "sites/CSiteFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

const quint64 T0 = 1765300000;
const QString SITE = QStringLiteral("Office 3");

CRecord Record(quint64 time, int band, double level, int duration = 0)
{
    CRecord record;
    record.time = time;
    record.band = band;
    record.bandName = QStringLiteral("B%1").arg(band);
    record.duration = duration;
    record.values = { { level, -40.0, 0, 0 } };
    return record;
}

// Two bands a second for 100 s: band 1 at -80 dBm, band 2 at -60 dBm, and
// from second 40 to 59 band 2 at `jump` dBm.
QList<CRecord> Sweep(double jump)
{
    QList<CRecord> records;
    for (quint64 s = 0; s < 100; ++s) {
        records.append(Record(T0 + s, 1, -80.0));
        records.append(Record(T0 + s, 2, s >= 40 && s < 60 ? jump : -60.0));
    }
    return records;
}

// Named as the detector pads its bands.
CBaseline Known()
{
    CBaseline baseline;
    baseline.site = SITE;
    baseline.start = QDateTime::fromSecsSinceEpoch(qint64(T0), Qt::UTC);
    baseline.nSeconds = 600;
    baseline.device = QStringLiteral("RZ450");
    baseline.bands = { { 1, QStringLiteral("B1     /"), -80, -78, -77, 300 },
        { 2, QStringLiteral("B2     /"), -60, -58, -57, 300 } };
    return baseline;
}

// Share of the rectangle's pixels that show the flags' red over white.
double RedShare(const QImage& image, const QRect& rect)
{
    int red = 0;
    int all = 0;
    for (int y = rect.top(); y <= rect.bottom(); y += 2) {
        for (int x = rect.left(); x <= rect.right(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > c.green() + 40 && c.red() > c.blue() + 40 ? 1 : 0;
            ++all;
        }
    }
    return all ? double(red) / all : 0.0;
}

QImage Rendered(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

void TimeDiagram(CQDiagramWidget& diagram, DiagramType type, int lines)
{
    diagram.resize(640, 320);
    diagram.SetSingleDiagramArea();
    for (int k = 0; k < lines; ++k)
        diagram.AddLine(0, QStringLiteral("L%1").arg(k), QPen(Qt::gray), 0, true);
    diagram.SetDiagramType(0, type);
    diagram.SetMaxXRange(QVariant::fromValue<quint64>(T0), QVariant::fromValue<quint64>(T0 + 200), 1.0, true);
    diagram.update();
}

} // namespace

class tst_BaselineUi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void capture_data();
    void capture();
    void compareDialogRefuses_data();
    void compareDialogRefuses();
    void marksRowOrWholeHeight_data();
    void marksRowOrWholeHeight();
    void liveComparisonFlagsTheChangedBand_data();
    void liveComparisonFlagsTheChangedBand();
    void openedFileGetsRows_data();
    void openedFileGetsRows();
    void reportDialogSetsBaseline_data();
    void reportDialogSetsBaseline();

private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    QString m_strStorage;
};

void tst_BaselineUi::init()
{
    QStandardPaths::setTestModeEnabled(true);
    m_pDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pDir->filePath(QStringLiteral("settings")));
    QSettings().clear();
    m_strStorage = m_pDir->filePath(QStringLiteral("storage"));
    QVERIFY(QDir().mkpath(m_strStorage));
    CSiteFolder::SetStorage(m_strStorage);
}

void tst_BaselineUi::capture_data()
{
    QTest::addColumn<QString>("device"); // empty: no detector connected
    QTest::addColumn<QString>("site");
    QTest::addColumn<int>("seconds");  // of records fed
    QTest::addColumn<bool>("cancel");  // Cancel before the time is up
    QTest::addColumn<QString>("said"); // a word of the message; the file is saved when it is "saved"
    QTest::newRow("saved") << QStringLiteral("RZ450") << SITE << 100 << false << QStringLiteral("saved");
    QTest::newRow("new site, cyrillic") << QStringLiteral("RZ450") << QStringLiteral("Зал 2") << 100 << false
                                        << QStringLiteral("saved");
    QTest::newRow("cancelled") << QStringLiteral("RZ450") << SITE << 100 << true << QStringLiteral("cancelled");
    QTest::newRow("zero samples") << QStringLiteral("RZ450") << SITE << 0 << false << QStringLiteral("No level");
    QTest::newRow("no detector") << QString() << SITE << 100 << false << QStringLiteral("No detector");
    QTest::newRow("no storage") << QStringLiteral("RZ450") << SITE << 100 << false << QStringLiteral("No storage");
    QTest::newRow("bad site name") << QStringLiteral("RZ450") << QStringLiteral("a/b") << 100 << false << QString();
}

// Driven as a user would, without blocking: the records fed while it runs
// become the site's newest baseline, and nothing else is ever written.
void tst_BaselineUi::capture()
{
    QFETCH(QString, device);
    QFETCH(QString, site);
    QFETCH(int, seconds);
    QFETCH(bool, cancel);
    QFETCH(QString, said);
    CCaptureBaselineDialog dialog(said == QLatin1String("No storage") ? QString() : m_strStorage);
    dialog.SetDevice(device);
    dialog.SetSite(site);
    dialog.SetMinutes(0.1);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("m_pStartButton")), Qt::LeftButton);
    const QList<CRecord> records = Sweep(-60.0);
    for (const CRecord& record : records.first(2 * seconds))
        dialog.Add(record);
    dialog.Advance(3000);
    if (cancel)
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("m_pCancelButton")), Qt::LeftButton);
    dialog.Advance(3000);
    QVERIFY(!dialog.IsRunning());
    QVERIFY2(dialog.Status().contains(said), qPrintable(dialog.Status()));
    QCOMPARE(dialog.SiteError().isEmpty(), !said.isEmpty());
    const bool saved = said == QLatin1String("saved");
    QCOMPARE(CBaselineFile::List(m_strStorage, site).size(), saved ? 1 : 0);
    QCOMPARE(dialog.SavedPath().isEmpty(), !saved);
    if (!saved)
        return;
    CBaseline baseline;
    QString error;
    QVERIFY2(CBaselineFile::Latest(m_strStorage, site, baseline, error), qPrintable(error));
    QCOMPARE(baseline.site, site);
    QCOMPARE(baseline.device, device);
    QCOMPARE(baseline.nSeconds, qint64(seconds));
    QCOMPARE(baseline.Samples(), qint64(2 * seconds));
    QCOMPARE(baseline.Find(2)->dP95, -60.0);
    QCOMPARE(baseline.Find(1)->dMax, -80.0);
    QCOMPARE(CBaselineFile::Sites(m_strStorage), QStringList { site });
}

void tst_BaselineUi::compareDialogRefuses_data()
{
    QTest::addColumn<QString>("spoil"); // what happens to the site after the dialog opened
    QTest::addColumn<QString>("said");  // a word of the message; empty: accepted
    QTest::newRow("sound") << QString() << QString();
    QTest::newRow("site removed") << QStringLiteral("site") << QStringLiteral("no site named");
    QTest::newRow("baseline removed") << QStringLiteral("file") << QStringLiteral("no baseline yet");
    QTest::newRow("baseline damaged") << QStringLiteral("damage") << QStringLiteral("damaged");
}

// A refused choice stays in the dialog with CBaselineFile's message, and
// the kept comparison is not touched.
void tst_BaselineUi::compareDialogRefuses()
{
    QFETCH(QString, spoil);
    QFETCH(QString, said);
    QString path, error;
    QVERIFY2(CBaselineFile::Save(m_strStorage, Known(), path, error), qPrintable(error));
    QSettings().setValue(QLatin1String(ClientSettingsKeys::BASELINE_MARGIN_DB), 9.5);
    CCompareBaselineDialog dialog(m_strStorage);
    QCOMPARE(dialog.Sites(), QStringList { SITE });
    QCOMPARE(dialog.Margin(), 9.5);
    dialog.SetMargin(3.0);
    if (spoil == QLatin1String("site"))
        QVERIFY(QDir(CSiteFolder::Path(m_strStorage, SITE)).removeRecursively());
    if (spoil == QLatin1String("file"))
        QVERIFY(QFile::remove(path));
    if (spoil == QLatin1String("damage")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(20) && file.write("\xff\xff", 2) == 2);
    }
    dialog.show();
    dialog.accept();
    QCOMPARE(dialog.result() == QDialog::Accepted, said.isEmpty());
    QVERIFY2(dialog.Error().contains(said), qPrintable(dialog.Error()));
    QCOMPARE(CCompareBaselineDialog::KeptMargin(), said.isEmpty() ? 3.0 : 9.5);
    QCOMPARE(CCompareBaselineDialog::KeptSite(), said.isEmpty() ? SITE : QString());
    if (said.isEmpty())
        QCOMPARE(dialog.Baseline().Find(2)->dP95, -58.0);
}

void tst_BaselineUi::marksRowOrWholeHeight_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("line");      // of the span
    QTest::addColumn<bool>("hidden");   // line 1 hidden
    QTest::addColumn<int>("markedRow"); // of three rows; -1: the whole height
    QTest::newRow("band rows, middle row") << int(DIAGRAM_TIME_RECTS) << 1 << false << 1;
    QTest::newRow("band rows, last row") << int(DIAGRAM_TIME_RECTS) << 2 << false << 2;
    QTest::newRow("band rows, line unknown") << int(DIAGRAM_TIME_RECTS) << -1 << false << -1;
    QTest::newRow("band rows, its row hidden") << int(DIAGRAM_TIME_RECTS) << 1 << true << -1;
    QTest::newRow("hidden row before it") << int(DIAGRAM_TIME_RECTS) << 2 << true << 1;
    QTest::newRow("level lines") << int(DIAGRAM_TIME_LINES) << 1 << false << -1;
}

// Red where and only where the band stood over, in its row when the
// diagram draws one; the tooltip tells it there and nowhere else.
void tst_BaselineUi::marksRowOrWholeHeight()
{
    QFETCH(int, type);
    QFETCH(int, line);
    QFETCH(bool, hidden);
    QFETCH(int, markedRow);
    CQDiagramWidget diagram;
    TimeDiagram(diagram, DiagramType(type), 3);
    if (hidden)
        diagram.SetLineVisible(0, 1, false);
    diagram.update();
    CBandFlagMarks marks(&diagram);
    marks.SetSpans(
        { { T0 + 50, T0 + 99, line, QStringLiteral("B2"), QStringLiteral("Band B2 over baseline by 20 dB") } });
    const QImage image = Rendered(diagram);
    const QRect plot = diagram.GetPlotRect(0);
    const int rows = hidden ? 2 : 3;
    const int left = plot.left() + plot.width() / 4 + 3; // T0 + 50
    const int right = plot.left() + plot.width() / 2 - 3;
    for (int row = 0; row < rows; ++row) {
        const int top = plot.top() + plot.height() * row / rows + 3;
        const QRect inside(left, top, right - left, plot.height() / rows - 6);
        const QRect before(plot.left() + 3, top, left - plot.left() - 12, plot.height() / rows - 6);
        const bool marked = markedRow < 0 || markedRow == row;
        QVERIFY2((RedShare(image, inside) > 0.8) == marked, qPrintable(QString::number(row)));
        QVERIFY(RedShare(image, before) < 0.05);
        QCOMPARE(marks.TextAt(inside.center()).isEmpty(), !marked);
        QVERIFY(marks.TextAt(before.center()).isEmpty());
    }
    image.save(QDir::temp().filePath(QStringLiteral("ondrix-baseline-marks-%1.png")
                                         .arg(QTest::currentDataTag())
                                         .replace(QLatin1Char(' '), QLatin1Char('-'))));
}

void tst_BaselineUi::liveComparisonFlagsTheChangedBand_data()
{
    QTest::addColumn<double>("jump");       // band 2's level over 20 s
    QTest::addColumn<QStringList>("flags"); // "band:from-to", from T0
    QTest::newRow("20 dB over") << -40.0 << QStringList { QStringLiteral("2:40-59") };
    QTest::newRow("within the margin") << -53.0 << QStringList();
    QTest::newRow("just over the margin") << -51.0 << QStringList { QStringLiteral("2:40-59") };
}

// The records the realtime view draws go to the comparison; exactly the
// band that changed is flagged and marked, and a view starting over (a
// replay, a clear) starts the comparison over.
void tst_BaselineUi::liveComparisonFlagsTheChangedBand()
{
    QFETCH(double, jump);
    QFETCH(QStringList, flags);
    QMainWindow window;
    QMenu menu;
    auto* diagram = new CQDiagramWidget(&window);
    window.setCentralWidget(diagram);
    window.resize(640, 360);
    TimeDiagram(*diagram, DIAGRAM_TIME_LINES, 1);
    CBaselineActions actions(&window, { &menu, diagram, window.statusBar() }, nullptr, nullptr, nullptr);
    QCOMPARE(menu.actions(),
        (QList<QAction*> { actions.CaptureAction(), actions.CompareAction(), actions.StopAction() }));
    QVERIFY(!actions.StopAction()->isEnabled());
    actions.StartComparing(Known(), CBaselineComparator::DEFAULT_MARGIN_DB);
    QVERIFY(actions.StopAction()->isEnabled());
    for (const CRecord& record : Sweep(jump))
        actions.Compare(record);
    actions.RefreshMarks();
    QStringList got;
    for (const BASELINE_FLAG& flag : actions.Comparator()->Flags())
        got.append(QStringLiteral("%1:%2-%3").arg(flag.band).arg(flag.start - T0).arg(flag.end - T0));
    QCOMPARE(got, flags);
    QCOMPARE(actions.Marks()->Spans().size(), flags.size());
    const QRect plot = diagram->GetPlotRect(0);
    const QRect span(plot.left() + plot.width() * 41 / 200, plot.top() + 5, plot.width() * 17 / 200,
        plot.height() - 10);
    QCOMPARE(RedShare(Rendered(*diagram), span) > 0.8, !flags.isEmpty());
    if (!flags.isEmpty())
        QCOMPARE(actions.Marks()->TextAt(span.center()),
            QStringLiteral("Band B2 over baseline by %1 dB").arg(jump + 58.0));
    actions.ResetComparison();
    QVERIFY(actions.Marks()->Spans().isEmpty());
    QCOMPARE(actions.Comparator()->Compared(), qint64(0));
    actions.StopComparing();
    QVERIFY(!actions.IsComparing());
    actions.Compare(Sweep(jump).first());
    QVERIFY(actions.Marks()->Spans().isEmpty());
}

void tst_BaselineUi::openedFileGetsRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("row");  // band, duration and peak of the flag's row
    QTest::addColumn<int>("flagRow");  // where it goes among the file's rows
    QTest::addColumn<int>("fileRows"); // the file's rows before
    QTest::newRow("realtime file, before a later note") << 0 << QStringLiteral("B2|0:00:20|-40 dBm") << 0 << 1;
    QTest::newRow("log, among its events") << 2 << QStringLiteral("B2|0:00:05|-40 dBm") << 2 << 3;
}

// A file opened while comparing: its flags go among its rows by time, in
// the notes' look, and are marked on its diagram.
void tst_BaselineUi::openedFileGetsRows()
{
    QFETCH(int, kind);
    QFETCH(QString, row);
    QFETCH(int, flagRow);
    QFETCH(int, fileRows);
    QList<CRecord> records = Sweep(-40.0);
    QTreeWidget list;
    list.setColumnCount(6);
    if (kind == 2) {
        // A log lists its events, one row each in their order.
        records = { Record(T0 + 10, 1, -79.0, 3), Record(T0 + 40, 2, -40.0, 5), Record(T0 + 70, 2, -59.0, 2) };
        for (const CRecord& record : std::as_const(records))
            list.addTopLevelItem(new QTreeWidgetItem({ QString::number(record.time - T0) }));
    } else {
        // A realtime file lists its notes alone.
        std::reverse(records.begin(), records.end()); // any order
        auto* note = new QTreeWidgetItem({ QStringLiteral("Note") });
        note->setData(0, CLogNotes::TIME_ROLE, QVariant::fromValue<quint64>(T0 + 50));
        list.addTopLevelItem(note);
    }
    CQDiagramWidget diagram;
    TimeDiagram(diagram, DIAGRAM_TIME_RECTS, 2);
    CLogBaselineFlags flags(&diagram, &list);
    QCOMPARE(flags.Show(Known(), CBaselineComparator::DEFAULT_MARGIN_DB, records, kind, kind == 2), 1);
    QCOMPARE(list.topLevelItemCount(), fileRows + 1);
    const QTreeWidgetItem* added = list.topLevelItem(flagRow);
    const QStringList want = row.split(QLatin1Char('|'));
    QCOMPARE(added->text(0), QStringLiteral("Baseline"));
    QCOMPARE(added->text(1), want.at(0));
    const QDateTime start = QDateTime::fromSecsSinceEpoch(qint64(T0) + 40, QTimeZone::systemTimeZone());
    QVERIFY2(added->text(2).endsWith(start.toString(QStringLiteral("mm:ss"))), qPrintable(added->text(2)));
    QCOMPARE(added->text(3), want.at(1));
    QCOMPARE(added->text(4), want.at(2));
    QCOMPARE(added->text(5), QStringLiteral("Band B2 over baseline by 18 dB"));
    QVERIFY(added->font(0).italic());
    QCOMPARE(flags.Marks()->Spans().size(), 1);
    flags.Clear();
    QVERIFY(flags.Marks()->Spans().isEmpty());
}

void tst_BaselineUi::reportDialogSetsBaseline_data()
{
    QTest::addColumn<QString>("kept");  // the comparison's site in the settings
    QTest::addColumn<QString>("given"); // REPORT_INPUT's before the dialog
    QTest::addColumn<int>("choose");    // the combo's row chosen; -1: as offered
    QTest::addColumn<QString>("site");  // REPORT_INPUT's after
    QTest::addColumn<double>("margin");
    QTest::newRow("nothing kept") << QString() << QString() << -1 << QString() << 7.5;
    QTest::newRow("the comparison's") << SITE << QString() << -1 << SITE << 7.5;
    QTest::newRow("kept, none chosen") << SITE << QString() << 0 << QString() << 7.5;
    QTest::newRow("kept site lost its baseline") << QStringLiteral("Gone") << QString() << -1 << QString() << 7.5;
    QTest::newRow("chosen") << QString() << QString() << 2 << QStringLiteral("Room 9") << 7.5;
    QTest::newRow("the report's own") << SITE << QStringLiteral("Room 9") << -1 << QStringLiteral("Room 9") << 4.0;
}

void tst_BaselineUi::reportDialogSetsBaseline()
{
    QFETCH(QString, kept);
    QFETCH(QString, given);
    QFETCH(int, choose);
    QFETCH(QString, site);
    QFETCH(double, margin);
    QString path, error;
    CBaseline other = Known();
    other.site = QStringLiteral("Room 9");
    QVERIFY(CBaselineFile::Save(m_strStorage, Known(), path, error)
        && CBaselineFile::Save(m_strStorage, other, path, error));
    QVERIFY(CSiteFolder::Make(m_strStorage, QStringLiteral("Empty"), error));
    QSettings().setValue(QLatin1String(ClientSettingsKeys::BASELINE_SITE), kept);
    QSettings().setValue(QLatin1String(ClientSettingsKeys::BASELINE_MARGIN_DB), 7.5);
    REPORT_INPUT input;
    input.baselineSite = given;
    input.baselineMarginDb = 4.0;
    CReportDialog dialog(input, m_pDir->filePath(QStringLiteral("r.pdf")));
    dialog.show();
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("m_pBaselineCombo"));
    QCOMPARE(combo->count(), 3); // none, and the two sites with a baseline
    if (choose >= 0)
        combo->setCurrentIndex(choose);
    REPORT_INPUT out;
    dialog.Apply(out);
    QCOMPARE(out.baselineSite, site);
    QCOMPARE(out.baselineMarginDb, margin);
}

QTEST_MAIN(tst_BaselineUi)
#include "tst_BaselineUi.moc"
