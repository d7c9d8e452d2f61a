#include "diagram/CQDiagramWidget.h"
#include "diagram/CTimeMarks.h"
#include "files/CDataFile.h"
#include "files/CNoteCodec.h"
#include "files/CNotesFile.h"
#include "files/CRecordingReader.h"
#include "live/CLiveRecorder.h"
#include "live/CRealtimeSaver.h"
#include "notes/CLogNotes.h"
#include "notes/CNoteActions.h"
#include "notes/CNoteDialog.h"
#include "replay/CReplaySource.h"
#include "report/CReportBuilder.h"
#include "report/CReportWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const quint64 T0 = 1700000000;

CRecord Record(quint64 time, int band = 1, double level = -60.0)
{
    CRecord record;
    record.time = time;
    record.band = band;
    record.bandName = QStringLiteral("GSM900-%1").arg(band);
    record.values = { { level, -70.0, 0, 0 } };
    return record;
}

QList<CRecord> Records(int count)
{
    QList<CRecord> records;
    for (int i = 0; i < count; ++i)
        records.append(Record(T0 + quint64(i), 1, -80.0 + i));
    return records;
}

const NOTE DESK { (T0 + 3) * 1000 + 250, QStringLiteral("Северная стена, за столом") };
const NOTE DOOR { (T0 + 8) * 1000, QStringLiteral("door") };

QByteArray Recording(const QList<NOTE>& notes)
{
    QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450"))
        + CRecordingCodec::RecordBlockFrames(Records(10));
    for (const NOTE& note : notes)
        bytes += CRecordingCodec::NoteFrame(note);
    return bytes + CRecordingCodec::RecordBlockFrames({ Record(T0 + 10) });
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class tst_Notes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusesTexts_data();
    void refusesTexts();
    void recordingCarriesNotes_data();
    void recordingCarriesNotes();
    void notesFileSurvivesDamage_data();
    void notesFileSurvivesDamage();
    void liveRecordingAndSaveKeepNotes();
    void readingsOfTheMoment_data();
    void readingsOfTheMoment();
    void reportListsNotes_data();
    void reportListsNotes();
    void shownOnDiagramAndList();
    void liveSessionKeepsItsNotes();
};

void tst_Notes::refusesTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal"); // a word the message holds; empty: accepted
    QTest::newRow("plain") << QStringLiteral("north wall, behind the desk") << QString();
    QTest::newRow("cyrillic, longest") << QString(CNoteCodec::MAX_CHARS, QChar(0x416)) << QString();
    QTest::newRow("100 KB") << QString(100 * 1024, QLatin1Char('x')) << QStringLiteral("at most");
    QTest::newRow("one too long") << QString(CNoteCodec::MAX_CHARS + 1, QLatin1Char('x')) << QStringLiteral("at most");
    QTest::newRow("line break") << QStringLiteral("a\nb") << QStringLiteral("control");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("control");
    QTest::newRow("escape") << QStringLiteral("a\x1b[2Jb") << QStringLiteral("control");
    QTest::newRow("delete") << QStringLiteral("a\x7f") << QStringLiteral("control");
    QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("empty");
}

// The codec, the frame and the dialog refuse alike, and a refused note
// never reaches the bytes.
void tst_Notes::refusesTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QVERIFY(CNoteCodec::Refusal(text).contains(refusal));
    QCOMPARE(CNoteCodec::Refusal(text).isEmpty(), refusal.isEmpty());
    NOTE read;
    const bool decoded = CNoteCodec::Decode(CNoteCodec::Encode({ T0 * 1000, text }), read);
    QCOMPARE(decoded, refusal.isEmpty());
    CNoteDialog dialog(T0 * 1000);
    dialog.SetText(text);
    dialog.accept();
    QCOMPARE(dialog.result() == QDialog::Accepted, refusal.isEmpty());
    // A line edit holds 32767 characters: a longer paste is refused as that.
    QVERIFY(dialog.Error().contains(refusal));
    QCOMPARE(dialog.Error().isEmpty(), refusal.isEmpty());
}

