// CSV export: what python3's csv module reads back, files that cannot be
// read or written, and the main window's menu entries.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "export/CCsvExport.h"
#include "export/CCsvTable.h"
#include "export/CExportActions.h"
#include "files/CDataFile.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <ctime>
#include <memory>

Q_DECLARE_METATYPE(CRecord)

namespace {

// Reads a CSV file strictly as RFC 4180 and UTF-8 and prints its rows as
// JSON, times as seconds since 1970; a local time whose offset is not the
// system's own for that moment is -1.
const char* const READER = R"(
import csv, datetime, json, sys
def moment(text, local):
    if not text: return None
    t = datetime.datetime.fromisoformat(text)
    ok = not local or t.utcoffset() == datetime.datetime.fromtimestamp(t.timestamp()).astimezone().utcoffset()
    return int(t.timestamp()) if ok else -1
with open(sys.argv[1], newline='', encoding='utf-8', errors='strict') as f:
    rows = list(csv.reader(f, strict=True))
out = [rows[0]]
for r in rows[1:]:
    assert len(r) == 11
    num = lambda i, f=int: f(r[i]) if r[i] else None
    out.append([r[0], num(1), num(2), moment(r[3], True), moment(r[4], False), num(5), r[6], num(7),
                num(8, float), num(9, float), num(10, lambda v: v == 'true')])
json.dump(out, sys.stdout)
)";

constexpr quint64 LAST = 253402300799; // 9999-12-31T23:59:59Z

CRecord Record(int band, const QString& name, quint64 time, QList<RECORD_VALUE> values = { { -61.5, -70, 0, 0 } })
{
    CRecord record;
    record.band = band;
    record.bandName = name;
    record.time = time;
    record.duration = band * 7;
    record.values = values;
    return record;
}

QJsonArray ReadBack(const QString& path)
{
    QProcess python;
    python.start(QStandardPaths::findExecutable(QStringLiteral("python3")), { QStringLiteral("-c"), READER, path });
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qWarning() << python.readAllStandardError();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// The rows of every value of every record, in order, under its source's name.
QJsonArray Expected(const QList<QPair<QString, QList<CRecord>>>& sources)
{
    QJsonArray rows { QJsonArray::fromStringList(CCsvExport::Columns()) };
    for (const auto& [source, records] : sources) {
        for (int r = 0; r < records.size(); ++r) {
            const CRecord& record = records[r];
            const QJsonValue time = record.time <= LAST ? QJsonValue(qint64(record.time)) : QJsonValue();
            for (int v = 0; v < std::max<int>(1, record.values.size()); ++v) {
                const bool any = !record.values.isEmpty();
                const RECORD_VALUE value = any ? record.values[v] : RECORD_VALUE();
                rows.append(QJsonArray { source, r + 1, any ? v + 1 : QJsonValue(), time, time, record.band,
                    record.bandName, record.duration, any ? value.level : QJsonValue(),
                    any ? value.threshold : QJsonValue(), any ? value.level >= value.threshold : QJsonValue() });
            }
        }
    }
    return rows;
}

QString Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

const QString AWKWARD = QStringLiteral("Склад, \"№1\"\r\nэтаж 2");

} // namespace

class tst_CsvExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fieldsAreQuotedAsRfc4180_data();
    void fieldsAreQuotedAsRfc4180();
    void readBackGivesTheRecords_data();
    void readBackGivesTheRecords();
    void unreadableFilesAreLeftOutAndNamed_data();
    void unreadableFilesAreLeftOutAndNamed();
    void unwritableTargetsChangeNothing_data();
    void unwritableTargetsChangeNothing();
    void windowMenusExport();

private:
    QTemporaryDir m_dir;
};

void tst_CsvExport::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty(), "python3 reads the CSV back");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvent"));
    QCoreApplication::setApplicationName(QStringLiteral("RZ450 Ondrix"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    // A decimal comma where the locale has one must not reach the file.
    QLocale::setDefault(QLocale(QLocale::Russian));
}

void tst_CsvExport::fieldsAreQuotedAsRfc4180_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << QStringLiteral("GSM 900/") << QByteArray("GSM 900/");
    QTest::newRow("comma") << QStringLiteral("a,b") << QByteArray("\"a,b\"");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line break") << QStringLiteral("a\r\nb") << QByteArray("\"a\r\nb\"");
    QTest::newRow("cyrillic, UTF-8") << QStringLiteral("Ю") << QByteArray("\xD0\xAE");
}

void tst_CsvExport::fieldsAreQuotedAsRfc4180()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    QCOMPARE(CCsvTable::Field(text), field);
}

