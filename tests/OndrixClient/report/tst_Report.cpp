// The sweep report: the per-band summary from records, a PDF of the right
// page count whose text holds the summary in English and in Russian, a
// failed write that leaves nothing, the input built from data files, and
// the dialog that edits the title block.
#include "CRecordingDeviceGui.h"
#include "alerts/CAlertLogFile.h"
#include "app/CTranslationSet.h"
#include "baseline/CBaselineFile.h"
#include "files/CDataFile.h"
#include "report/CReportAlerts.h"
#include "report/CReportBaseline.h"
#include "report/CReportBuilder.h"
#include "report/CReportData.h"
#include "report/CReportDialog.h"
#include "report/CReportWriter.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(QList<CRecord>)

namespace {

const quint64 T0 = 1767225600; // 2026-01-01 00:00 UTC

CRecord Record(int band, quint64 time, double level, double threshold, int duration = 0)
{
    CRecord record;
    record.band = band;
    record.bandName = QStringLiteral("Band%1/").arg(band);
    record.time = T0 + time;
    record.duration = duration;
    record.values.append(RECORD_VALUE { level, threshold, 0, 0 });
    return record;
}

// "band:alarms:peak:seconds" for every band, then the events' "band@start+duration".
QString Summary(const CReportData& data)
{
    QStringList parts;
    for (const REPORT_BAND& band : data.Bands())
        parts.append(
            QStringLiteral("%1:%2:%3:%4").arg(band.band).arg(band.alarms).arg(band.peak).arg(band.secondsOver));
    for (const REPORT_EVENT& event : data.Events())
        parts.append(QStringLiteral("%1@%2+%3").arg(event.band).arg(event.time - T0).arg(event.duration));
    return parts.join(QLatin1Char(' '));
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

int Pages(const QString& pdf)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), { pdf }));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PageText(const QString& pdf, int page)
{
    const QString number = QString::number(page);
    return Run(QStringLiteral("pdftotext"),
        { QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf,
            QStringLiteral("-") });
}

// Two bands of log events and a third without alarms.
REPORT_INPUT Input(int events, int diagrams, QPageSize::PageSizeId paper)
{
    REPORT_INPUT input;
    input.site = QStringLiteral("Room 12");
    input.operatorName = QStringLiteral("A. Petrov");
    input.detectorId = QStringLiteral("RZ450");
    input.paper = paper;
    QList<CRecord> log;
    for (int i = 0; i < events; ++i)
        log.append(Record(i % 2 ? 2 : 1, quint64(i) * 60, -50.0 - i % 20, -70.0, 10));
    input.data.Add(log, CReportData::KIND_LOG);
    input.data.Add({ Record(3, 0, -90.0, -70.0) }, 0);
    for (int i = 0; i < diagrams; ++i) {
        REPORT_DIAGRAM diagram { QStringLiteral("Diagram %1").arg(i + 1), QPicture() };
        QPainter painter(&diagram.picture);
        painter.fillRect(QRect(0, 0, 400, 200), Qt::blue);
        painter.end();
        input.diagrams.append(diagram);
    }
    return input;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void summary_data();
    void summary();
    void pageCount_data();
    void pageCount();
    void textHoldsTheSummary_data();
    void textHoldsTheSummary();
    void failureLeavesNothing();
    void fromFiles();
    void baselineSection_data();
    void baselineSection();
    void alertsSection_data();
    void alertsSection();
    void dialogEditsTheTitleBlock();

private:
    QTemporaryDir m_dir;
};

void TestReport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("tst_Report"));
    QVERIFY(m_dir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "poppler-utils is needed");
}