void tst_Notes::recordingCarriesNotes_data()
{
    QTest::addColumn<int>("chunk");    // bytes a piece of the reader holds
    QTest::addColumn<int>("damageAt"); // a byte of the first note's frame spoilt; -1 none
    QTest::newRow("whole") << (8 << 20) << -1;
    QTest::newRow("split into small pieces") << 7 << -1;
    QTest::newRow("first note damaged") << (8 << 20) << 12;
    QTest::newRow("damaged, small pieces") << 7 << 12;
}

// Written between records, read back whole or a piece at a time, and a
// spoilt note costs that note only.
void tst_Notes::recordingCarriesNotes()
{
    QFETCH(int, chunk);
    QFETCH(int, damageAt);
    QByteArray bytes = Recording({ DESK, DOOR });
    if (damageAt >= 0) {
        const qsizetype frame = bytes.indexOf(CRecordingCodec::NoteFrame(DESK));
        bytes[frame + damageAt] = char(bytes[frame + damageAt] ^ 0x5A);
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("session.orzrec"));
    QVERIFY(Write(path, bytes));
    CRecordingReader reader(chunk);
    QVERIFY(reader.Open(path));
    QList<NOTE> notes;
    qsizetype records = 0;
    CRecordingCodec::CONTENTS piece;
    while (reader.Next(piece)) {
        notes += piece.notes;
        records += piece.records.size();
    }
    const QList<NOTE> expected = damageAt >= 0 ? QList<NOTE> { DOOR } : QList<NOTE> { DESK, DOOR };
    QCOMPARE(notes, expected);
    QCOMPARE(records, 11);
    QCOMPARE(reader.Status(), damageAt >= 0 ? CRecordingCodec::Damaged : CRecordingCodec::Whole);
    CReplaySource source(chunk);
    QString error;
    QVERIFY2(source.Load(path, QStringLiteral("RZ450"), error), qPrintable(error));
    QCOMPARE(source.Notes(), expected);
}

void tst_Notes::notesFileSurvivesDamage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("notesRead");
    QTest::addColumn<bool>("whole");
    const QByteArray good = CNotesFile::Encode({ DESK, DOOR });
    QByteArray spoilt = good;
    spoilt[20] = char(spoilt[20] ^ 0x01); // inside the first note
    QTest::newRow("whole") << good << 2 << true;
    QTest::newRow("first note spoilt") << spoilt << 1 << false;
    QTest::newRow("cut in the last note") << good.left(good.size() - 3) << 1 << false;
    QTest::newRow("not a notes file") << QByteArray("ORZREC\2\0garbage", 15) << 0 << false;
    QTest::newRow("empty") << QByteArray() << 0 << false;
}

// A damaged notes file is told, gives what it still holds, and the data
// file beside it loads as before.
void tst_Notes::notesFileSurvivesDamage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, notesRead);
    QFETCH(bool, whole);
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("rt.rdf"));
    QVERIFY(CDataFile::Save(data, QStringLiteral("RZ450"), 0, Records(10)));
    QVERIFY(Write(CNotesFile::PathFor(data), bytes));
    QList<NOTE> notes;
    QString error;
    QCOMPARE(CNotesFile::Load(data, notes, error), whole);
    QCOMPARE(notes.size(), notesRead);
    QCOMPARE(error.isEmpty(), whole);
    QList<CRecord> records;
    qint32 kind = -1;
    QCOMPARE(CDataFile::Load(data, QStringLiteral("RZ450"), records, kind), CDataFile::Ok);
    QCOMPARE(records.size(), 10);
    CReplaySource source;
    QVERIFY(source.Load(data, QStringLiteral("RZ450"), error));
    QCOMPARE(source.Notes().size(), notesRead);
}