void tst_CsvExport::readBackGivesTheRecords_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QList<CRecord>>("records");
    QTest::newRow("Moscow") << QByteArray("Europe/Moscow") << QStringLiteral("log_0301_1405.ldf")
                            << QList<CRecord> { Record(1, QStringLiteral("GSM 900/"), 1772363109),
                                   Record(18, QStringLiteral("SCAN/"), 1772363110, { { -40, -40, 0, 0 } }) };
    QTest::newRow("awkward names") << QByteArray("UTC") << AWKWARD
                                   << QList<CRecord> { Record(2, AWKWARD, 1), Record(3, QStringLiteral("a,\"b\"\n"), 2),
                                          Record(4, QString(), 3) };
    QTest::newRow("none, two and fractional values")
        << QByteArray("Asia/Kolkata") << QString()
        << QList<CRecord> { Record(5, QStringLiteral("3G"), 1772363109, {}),
               Record(6, QStringLiteral("3G"), 1772363110, { { -79.9, -80.1, 1, 2 }, { 0.1 + 0.2, -1e-300, 0, 0 } }) };
    QTest::newRow("New York across the clock change") << QByteArray("America/New_York") << QStringLiteral("dst.rdf")
                                                      << QList<CRecord> { Record(0, QStringLiteral("CDMA"), 1772953199),
                                                             Record(0, QStringLiteral("CDMA"), 1772953200) };
    QTest::newRow("Monrovia, an offset with seconds changed mid-quarter")
        << QByteArray("Africa/Monrovia") << QString()
        << QList<CRecord> { Record(9, QStringLiteral("BT"), 63593069), Record(9, QStringLiteral("BT"), 63593070) };
    QTest::newRow("first and last times, then none")
        << QByteArray("UTC") << QStringLiteral("far.rdf")
        << QList<CRecord> { Record(7, QStringLiteral("WLAN"), 0), Record(7, QStringLiteral("WLAN"), LAST),
               Record(7, QStringLiteral("WLAN"), LAST + 1), Record(7, QStringLiteral("WLAN"), ~0ull) };
}

void tst_CsvExport::readBackGivesTheRecords()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, source);
    QFETCH(QList<CRecord>, records);
    qputenv("TZ", zone);
    tzset();
    const QString path = m_dir.filePath(QStringLiteral("out.csv"));
    QString error;
    QVERIFY2(CCsvExport::WriteRecords(records, source, path, error), qPrintable(error));
    QCOMPARE(ReadBack(path), Expected({ { source, records } }));
    qunsetenv("TZ");
    tzset();
}

void tst_CsvExport::unreadableFilesAreLeftOutAndNamed_data()
{
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<bool>("written");
    QTest::newRow("damaged among good ones") << QStringList { "good", "damaged", "good" } << true;
    QTest::newRow("another device's and a missing one") << QStringList { "other", "good", "missing" } << true;
    QTest::newRow("nothing readable") << QStringList { "damaged", "missing" } << false;
}

void tst_CsvExport::unreadableFilesAreLeftOutAndNamed()
{
    QFETCH(QStringList, kinds);
    QFETCH(bool, written);
    const QString target = Write(m_dir.filePath(QStringLiteral("files.csv")), "old");
    QStringList files;
    QStringList bad;
    QList<QPair<QString, QList<CRecord>>> good;
    for (const QString& kind : kinds) {
        const QString name = QStringLiteral("%1 %2, \"№\".ldf").arg(kind).arg(files.size());
        const QList<CRecord> records { Record(files.size(), AWKWARD, 1772363109 + files.size()) };
        QByteArray bytes = CDataFile::Encode(kind == QLatin1String("other") ? "RZ999" : "RZ450", 2, records);
        if (kind == QLatin1String("damaged"))
            bytes.chop(3);
        files.append(kind == QLatin1String("missing") ? m_dir.filePath(name) : Write(m_dir.filePath(name), bytes));
        if (kind == QLatin1String("good"))
            good.append({ name, records });
        else
            bad.append(name);
    }
    QString error;
    bool wasWritten = !written;
    QCOMPARE(CCsvExport::WriteFiles(files, QStringLiteral("RZ450"), target, error, &wasWritten), bad.isEmpty());
    QCOMPARE(wasWritten, written);
    QCOMPARE(error.count(QLatin1Char('\n')), bad.size());
    for (const QString& name : bad)
        QVERIFY2(error.contains(m_dir.filePath(name)), qPrintable(error));
    if (written)
        QCOMPARE(ReadBack(target), Expected(good));
    else
        QCOMPARE(QFileInfo(target).size(), 3);
}