void TestReport::summary_data()
{
    QTest::addColumn<QList<CRecord>>("records");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("log events as stored") << QList<CRecord> { Record(1, 100, -55, -70, 20), Record(1, 0, -60, -70, 10),
        Record(4, 50, -65, -75, 5) } << 2 << "1:2:-55:30 4:1:-65:5 1@0+10 4@50+5 1@100+20";
    QTest::newRow("a live run ends under the threshold") << QList<CRecord> { Record(1, 0, -80, -70),
        Record(1, 1, -60, -70), Record(1, 2, -58, -70), Record(1, 3, -70, -70), Record(1, 4, -75, -70),
        Record(1, 10, -60, -70) } << 0 << "1:2:-58:4 1@1+3 1@10+1";
    QTest::newRow("a gap ends a run") << QList<CRecord> { Record(2, 0, -60, -70), Record(2, 29, -60, -70),
        Record(2, 29 + CReportData::MAX_GAP_SECONDS, -60, -70) }
                                      << 1 << "2:2:-60:31 2@0+30 2@59+1";
    QTest::newRow("bands taking turns") << QList<CRecord> { Record(5, 0, -60, -70), Record(6, 1, -90, -70),
        Record(5, 2, -61, -70), Record(6, 3, -65, -70) }
                                        << 1 << "5:1:-60:3 6:1:-65:1 5@0+3 6@3+1";
    CRecord empty = Record(7, 0, 0, 0);
    empty.values.clear();
    QTest::newRow("records without values") << QList<CRecord> { empty, Record(8, 5, -100, -70) } << 0 << "8:0:-100:0";
    QTest::newRow("overlapping events share their seconds") << QList<CRecord> { Record(2, 0, -60, -70, 100),
        Record(2, 50, -55, -70, 100), Record(2, 60, -50, -70, 10),
        Record(3, 50, -60, -75, 20) } << 2 << "2:3:-50:150 3:1:-60:20 2@0+100 2@50+100 3@50+20 2@60+10";
    QTest::newRow("levels that are no number")
        << QList<CRecord> { Record(9, 0, qQNaN(), -70, 5), Record(9, 10, -60, -70, 5), Record(10, 0, -60, qInf(), 5) }
        << 2 << "9:1:-60:5 9@10+5";
}

void TestReport::summary()
{
    QFETCH(QList<CRecord>, records);
    QFETCH(int, kind);
    QFETCH(QString, expected);
    CReportData data;
    data.Add(records, kind);
    QCOMPARE(Summary(data), expected);
}

void TestReport::pageCount_data()
{
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("diagrams");
    QTest::addColumn<int>("paper");
    const int a4 = CReportWriter::EventRowsPerPage(QPageSize::A4);
    const int letter = CReportWriter::EventRowsPerPage(QPageSize::Letter);
    QVERIFY(letter < a4);
    QTest::newRow("summary alone") << 0 << 0 << int(QPageSize::A4);
    QTest::newRow("a full event page") << a4 << 0 << int(QPageSize::A4);
    QTest::newRow("one event more") << a4 + 1 << 1 << int(QPageSize::A4);
    QTest::newRow("letter holds fewer rows") << a4 << 3 << int(QPageSize::Letter);
    QTest::newRow("letter, many events") << 5 * letter - 1 << 4 << int(QPageSize::Letter);
}

void TestReport::pageCount()
{
    QFETCH(int, events);
    QFETCH(int, diagrams);
    QFETCH(int, paper);
    const auto size = QPageSize::PageSizeId(paper);
    const QString path = m_dir.filePath(QStringLiteral("pages.pdf"));
    QString error;
    QVERIFY2(CReportWriter::Write(Input(events, diagrams, size), path, error), qPrintable(error));
    const int rows = CReportWriter::EventRowsPerPage(size);
    const int perPage = CReportWriter::DIAGRAMS_PER_PAGE;
    const int expected = 1 + (events + rows - 1) / rows + (diagrams + perPage - 1) / perPage;
    QCOMPARE(Pages(path), expected);
    const QString info = Run(QStringLiteral("pdfinfo"), { path });
    QVERIFY2(info.contains(size == QPageSize::A4 ? QLatin1String("(A4)") : QLatin1String("(letter)")),
        qPrintable(info));
    QVERIFY(PageText(path, expected).contains(QStringLiteral("Page %1 of %1").arg(expected)));
}

void TestReport::textHoldsTheSummary_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("events");
    QTest::newRow("english") << "en_US"
                             << "Summary by band"
                             << "Events";
    QTest::newRow("russian") << "ru_RU" << QStringLiteral("Сводка по диапазонам") << QStringLiteral("События");
}

