// The recording on disk while the client runs: what a crash would leave.
#include "files/CDataFile.h"
#include "files/CRecordingCodec.h"
#include "files/CRecordingReader.h"
#include "files/CRecordingTrailer.h"
#include "live/CLiveRecorder.h"
#include "live/CRealtimeSaver.h"
#include "live/CRecordingCloser.h"
#include "live/CRecordingRetention.h"

#include <QLockFile>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

CRecordingCodec::CONTENTS OnDisk(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? CRecordingCodec::Decode(file.readAll()) : CRecordingCodec::CONTENTS();
}

QStringList Recordings(const QString& storage)
{
    return CRecordingRetention::List(CLiveRecorder::Folder(storage));
}

CRecord Record(int i)
{
    CRecord record;
    record.time = 1700000000u + quint64(i);
    record.band = i % 31;
    return record;
}

// The child of killedProcessKeepsEveryFlushedRecord: records without end,
// telling after each flush how many records are on disk.
int RecordUntilKilled(const QString& folder)
{
    CLiveRecorder recorder;
    QString error;
    if (!recorder.Start(folder, QStringLiteral("RZ450"), error))
        return 1;
    QTextStream out(stdout);
    for (int i = 0;; ++i) {
        recorder.Append(Record(i));
        if (i % 50 != 49)
            continue;
        recorder.Drain();
        if (recorder.IsRecording())
            out << "flushed " << (i + 1) << Qt::endl;
    }
}

// Writes past this size fail as on a full disk, part-way through a frame.
struct CFileSizeLimit
{
    explicit CFileSizeLimit(rlim_t bytes)
        : oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    rlimit saved {};
    void (*oldHandler)(int);
};

} // namespace

class tst_LiveRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void diskHoldsEverythingUpToTheLastFlush();
    void removedFolderStopsWithAMessage();
    void savedSessionBecomesDataFiles_data();
    void savedSessionBecomesDataFiles();
    void fullDiskStopsAndKeepsWhatWasWritten();
    void killedProcessKeepsEveryFlushedRecord();
    void readInChunksAsWhole_data();
    void readInChunksAsWhole();
    void failedPieceTakesTheEarlierOnesBack();
    void recordingInUseIsLeftAlone_data();
    void recordingInUseIsLeftAlone();
    void interruptedRecordingIsClosedWhereItWasCut_data();
    void interruptedRecordingIsClosedWhereItWasCut();
    void retentionDeletesTheOldest_data();
    void retentionDeletesTheOldest();
};

// Killed between two flushes, the process leaves exactly the bytes written
// at the last one: the file as it stands is what a crash leaves.
void tst_LiveRecorder::diskHoldsEverythingUpToTheLastFlush()
{
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QString error;
    QVERIFY2(recorder.Start(folder.path(), QStringLiteral("RZ450"), error), qPrintable(error));
    for (int i = 0; i < 50; ++i)
        recorder.Append(Record(i));
    SPECTRUM_SWEEP sweep;
    sweep.time = 49;
    sweep.points = QByteArray(160, '\3');
    recorder.AppendSweep(sweep);
    recorder.Drain();
    for (int i = 50; i < 60; ++i)
        recorder.Append(Record(i));
    CRecordingCodec::CONTENTS contents = OnDisk(recorder.Path());
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), 50);
    QCOMPARE(contents.sweeps.size(), 1);
    QCOMPARE(contents.device, QStringLiteral("RZ450"));
    // The timer flushes the rest within its second.
    QTRY_COMPARE_WITH_TIMEOUT(OnDisk(recorder.Path()).records.size(), 60, 3000);
    // A clean end keeps it, closed with what it holds.
    const QString path = recorder.Path();
    QCOMPARE(Recordings(folder.path()), QStringList { path });
    recorder.Close();
    recorder.Drain();
    CRecordingCodec::SUMMARY summary;
    QVERIFY(CRecordingTrailer::Read(path, summary));
    QCOMPARE(summary.records, 60);
    QCOMPARE(summary.sweeps, 1);
    QCOMPARE(summary.first, Record(0).time);
    QCOMPARE(summary.last, Record(59).time);
    QVERIFY(summary.automatic);
    QVERIFY(!QFile::exists(path + QStringLiteral(".lock")));
}

void tst_LiveRecorder::removedFolderStopsWithAMessage()
{
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("storage"));
    CLiveRecorder recorder;
    QSignalSpy stopped(&recorder, &CLiveRecorder::stopped);
    QString error;
    QVERIFY(recorder.Start(folder, QString(), error));
    QVERIFY(QDir(folder).removeRecursively());
    recorder.Append(Record(1));
    recorder.Drain();
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!recorder.IsRecording());
    QVERIFY(!recorder.Start(QStringLiteral("/proc/no-such-folder"), QString(), error));
    QVERIFY(!error.isEmpty());
}