// Live: into the recording through the writer's thread; saved: each data
// file, its bytes as without notes, gets the notes up to its last record.
void tst_Notes::liveRecordingAndSaveKeepNotes()
{
    QTemporaryDir storage;
    CLiveRecorder recorder;
    QString error;
    QVERIFY2(recorder.Start(storage.path(), QStringLiteral("RZ450"), error), qPrintable(error));
    const QList<CRecord> records = Records(10);
    for (const CRecord& record : records) {
        recorder.Append(record);
        if (record.time == T0 + 3)
            recorder.AppendNote(DESK);
    }
    recorder.AppendNote(DOOR);
    const QString path = recorder.Path();
    recorder.Close();
    recorder.Drain();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(CRecordingCodec::Decode(file.readAll()).notes, (QList<NOTE> { DESK, DOOR }));

    const QString folder = storage.filePath(QStringLiteral("saved"));
    QVERIFY(QDir().mkpath(folder));
    CRealtimeSaver saver(nullptr);
    QVERIFY(saver.SaveRecordings(folder, { path }, false, QStringLiteral("GSM900_"), {}, 5));
    QCOMPARE(saver.Files().size(), 2);
    const QString first = QDir(folder).filePath(saver.Files().at(0) + QStringLiteral(".rdf"));
    const QString second = QDir(folder).filePath(saver.Files().at(1) + QStringLiteral(".rdf"));
    const QString plain = storage.filePath(QStringLiteral("plain.rdf"));
    QVERIFY(CDataFile::Save(plain, QStringLiteral("RZ450"), 0, records.first(5)));
    QFile a(first), b(plain);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
    QList<NOTE> notes;
    QVERIFY(CNotesFile::Load(first, notes, error));
    QCOMPARE(notes, QList<NOTE> { DESK });
    QVERIFY(CNotesFile::Load(second, notes, error));
    QCOMPARE(notes, QList<NOTE> { DOOR });
}

void tst_Notes::readingsOfTheMoment_data()
{
    QTest::addColumn<quint64>("noteMs");
    QTest::addColumn<QString>("reading"); // "band@level", or "" for none
    QTest::newRow("on a record") << (T0 + 4) * 1000 << QStringLiteral("1@-76");
    QTest::newRow("between, nearer the later") << (T0 + 4) * 1000 + 900 << QStringLiteral("1@-76");
    QTest::newRow("before every record") << (T0 - 20) * 1000 << QStringLiteral("1@-80");
    QTest::newRow("too long after") << (T0 + 31 + CNoteReadings::MAX_SECONDS + 1) * 1000 << QString();
    QTest::newRow("in a gap, equally near: the earlier") << (T0 + 20) * 1000 << QStringLiteral("1@-71");
}

void tst_Notes::readingsOfTheMoment()
{
    QFETCH(quint64, noteMs);
    QFETCH(QString, reading);
    QList<CRecord> records = Records(10);
    records.append(Record(T0 + 31, 2, -50.0));
    std::reverse(records.begin(), records.end()); // any order
    const QList<NOTE_READING> readings = CNoteReadings::For({ { noteMs, QStringLiteral("x") } }, records);
    QCOMPARE(readings.size(), 1);
    const NOTE_READING& got = readings.first();
    QCOMPARE(got.found ? QStringLiteral("%1@%2").arg(got.band).arg(got.level) : QString(), reading);
}

// ondrixctl report and the client's both build through FromFiles.
void tst_Notes::reportListsNotes_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("data file") << QStringLiteral("rt.rdf");
    QTest::newRow("recording") << QStringLiteral("session.orzrec");
}