void TestReport::textHoldsTheSummary()
{
    QFETCH(QString, language);
    QFETCH(QString, heading);
    QFETCH(QString, events);
    CTranslationSet::Instance().SetLanguage(language);
    const QString path = m_dir.filePath(QStringLiteral("text.pdf"));
    QString error;
    // Band 1: events 0, 2, 4 (peaks -50, -52, -54); band 2: 1 and 3.
    QVERIFY2(CReportWriter::Write(Input(5, 0, QPageSize::A4), path, error), qPrintable(error));
    CTranslationSet::Instance().SetLanguage(QStringLiteral("en_US"));
    const QString summary = PageText(path, 1);
    QVERIFY2(summary.contains(heading), qPrintable(summary));
    QVERIFY(summary.contains(QLatin1String("Room 12")) && summary.contains(QLatin1String("A. Petrov")));
    const auto row = [&summary](const QString& pattern) {
        return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(summary).hasMatch();
    };
    const QString dbm = language == QLatin1String("ru_RU") ? QStringLiteral("дБм") : QStringLiteral("dBm");
    QVERIFY2(row(QStringLiteral("^\\s*Band1\\s+-70 %1\\s+3\\s+-50 %1\\s+0:00:30\\s*$").arg(dbm)), qPrintable(summary));
    QVERIFY(row(QStringLiteral("^\\s*Band2\\s+-70 %1\\s+2\\s+-51 %1\\s+0:00:20\\s*$").arg(dbm)));
    QVERIFY(row(QStringLiteral("^\\s*Band3\\s+-70 %1\\s+0\\s+-90 %1\\s+0:00:00\\s*$").arg(dbm)));
    QVERIFY(row(QStringLiteral("\\s5\\s+-50 %1\\s+0:00:50\\s*$").arg(dbm)));
    const QString table = PageText(path, 2);
    QVERIFY2(table.contains(events), qPrintable(table));
    QVERIFY(table.contains(CReportWriter::FormatTime(T0 + 4 * 60)));
}