void tst_LiveRecorder::savedSessionBecomesDataFiles_data()
{
    QTest::addColumn<int>("pieceRecords");
    QTest::addColumn<int>("files");
    QTest::newRow("one data file") << 500000 << 1;
    QTest::newRow("in pieces") << 1000 << 3;
}

// A session that rolled over into several recordings is saved whole, in
// pieces no larger than memory holds; saving again in the same minute
// replaces nothing.
void tst_LiveRecorder::savedSessionBecomesDataFiles()
{
    QFETCH(int, pieceRecords);
    QFETCH(int, files);
    QTemporaryDir folder;
    CLiveRecorder recorder;
    recorder.SetRollBytes(1000);
    QString error;
    QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
    for (int i = 0; i < 2501; ++i) {
        recorder.Append(Record(i));
        if (i % 100 == 99)
            recorder.Drain();
    }
    recorder.Drain();
    const QStringList session = recorder.Session();
    QVERIFY(session.size() > 2);
    CRealtimeSaver saver(nullptr);
    QVERIFY(saver.SaveRecordings(folder.path(), session, true, QStringLiteral("AUTO_"), {}, pieceRecords));
    QCOMPARE(saver.Files().size(), files);
    quint64 next = Record(0).time;
    for (const QString& name : saver.Files()) {
        QList<CRecord> records;
        qint32 kind = -1;
        QCOMPARE(CDataFile::Load(QDir(folder.path()).filePath(name + QStringLiteral(".rdf")), QStringLiteral("RZ450"),
                     records, kind),
            CDataFile::Ok);
        QCOMPARE(kind, 1);
        QVERIFY(records.size() <= pieceRecords);
        for (const CRecord& record : records)
            QCOMPARE(record.time, next++);
    }
    QCOMPARE(next, Record(2501).time);
    const QStringList first = saver.Files();
    QVERIFY(saver.SaveRecordings(folder.path(), session, true, QStringLiteral("AUTO_"), {}, pieceRecords));
    for (const QString& name : saver.Files())
        QVERIFY(!first.contains(name));
    QCOMPARE(QDir(folder.path()).entryList({ QStringLiteral("*.rdf") }).size(), 2 * files);
}

// A file size limit fails writes the way a full disk does, part-way
// through a frame.
void tst_LiveRecorder::fullDiskStopsAndKeepsWhatWasWritten()
{
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QSignalSpy stopped(&recorder, &CLiveRecorder::stopped);
    QString error;
    QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
    int flushed = 0;
    {
        CFileSizeLimit limit(4000);
        for (int i = 0; i < 4000 && recorder.IsRecording(); ++i) {
            recorder.Append(Record(i));
            if (i % 10 != 9)
                continue;
            recorder.Drain();
            if (recorder.IsRecording())
                flushed = i + 1;
        }
    }
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!recorder.IsRecording());
    QVERIFY(stopped.first().first().toString().contains(QStringLiteral("kept")));
    const CRecordingCodec::CONTENTS contents = OnDisk(Recordings(folder.path()).first());
    QVERIFY(flushed > 0);
    QVERIFY(contents.records.size() >= flushed);
    QVERIFY(contents.status == CRecordingCodec::Cut || contents.status == CRecordingCodec::Whole);
}

