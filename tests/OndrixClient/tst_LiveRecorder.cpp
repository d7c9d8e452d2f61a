// The recording on disk while the client runs: what a crash would leave.
#include "CDataFile.h"
#include "CLiveRecorder.h"
#include "CRecordingRecovery.h"
#include "CRecordingCodec.h"
#include "CRecordingReader.h"

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
        if (i % 50 == 49 && recorder.Flush())
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
    void keptRecordingBecomesADataFile();
    void fullDiskStopsAndKeepsWhatWasWritten();
    void killedProcessKeepsEveryFlushedRecord();
    void readInChunksAsWhole_data();
    void readInChunksAsWhole();
    void longRecordingIsKeptInPieces();
    void failedPieceTakesTheEarlierOnesBack();
    void recordingInUseIsLeftAlone_data();
    void recordingInUseIsLeftAlone();
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
    QVERIFY(recorder.Flush());
    for (int i = 50; i < 60; ++i)
        recorder.Append(Record(i));
    CRecordingCodec::CONTENTS contents = OnDisk(recorder.Path());
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), 50);
    QCOMPARE(contents.sweeps.size(), 1);
    QCOMPARE(contents.device, QStringLiteral("RZ450"));
    // The timer flushes the rest within its second.
    QTRY_COMPARE_WITH_TIMEOUT(OnDisk(recorder.Path()).records.size(), 60, 3000);
    const QString path = recorder.Path();
    recorder.Discard();
    QVERIFY(!QFile::exists(path));
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
    QVERIFY(!recorder.Flush());
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!recorder.IsRecording());
    QVERIFY(!recorder.Start(QStringLiteral("/proc/no-such-folder"), QString(), error));
    QVERIFY(!error.isEmpty());
}

// What a crash left, kept: an ordinary data file of the same records, for
// the device it came from; the recording itself goes.
void tst_LiveRecorder::keptRecordingBecomesADataFile()
{
    QTemporaryDir folder;
    const QString left = folder.filePath(QStringLiteral("left.orzrec"));
    {
        CLiveRecorder recorder;
        QString error;
        QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
        for (int i = 0; i < 20; ++i)
            recorder.Append(Record(i));
        QVERIFY(recorder.Flush());
        QVERIFY(QFile::copy(recorder.Path(), left));
    }
    QFile cut(left);
    QVERIFY(cut.resize(cut.size() - 3));
    QString savedAs;
    QString error;
    QVERIFY2(CRecordingRecovery::Keep(left, savedAs, error), qPrintable(error));
    QVERIFY(!QFile::exists(left));
    QVERIFY(QFileInfo(savedAs).fileName().startsWith(QStringLiteral("Recovered_rt_")));
    QList<CRecord> records;
    qint32 kind = -1;
    QCOMPARE(CDataFile::Load(savedAs, QStringLiteral("RZ450"), records, kind), CDataFile::Ok);
    QCOMPARE(records.size(), 19);
    QCOMPARE(kind, 1);
    QVERIFY(!CRecordingRecovery::Keep(left, savedAs, error));
    // A second one cut in the same minute gets a name of its own.
    const QString first = savedAs;
    {
        CLiveRecorder recorder;
        QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
        for (int i = 0; i < 5; ++i)
            recorder.Append(Record(i));
        QVERIFY(recorder.Flush());
        QVERIFY(QFile::copy(recorder.Path(), left));
    }
    QVERIFY(CRecordingRecovery::Keep(left, savedAs, error));
    QVERIFY(savedAs != first && QFile::exists(first));
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
        for (int i = 0; i < 400 && recorder.IsRecording(); ++i) {
            recorder.Append(Record(i));
            if (i % 10 == 9 && recorder.Flush())
                flushed = i + 1;
        }
    }
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!recorder.IsRecording());
    QVERIFY(stopped.first().first().toString().contains(QStringLiteral("kept")));
    const CRecordingCodec::CONTENTS contents
        = OnDisk(QDir(folder.path()).entryInfoList({ QStringLiteral("*.orzrec") }, QDir::Files).first().filePath());
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
    const QFileInfoList left = QDir(folder.path()).entryInfoList({ QStringLiteral("*.orzrec") }, QDir::Files);
    QCOMPARE(left.size(), 1);
    // Its lock stays behind, held by nobody.
    QVERIFY(QFile::exists(left.first().filePath() + QStringLiteral(".lock")));
    QVERIFY(CLiveRecorder::Claim(left.first().filePath()));
    QString savedAs;
    QString error;
    QVERIFY2(CRecordingRecovery::Keep(left.first().filePath(), savedAs, error), qPrintable(error));
    QList<CRecord> records;
    qint32 kind = -1;
    QCOMPARE(CDataFile::Load(savedAs, QStringLiteral("RZ450"), records, kind), CDataFile::Ok);
    QVERIFY2(records.size() >= flushed, qPrintable(QStringLiteral("%1 of %2").arg(records.size()).arg(flushed)));
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(records.at(i).time, Record(i).time);
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