void TestReport::failureLeavesNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("missing/report.pdf"));
    QString error;
    QVERIFY(!CReportWriter::Write(Input(3, 0, QPageSize::A4), path, error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestReport::fromFiles()
{
    const QString log = m_dir.filePath(QStringLiteral("log_0101_0000.ldf"));
    const QString live = m_dir.filePath(QStringLiteral("AUTO_rt_0101_0100.rdf"));
    QVERIFY(
        CDataFile::Save(log, QStringLiteral("RZ450"), 2, { Record(1, 0, -60, -70, 10), Record(2, 30, -50, -75, 4) }));
    QVERIFY(
        CDataFile::Save(live, QStringLiteral("RZ450"), 1, { Record(1, 3600, -65, -70), Record(1, 3601, -80, -70) }));
    CRecordingDeviceGui gui(QStringLiteral("RZ450"));
    REPORT_INPUT input;
    input.paper = QPageSize::Letter;
    QString error;
    QVERIFY2(CReportBuilder::FromFiles({ log, live }, QString(), &gui, input, error), qPrintable(error));
    QCOMPARE(input.sources,
        QStringList({ QStringLiteral("log_0101_0000.ldf"), QStringLiteral("AUTO_rt_0101_0100.rdf") }));
    QCOMPARE(input.data.Events().size(), 3);
    QCOMPARE(input.from.toSecsSinceEpoch(), qint64(T0));
    QCOMPARE(input.to.toSecsSinceEpoch(), qint64(T0 + 3601));
    QCOMPARE(input.detectorId, QStringLiteral("RZ450"));
    QVERIFY2(input.settings.contains(QLatin1String("Thresholds: Band1 -70 dBm, Band2 -75 dBm")),
        qPrintable(input.settings));
    QCOMPARE(input.paper, QPageSize::Letter);
    QCOMPARE(input.diagrams.size(), 2);
    QCOMPARE(input.diagrams.at(0).picture.boundingRect().size(),
        QSize(CReportBuilder::DIAGRAM_WIDTH, CReportBuilder::DIAGRAM_HEIGHT));

    const REPORT_INPUT before = input;
    QVERIFY(
        !CReportBuilder::FromFiles({ log, m_dir.filePath(QStringLiteral("gone.ldf")) }, QString(), &gui, input, error));
    QVERIFY2(error.contains(QLatin1String("gone.ldf")), qPrintable(error));
    QCOMPARE(input.sources, before.sources);
    QVERIFY(!CReportBuilder::FromFiles({ log }, QStringLiteral("RZ900"), &gui, input, error));
}

void TestReport::baselineSection_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<double>("rise"); // of band 2, dB
    QTest::addColumn<bool>("compared");
    QTest::addColumn<QString>("expected"); // a line of the section, or a part of the error
    // FROM and TO stand for the times of the run's first and last record.
    QTest::newRow("a band over") << "Room 12" << 20.0 << true << "^\\s*Band2\\s+FROM\\s+TO\\s+-45 dBm\\s+20.0 dB\\s*$";
    QTest::newRow("within the margin") << "Room 12" << 6.0 << true << "^No band stood over its baseline.$";
    QTest::newRow("missing site") << "Room 13" << 20.0 << false << "no site named";
    QTest::newRow("damaged baseline") << "Damaged" << 20.0 << false << "is damaged";
}

// Band 2, at -65 dBm in the baseline, rises for two seconds in a data file.
void TestReport::baselineSection()
{
    QFETCH(QString, site);
    QFETCH(double, rise);
    QFETCH(bool, compared);
    QFETCH(QString, expected);
    const QTemporaryDir storage;
    CBaseline baseline;
    baseline.site = QStringLiteral("Room 12");
    baseline.start = QDateTime::fromSecsSinceEpoch(qint64(T0), Qt::UTC);
    baseline.nSeconds = 60;
    baseline.bands
        = { { 1, QStringLiteral("Band1/"), -80, -75, -74, 60 }, { 2, QStringLiteral("Band2/"), -70, -65, -64, 60 } };
    QString path, error;
    QVERIFY(CBaselineFile::Save(storage.path(), baseline, path, error));
    baseline.site = QStringLiteral("Damaged");
    QVERIFY(CBaselineFile::Save(storage.path(), baseline, path, error));
    QFile(path).resize(10);
    const QString data = m_dir.filePath(QStringLiteral("rose.rdf"));
    QVERIFY(CDataFile::Save(data, QStringLiteral("RZ450"), 1,
        { Record(1, 100, -75, -40), Record(2, 100, -65 + rise, -40), Record(2, 101, -70 + rise, -40),
            Record(2, 102, -65, -40) }));
    REPORT_INPUT input = Input(0, 0, QPageSize::A4);
    QCOMPARE(CReportBaseline::FromFiles(storage.path(), site, { data }, QStringLiteral("RZ450"),
                 CBaselineComparator::DEFAULT_MARGIN_DB, input.baseline, error),
        compared);
    if (!compared) {
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY(input.baseline.site.isEmpty());
        return;
    }
    const QString pdf = m_dir.filePath(QStringLiteral("baseline.pdf"));
    QVERIFY2(CReportWriter::Write(input, pdf, error), qPrintable(error));
    QCOMPARE(Pages(pdf), 2);
    const QString text = PageText(pdf, 2);
    QVERIFY2(text.contains(
                 QStringLiteral("Compared with the baseline of Room 12, %1").arg(CReportWriter::FormatTime(T0))),
        qPrintable(text));
    expected.replace(QLatin1String("FROM"), CReportWriter::FormatTime(T0 + 100))
        .replace(QLatin1String("TO"), CReportWriter::FormatTime(T0 + 101));
    QVERIFY2(text.contains(QRegularExpression(expected, QRegularExpression::MultilineOption)), qPrintable(text));
}

void TestReport::alertsSection_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QStringList>("shown");
    // Room 12 alerted at T0 + 100 for 12 s, Hall at T0 + 5000 and still does.
    const QStringList both { QStringLiteral("Room 12"), QStringLiteral("Hall") };
    QTest::newRow("no time range: all") << qint64(-1) << qint64(-1) << both;
    QTest::newRow("the first hour") << qint64(T0) << qint64(T0 + 3600) << QStringList { QStringLiteral("Room 12") };
    QTest::newRow("ended before it") << qint64(T0 + 200) << qint64(T0 + 6000) << QStringList { QStringLiteral("Hall") };
    QTest::newRow("none in it") << qint64(T0 - 100) << qint64(T0 - 10) << QStringList();
}