void tst_LiveRecorder::killedProcessKeepsEveryFlushedRecord()
{
    QTemporaryDir folder;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--record-until-killed"), folder.path() });
    QVERIFY(child.waitForStarted());
    int flushed = 0;
    while (flushed < 2000 && child.waitForReadyRead(10000)) {
        while (child.canReadLine())
            flushed = QString::fromLatin1(child.readLine()).section(QLatin1Char(' '), 1).trimmed().toInt();
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
    QVERIFY(flushed >= 2000);
    const QStringList left = Recordings(folder.path());
    QCOMPARE(left.size(), 1);
    // Its lock stays behind, held by nobody.
    QVERIFY(QFile::exists(left.first() + QStringLiteral(".lock")));
    const CRecordingCloser::CLOSED closed = CRecordingCloser::Close(left.first());
    QVERIFY2(closed.error.isEmpty(), qPrintable(closed.error));
    QVERIFY2(closed.summary.records >= flushed,
        qPrintable(QStringLiteral("%1 of %2").arg(closed.summary.records).arg(flushed)));
    const CRecordingCodec::CONTENTS contents = OnDisk(left.first());
    QCOMPARE(contents.records.size(), closed.summary.records);
    for (int i = 0; i < contents.records.size(); ++i)
        QCOMPARE(contents.records.at(i).time, Record(i).time);
}

// A recording of this many records, cut inside its last frame.
QString CutRecording(const QTemporaryDir& folder, int records)
{
    QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450"));
    for (int i = 0; i < records; ++i)
        bytes += CRecordingCodec::RecordFrame(Record(i));
    const QString path = folder.filePath(QStringLiteral("cut.orzrec"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.chopped(3));
    return path;
}

void tst_LiveRecorder::readInChunksAsWhole_data()
{
    QTest::addColumn<int>("chunk");
    QTest::newRow("a byte at a time") << 1;
    QTest::newRow("frames split anywhere") << 37;
    QTest::newRow("larger than the file") << (1 << 20);
}

void tst_LiveRecorder::readInChunksAsWhole()
{
    QFETCH(int, chunk);
    QTemporaryDir folder;
    const QString path = CutRecording(folder, 300);
    CRecordingReader reader(chunk);
    QVERIFY(reader.Open(path));
    QList<CRecord> records;
    CRecordingCodec::CONTENTS piece;
    while (reader.Next(piece))
        records += piece.records;
    QCOMPARE(reader.Status(), CRecordingCodec::Cut);
    QCOMPARE(reader.Device(), QStringLiteral("RZ450"));
    QCOMPARE(records.size(), 299);
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(records.at(i).time, Record(i).time);
}

// A disk that fills during the second piece: the first goes again, so that
// saving again later gives each record once.
void tst_LiveRecorder::failedPieceTakesTheEarlierOnesBack()
{
    QTemporaryDir folder;
    QList<CRecord> records;
    for (int i = 0; i < 200; ++i) {
        records.append(Record(i));
        // The second piece is far larger than the first.
        records.last().values.resize(i < 100 ? 0 : 20);
    }
    const QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::RecordBlockFrames(records);
    const QString path = folder.filePath(QStringLiteral("full.orzrec"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    CRealtimeSaver saver(nullptr);
    {
        CFileSizeLimit limit(100 * 40);
        QVERIFY(!saver.SaveRecordings(folder.path(), { path }, false, QString(), {}, 100));
    }
    QVERIFY(QFile::exists(path));
    QVERIFY(saver.Files().isEmpty());
    QVERIFY(QDir(folder.path()).entryList({ QStringLiteral("*.rdf") }, QDir::Files).isEmpty());
}

void tst_LiveRecorder::recordingInUseIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<int>("lockAgeS");
    QTest::addColumn<bool>("leftAlone");
    // "held": by this very process, as by another client still running.
    QTest::newRow("held by a running client") << QByteArray("held") << 0 << true;
    QTest::newRow("lock cut short a moment ago") << QByteArray() << 0 << true;
    QTest::newRow("lock cut short by a power cut") << QByteArray() << 3600 << false;
    QTest::newRow("no lock") << QByteArray("none") << 0 << false;
}

// Another client's recording in the same storage folder is not closed at
// start, however empty it still is; one nobody holds is closed and kept.
void tst_LiveRecorder::recordingInUseIsLeftAlone()
{
    QFETCH(QByteArray, lock);
    QFETCH(int, lockAgeS);
    QFETCH(bool, leftAlone);
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QString error;
    QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
    recorder.Drain();
    const QString path = recorder.Path();
    const QString lockPath = path + QStringLiteral(".lock");
    QFile lockFile(lockPath);
    if (lock != "held") {
        // The same file left behind, with its lock as the row has it.
        QVERIFY(QFile::copy(path, path + QStringLiteral(".copy")));
        recorder.Close();
        recorder.Drain();
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(path + QStringLiteral(".copy"), path));
        QVERIFY(lock == "none"
            || (lockFile.open(QIODevice::ReadWrite)
                && lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-lockAgeS),
                    QFileDevice::FileModificationTime)));
    }
    const QList<CRecordingCloser::CLOSED> closed = CRecordingCloser::CloseAll(folder.path());
    CRecordingCodec::SUMMARY summary;
    QCOMPARE(CRecordingTrailer::Read(path, summary), !leftAlone);
    QCOMPARE(closed.size(), leftAlone ? 0 : 1);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFile::exists(lockPath), leftAlone);
    if (lock == "held") {
        recorder.Append(Record(1));
        recorder.Drain();
        QCOMPARE(OnDisk(path).records.size(), 1);
    }
}

