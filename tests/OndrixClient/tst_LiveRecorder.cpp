// The recording on disk while the client runs: what a crash would leave.
#include "CDataFile.h"
#include "CLiveRecorder.h"
#include "CRecordingRecovery.h"
#include "CRecordingCodec.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class tst_LiveRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void diskHoldsEverythingUpToTheLastFlush();
    void removedFolderStopsWithAMessage();
    void keptRecordingBecomesADataFile();
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
    recorder.AppendSpectrum(49, QByteArray(160, '\3'));
    QVERIFY(recorder.Flush());
    for (int i = 50; i < 60; ++i)
        recorder.Append(Record(i));
    CRecordingCodec::CONTENTS contents = OnDisk(recorder.Path());
    QCOMPARE(contents.status, CRecordingCodec::Whole);
    QCOMPARE(contents.records.size(), 50);
    QCOMPARE(contents.spectra.size(), 1);
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

QTEST_GUILESS_MAIN(tst_LiveRecorder)
#include "tst_LiveRecorder.moc"