// Days of recording become several data files, none of them more than
// memory holds, and together every record.
void tst_LiveRecorder::longRecordingIsKeptInPieces()
{
    QTemporaryDir folder;
    const QString path = CutRecording(folder, 2501);
    QString savedAs;
    QString error;
    QVERIFY2(CRecordingRecovery::Keep(path, savedAs, error, 1000), qPrintable(error));
    QVERIFY(!QFile::exists(path));
    const QFileInfoList kept = QDir(folder.path()).entryInfoList({ QStringLiteral("*.rdf") }, QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), 3);
    QCOMPARE(kept.first().filePath(), savedAs);
    quint64 next = Record(0).time;
    for (const QFileInfo& file : kept) {
        QList<CRecord> records;
        qint32 kind = -1;
        QCOMPARE(CDataFile::Load(file.filePath(), QStringLiteral("RZ450"), records, kind), CDataFile::Ok);
        QCOMPARE(kind, 1);
        QVERIFY(records.size() <= 1000);
        for (const CRecord& record : records)
            QCOMPARE(record.time, next++);
    }
    QCOMPARE(next, Record(2500).time);
}

// A disk that fills during the second piece: the first goes again, so that
// keeping the recording later gives each record once.
void tst_LiveRecorder::failedPieceTakesTheEarlierOnesBack()
{
    QTemporaryDir folder;
    QByteArray bytes = CRecordingCodec::Header();
    for (int i = 0; i < 200; ++i) {
        CRecord record = Record(i);
        // The second piece is far larger than the first.
        record.values.resize(i < 100 ? 0 : 20);
        bytes += CRecordingCodec::RecordFrame(record);
    }
    const QString path = folder.filePath(QStringLiteral("full.orzrec"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QString savedAs;
    QString error;
    {
        CFileSizeLimit limit(bytes.size() / 2);
        QVERIFY(!CRecordingRecovery::Keep(path, savedAs, error, 100));
    }
    QVERIFY(QFile::exists(path));
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

// Another client's recording in the same storage folder is neither offered
// nor removed at start, however empty it still is.
void tst_LiveRecorder::recordingInUseIsLeftAlone()
{
    QFETCH(QByteArray, lock);
    QFETCH(int, lockAgeS);
    QFETCH(bool, leftAlone);
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QString error;
    QVERIFY(recorder.Start(folder.path(), QStringLiteral("RZ450"), error));
    const QString path = recorder.Path();
    const QString lockPath = path + QStringLiteral(".lock");
    QFile lockFile(lockPath);
    if (lock != "held") {
        // The same file left behind, with its lock as the row has it.
        QVERIFY(QFile::copy(path, path + QStringLiteral(".copy")));
        recorder.Discard();
        QVERIFY(QFile::rename(path + QStringLiteral(".copy"), path));
        QVERIFY(lock == "none"
            || (lockFile.open(QIODevice::ReadWrite)
                && lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-lockAgeS), QFileDevice::FileModificationTime)));
    }
    CRecordingRecovery::Offer(nullptr, folder.path());
    // A recording without records is removed unasked when nobody holds it.
    QCOMPARE(QFile::exists(path), leftAlone);
    QCOMPARE(QFile::exists(lockPath), leftAlone);
    if (lock == "held") {
        recorder.Append(Record(1));
        QVERIFY(recorder.Flush());
        QCOMPARE(OnDisk(path).records.size(), 1);
    }
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