void TestReport::alertsSection()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QStringList, shown);
    const QTemporaryDir storage;
    const QString log = CAlertLogFile::PathIn(storage.path());
    QString error;
    ALERT alert;
    alert.detector = QStringLiteral("Room 12");
    alert.bandName = QStringLiteral("GSM 1800/");
    alert.startedMs = qint64(T0 + 100) * 1000;
    alert.peakDbm = -41;
    QVERIFY(CAlertLogFile::Append(log, { CAlertLogCodec::Started, alert }, error));
    alert.endedMs = alert.startedMs + 12000;
    QVERIFY(CAlertLogFile::Append(log, { CAlertLogCodec::Ended, alert }, error));
    alert.acknowledgedBy = QStringLiteral("Olga");
    alert.acknowledgedMs = alert.endedMs;
    QVERIFY(CAlertLogFile::Append(log, { CAlertLogCodec::Acknowledged, alert }, error));
    ALERT hall;
    hall.detector = QStringLiteral("Hall");
    hall.bandName = QStringLiteral("DECT/");
    hall.startedMs = qint64(T0 + 5000) * 1000;
    hall.peakDbm = -50;
    QVERIFY(CAlertLogFile::Append(log, { CAlertLogCodec::Started, hall }, error));
    REPORT_INPUT input = Input(0, 0, QPageSize::A4);
    const auto moment
        = [](qint64 seconds) { return seconds < 0 ? QDateTime() : QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); };
    QVERIFY2(CReportAlerts::Load(storage.path(), moment(from), moment(to), input.alerts, error), qPrintable(error));
    QCOMPARE(input.alerts.size(), shown.size());
    const QString pdf = m_dir.filePath(QStringLiteral("alerts.pdf"));
    QVERIFY2(CReportWriter::Write(input, pdf, error), qPrintable(error));
    QCOMPARE(Pages(pdf), shown.isEmpty() ? 1 : 2);
    if (shown.isEmpty())
        return;
    const QString text = PageText(pdf, 2);
    QVERIFY2(text.contains(QLatin1String("Alerts")), qPrintable(text));
    for (const QString& detector : shown)
        QVERIFY2(text.contains(detector), qPrintable(text));
    QCOMPARE(text.contains(QLatin1String("Olga")), shown.contains(QLatin1String("Room 12")));
    QCOMPARE(text.contains(QLatin1String("lasting")), shown.contains(QLatin1String("Hall")));
}

void TestReport::dialogEditsTheTitleBlock()
{
    REPORT_INPUT input = Input(1, 0, QPageSize::Letter);
    input.from = QDateTime::fromSecsSinceEpoch(qint64(T0));
    CReportDialog dialog(input, m_dir.filePath(QStringLiteral("out")));
    QCOMPARE(dialog.Path(), m_dir.filePath(QStringLiteral("out.pdf")));
    dialog.findChild<QLineEdit*>(QStringLiteral("m_pSiteEdit"))->setText(QStringLiteral("  Hall B "));
    dialog.findChild<QDateTimeEdit*>(QStringLiteral("m_pFromEdit"))->setDateTime(input.from.addSecs(60));
    REPORT_INPUT edited = input;
    dialog.Apply(edited);
    QCOMPARE(edited.site, QStringLiteral("Hall B"));
    QCOMPARE(edited.operatorName, input.operatorName);
    QCOMPARE(edited.from, input.from.addSecs(60));
    QCOMPARE(edited.paper, QPageSize::Letter);
    // The date edits show now where the data has no range, which is none of it.
    QVERIFY(!edited.to.isValid());
    REPORT_INPUT none;
    CReportDialog empty(none, m_dir.filePath(QStringLiteral("none")));
    empty.Apply(none);
    QVERIFY(!none.from.isValid() && !none.to.isValid());
    dialog.accept();
    QCOMPARE(CReportDialog::DefaultPaper(), QPageSize::Letter);
}

QTEST_MAIN(TestReport)
#include "tst_Report.moc"