void tst_CsvExport::unwritableTargetsChangeNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("no/such/folder/out.csv"));
    QTest::newRow("a folder") << m_dir.path();
    QTest::newRow("a folder no one can write") << QStringLiteral("/proc/out.csv");
}

void tst_CsvExport::unwritableTargetsChangeNothing()
{
    QFETCH(QString, target);
    const QString data
        = Write(m_dir.filePath(QStringLiteral("one.rdf")), CDataFile::Encode("RZ450", 1, { Record(1, "G", 5) }));
    QString error;
    QVERIFY(!CCsvExport::WriteRecords({ Record(1, "G", 5) }, QString(), target, error));
    QVERIFY2(error.startsWith(QDir::toNativeSeparators(target) + QStringLiteral(" could not be written: ")),
        qPrintable(error));
    bool written = true;
    QVERIFY(!CCsvExport::WriteFiles({ data }, QStringLiteral("RZ450"), target, error, &written));
    QVERIFY(!written);
    QCOMPARE(CCsvExport::ExportFiles({ data }, QStringLiteral("RZ450"), target, error), CCsvExport::NotWritten);
    QVERIFY(!QFileInfo(target).isFile());
}

void tst_CsvExport::windowMenusExport()
{
    CFakeDevice fake;
    CRecordingDeviceGui gui(QStringLiteral("FAKE"));
    auto* device = new CMetaDevice(&fake);
    device->Initialize();
    CClientSession::SetCurrent(device, &gui);
    const QString storage = m_dir.filePath(QStringLiteral("storage"));
    QDir().mkpath(storage);
    const QList<CRecord> events { Record(1, AWKWARD, 100), Record(2, QStringLiteral("DECT"), 101) };
    Write(storage + QStringLiteral("/log_0101_1200.ldf"), CDataFile::Encode("FAKE", 2, events));
    Write(storage + QStringLiteral("/rt_0101_1300.rdf"), CDataFile::Encode("FAKE", 1, events).chopped(1));
    QSettings().setValue(QStringLiteral("General/StoragePath"), storage);
    // After the window, whatever way the test leaves.
    const std::shared_ptr<void> release(nullptr, [](void*) { CClientSession::Release(); });
    CMainWindow window;
    auto* actions = window.findChild<CExportActions*>();
    QString target;
    actions->SetChooser(
        [&](const QString& suggested) { return target = m_dir.filePath(QFileInfo(suggested).fileName()); });
    CModalWatcher watcher;
    // The root: the damaged realtime file is named, the log exported.
    window.findChild<QAction*>(QStringLiteral("m_pStorageCsvAction"))->trigger();
    QCOMPARE(QFileInfo(target).fileName(), QStringLiteral("storage.csv"));
    QVERIFY(watcher.MessageTexts().value(0).contains(QStringLiteral("rt_0101_1300.rdf")));
    QCOMPARE(ReadBack(target), Expected({ { QStringLiteral("log_0101_1200.ldf"), events } }));
    auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("m_pStorageTree"));
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QTreeWidgetItem* log = root->child(root->child(0)->text(0) == QLatin1String("log_0101_1200") ? 0 : 1);
    // The chosen file alone, named after it.
    log->setSelected(true);
    window.findChild<QAction*>(QStringLiteral("m_pStorageCsvAction"))->trigger();
    QCOMPARE(QFileInfo(target).fileName(), QStringLiteral("log_0101_1200.csv"));
    QCOMPARE(ReadBack(target), Expected({ { QStringLiteral("log_0101_1200.ldf"), events } }));
    QCOMPARE(watcher.Messages().size(), 1);
    // The log opened: its event list.
    tree->setCurrentItem(log);
    window.OnStorageItemActivated(log);
    window.findChild<QAction*>(QStringLiteral("m_pEventsCsvAction"))->trigger();
    QCOMPARE(QFileInfo(target).fileName(), QStringLiteral("log_0101_1200.csv"));
    QCOMPARE(ReadBack(target), Expected({ { QStringLiteral("log_0101_1200.ldf"), events } }));
    // The live session.
    fake.AppendRecords(3);
    window.findChild<QAction*>(QStringLiteral("m_pRealtimeCsvAction"))->trigger();
    QVERIFY(QFileInfo(target).fileName().startsWith(QStringLiteral("live_")));
    QCOMPARE(ReadBack(target), Expected({ { QString(), fake.GetRealtimeRecords() } }));
    QCOMPARE(watcher.Messages().size(), 1);
    window.close();
}

QTEST_MAIN(tst_CsvExport)
#include "tst_CsvExport.moc"