void tst_Notes::reportListsNotes()
{
    QFETCH(QString, name);
    QTemporaryDir folder;
    const QString data = folder.filePath(name);
    QString error;
    if (name.endsWith(QLatin1String(".rdf")))
        QVERIFY(CDataFile::Save(data, QStringLiteral("RZ450"), 0, Records(10))
            && CNotesFile::Save(data, { DOOR, DESK }, error));
    else
        QVERIFY(Write(data, Recording({ DESK, DOOR })));
    REPORT_INPUT input;
    QVERIFY2(CReportBuilder::FromFiles({ data }, QStringLiteral("RZ450"), nullptr, input, error), qPrintable(error));
    QCOMPARE(input.notes.size(), 2);
    QCOMPARE(input.notes.first().note, DESK);
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    QVERIFY2(CReportWriter::Write(input, pdf, error), qPrintable(error));
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    QVERIFY(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Notes")), qPrintable(text));
    const QString deskLine = text.section(DESK.text, 0, 0).section(QLatin1Char('\n'), -1)
        + text.section(DESK.text, 1).section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(deskLine.contains(QStringLiteral("GSM900-1")) && deskLine.contains(QStringLiteral("-77 dBm")),
        qPrintable(deskLine));
    QVERIFY(text.contains(QStringLiteral("door")));
}

// The mark stands at its time on the diagram; the list rows go among the
// events by time.
void tst_Notes::shownOnDiagramAndList()
{
    QTreeWidget list;
    list.setColumnCount(6);
    const QList<CRecord> records = Records(10);
    for (const CRecord& record : records)
        list.addTopLevelItem(new QTreeWidgetItem({ QString::number(record.time - T0) }));
    CLogNotes::AddRows(&list, records, CNoteReadings::For({ DESK, DOOR }, records));
    QCOMPARE(list.topLevelItemCount(), 12);
    QCOMPARE(list.topLevelItem(4)->text(5), DESK.text);
    QCOMPARE(list.topLevelItem(3)->text(0), QStringLiteral("3"));
    QCOMPARE(list.topLevelItem(10)->text(5), DOOR.text);

    CQDiagramWidget diagram;
    diagram.resize(600, 300);
    diagram.SetSingleDiagramArea();
    diagram.SetDiagramType(0, DIAGRAM_TIME_LINES);
    diagram.SetMaxXRange(QVariant::fromValue<quint64>(T0), QVariant::fromValue<quint64>(T0 + 600), 1.0, true);
    diagram.update();
    CTimeMarks marks(&diagram);
    marks.SetMarks({ { T0 + 300, QStringLiteral("desk") } });
    QImage image(diagram.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    diagram.render(&image);
    const QRect plot = diagram.GetPlotRect(0);
    const int x = plot.left() + plot.width() / 2;
    int coloured = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) {
        for (int dx = -1; dx <= 1; ++dx)
            coloured += image.pixelColor(x + dx, y) == CTimeMarks::COLOUR ? 1 : 0;
    }
    QVERIFY2(coloured > plot.height() / 3, qPrintable(QString::number(coloured)));
    QCOMPARE(marks.TextAt(QPoint(x + 1, plot.center().y())), QStringLiteral("desk"));
    QCOMPARE(marks.TextAt(QPoint(x + 20, plot.center().y())), QString());
    image.save(QDir::temp().filePath(QStringLiteral("ondrix-note-mark.png")));
}

// Refused notes leave no trace; the kept ones are marked where the view
// draws their moment.
void tst_Notes::liveSessionKeepsItsNotes()
{
    QMainWindow window;
    QMenu menu;
    auto* diagram = new CQDiagramWidget(&window);
    CNoteActions actions(&window, { &menu, diagram, window.statusBar() }, nullptr, nullptr);
    QCOMPARE(actions.Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QVERIFY(menu.actions().contains(actions.Action()));
    QVERIFY(actions.Add({ T0 * 1000, QString(100 * 1024, QLatin1Char('x')) }).contains(QStringLiteral("at most")));
    QVERIFY(!actions.Add({ T0 * 1000, QStringLiteral("a\rb") }).isEmpty());
    QVERIFY(actions.Add(DESK).isEmpty());
    QCOMPARE(actions.Notes(), QList<NOTE> { DESK });
    QCOMPARE(actions.Marks()->Marks().size(), 1);
    QCOMPARE(actions.Marks()->Marks().first().time, T0 + 3);
    actions.Clear();
    QVERIFY(actions.Marks()->Marks().isEmpty());
}

QTEST_MAIN(tst_Notes)
#include "tst_Notes.moc"