void tst_LiveRecorder::interruptedRecordingIsClosedWhereItWasCut_data()
{
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<int>("records"); // read back of 300
    QTest::addColumn<bool>("damaged");
    QTest::newRow("cut inside its last frame") << QByteArray("cut") << 200 << false;
    QTest::newRow("damaged in the middle") << QByteArray("middle") << 200 << true;
    QTest::newRow("damaged at its first frame") << QByteArray("start") << 200 << true;
    QTest::newRow("killed while it was being closed") << QByteArray("closing") << 300 << false;
}

// Whatever a crash left, the next start closes the recording with what can
// be read of it, removes no byte of it, and never counts a record twice.
void tst_LiveRecorder::interruptedRecordingIsClosedWhereItWasCut()
{
    QFETCH(QByteArray, damage);
    QFETCH(int, records);
    QFETCH(bool, damaged);
    QList<CRecord> list;
    for (int i = 0; i < 300; ++i)
        list.append(Record(i));
    QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450"));
    const QByteArray first = CRecordingCodec::RecordBlockFrames(list.mid(0, 100));
    const QByteArray second = CRecordingCodec::RecordBlockFrames(list.mid(100, 100));
    const QByteArray third = CRecordingCodec::RecordBlockFrames(list.mid(200, 100));
    const qint64 firstAt = bytes.size();
    const qint64 secondAt = firstAt + first.size();
    bytes += first + second + third;
    if (damage == "cut")
        bytes.chop(3);
    else if (damage == "middle")
        bytes[secondAt + second.size() / 2] = char(bytes[secondAt + second.size() / 2] ^ 0x55);
    else if (damage == "start")
        bytes[firstAt + 20] = char(bytes[firstAt + 20] ^ 0x55);
    else if (damage == "closing")
        bytes += CRecordingCodec::SummaryFrame(CRecordingCodec::SUMMARY()).chopped(5);
    QTemporaryDir storage;
    QVERIFY(QDir().mkpath(CLiveRecorder::Folder(storage.path())));
    const QString path = QDir(CLiveRecorder::Folder(storage.path())).filePath(QStringLiteral("live-1.orzrec"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const QList<CRecordingCloser::CLOSED> closed = CRecordingCloser::CloseAll(storage.path());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.first().summary.records, records);
    QCOMPARE(closed.first().summary.damagedPlaces > 0, damaged);
    QVERIFY(QFile(path).size() > bytes.size());
    CRecordingCodec::SUMMARY summary;
    QVERIFY(CRecordingTrailer::Read(path, summary));
    QCOMPARE(summary.records, records);
    QVERIFY(CRecordingCloser::Note(closed).contains(QString::number(records)));
    // Closed once: the next start finds nothing to do.
    QVERIFY(CRecordingCloser::CloseAll(storage.path()).isEmpty());
}

void tst_LiveRecorder::retentionDeletesTheOldest_data()
{
    QTest::addColumn<QList<int>>("ages");  // days, oldest first
    QTest::addColumn<qint64>("keepBytes"); // each recording is 1000 bytes
    QTest::addColumn<int>("keepDays");
    QTest::addColumn<int>("kept");
    QTest::newRow("within both") << QList<int> { 3, 2, 1 } << qint64(3000) << 30 << 3;
    QTest::newRow("over the size") << QList<int> { 3, 2, 1 } << qint64(2000) << 30 << 2;
    QTest::newRow("over the age") << QList<int> { 40, 35, 1 } << qint64(10000) << 30 << 1;
    QTest::newRow("never the current one") << QList<int> { 40, 35, 31 } << qint64(10) << 30 << 1;
}

void tst_LiveRecorder::retentionDeletesTheOldest()
{
    QFETCH(QList<int>, ages);
    QFETCH(qint64, keepBytes);
    QFETCH(int, keepDays);
    QFETCH(int, kept);
    QTemporaryDir folder;
    QStringList paths;
    for (int i = 0; i < ages.size(); ++i) {
        paths.append(folder.filePath(QStringLiteral("live-2026010%1.orzrec").arg(i)));
        QFile file(paths.last());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1000, 'x')) == 1000 && file.flush());
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-ages.at(i)), QFileDevice::FileModificationTime));
    }
    RecordingSettings::LIMITS limits;
    limits.keepBytes = keepBytes;
    limits.keepDays = keepDays;
    const QStringList deleted = CRecordingRetention::Apply(folder.path(), limits, { paths.last() });
    QCOMPARE(deleted, paths.mid(0, paths.size() - kept));
    QCOMPARE(CRecordingRetention::List(folder.path()), paths.mid(paths.size() - kept));
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--record-until-killed")
        return RecordUntilKilled(QString::fromLocal8Bit(argv[2]));
    tst_LiveRecorder test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_LiveRecorder.moc"
