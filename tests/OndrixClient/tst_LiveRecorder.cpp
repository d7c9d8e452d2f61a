// The recording on disk while the client runs: what a crash would leave.
#include "CLiveRecorder.h"
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
};

// Killed between two flushes, the process leaves exactly the bytes written
// at the last one: the file as it stands is what a crash leaves.
void tst_LiveRecorder::diskHoldsEverythingUpToTheLastFlush()
{
    QTemporaryDir folder;
    CLiveRecorder recorder;
    QString error;
    QVERIFY2(recorder.Start(folder.path(), error), qPrintable(error));
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
    QVERIFY(recorder.Start(folder, error));
    QVERIFY(QDir(folder).removeRecursively());
    recorder.Append(Record(1));
    QVERIFY(!recorder.Flush());
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!recorder.IsRecording());
    QVERIFY(!recorder.Start(QStringLiteral("/proc/no-such-folder"), error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_LiveRecorder)
#include "tst_LiveRecorder.moc"
