// Replays of recordings and realtime data files into the live views.
#include "CFakeDevice.h"
#include "CModalWatcher.h"
#include "CRecordingDeviceGui.h"
#include "app/CClientSession.h"
#include "diagram/CQDiagramWidget.h"
#include "diagram/DiagramDefaults.h"
#include "files/CDataFile.h"
#include "files/CRecordingCodec.h"
#include "live/CLiveFeed.h"
#include "mainwindow/CMainWindow.h"
#include "proxy/CMetaDevice.h"
#include "replay/CReplayController.h"
#include "replay/CReplayPlayer.h"
#include "replay/CReplaySource.h"
#include "replay/CReplayView.h"

#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const quint64 T0 = 1700000000;

QList<CRecord> Records(int count, int bands = 1)
{
    QList<CRecord> records;
    for (int i = 0; i < count; ++i) {
        CRecord record;
        record.time = T0 + quint64(i);
        record.band = i % bands;
        record.values.append({ -60.0 + i % 7, -50.0, 0, 0 });
        records.append(record);
    }
    return records;
}

int OnDisk(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? int(CRecordingCodec::Decode(file.readAll()).records.size()) : -1;
}

// As the live feed records: a sweep after the last record of its time.
QByteArray Recording(const QList<CRecord>& records, const QList<SPECTRUM_SWEEP>& sweeps = {})
{
    QByteArray bytes = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("FAKE"));
    qsizetype next = 0;
    for (qsizetype i = 0; i < records.size(); ++i) {
        bytes += CRecordingCodec::RecordFrame(records.at(i));
        const bool last = i + 1 == records.size();
        for (; next < sweeps.size() && (last || sweeps.at(next).time < records.at(i + 1).time); ++next)
            bytes += CRecordingCodec::SweepFrame(sweeps.at(next));
    }
    return bytes;
}

SPECTRUM_SWEEP Sweep(quint64 time)
{
    return SPECTRUM_SWEEP { time, QByteArray(160, '\5') };
}

// A sweep after every few records, whatever their time.
QByteArray Interleaved(const QList<CRecord>& records, int sweepEvery)
{
    QByteArray bytes = Recording({});
    for (qsizetype i = 0; i < records.size(); ++i) {
        bytes += CRecordingCodec::RecordFrame(records.at(i));
        if (i % sweepEvery == sweepEvery - 1)
            bytes += CRecordingCodec::SweepFrame(Sweep(records.at(i).time));
    }
    return bytes;
}

} // namespace

class tst_Replay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void maxSpeedDrawsWhatTheLiveSessionDrew_data();
    void maxSpeedDrawsWhatTheLiveSessionDrew();
    void speedsFeedOnTime_data();
    void speedsFeedOnTime();
    void pauseSeekAndEnd();
    void sweepsFollowTheirRecords();
    void piecesReplayAsTheWholeFile_data();
    void piecesReplayAsTheWholeFile();
    void seekDrawsTheWindowBeforeThePlace();
    void unusableFilesAreRefused_data();
    void unusableFilesAreRefused();
    void windowMarksTheReplayWhileItRuns();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    void Load(const QList<CRecord>& records, const QList<SPECTRUM_SWEEP>& sweeps = {});
    void Load(const QString& path);

    QTemporaryDir m_dir;
    std::unique_ptr<CFakeDevice> m_pFake;
    std::unique_ptr<CRecordingDeviceGui> m_pGui;
    CQDiagramWidget m_diagram;
    CReplaySource m_source;
    std::unique_ptr<CReplayView> m_pView;
    std::unique_ptr<CReplayPlayer> m_pPlayer;
};

void tst_Replay::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    m_diagram.resize(500, 200);
}

void tst_Replay::init()
{
    m_source = CReplaySource();
    m_pFake = std::make_unique<CFakeDevice>();
    m_pGui = std::make_unique<CRecordingDeviceGui>(QStringLiteral("FAKE"));
    auto* device = new CMetaDevice(m_pFake.get());
    device->Initialize();
    CClientSession::SetCurrent(device, m_pGui.get());
}

void tst_Replay::cleanup()
{
    m_pPlayer.reset();
    CClientSession::Release();
    m_pGui.reset();
    m_pFake.reset();
}

QString tst_Replay::Write(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
}

void tst_Replay::Load(const QList<CRecord>& records, const QList<SPECTRUM_SWEEP>& sweeps)
{
    Load(Write(QStringLiteral("r.orzrec"), Recording(records, sweeps)));
}

void tst_Replay::Load(const QString& path)
{
    QString error;
    QVERIFY2(m_source.Load(path, QStringLiteral("FAKE"), error), qPrintable(error));
    m_pView = std::make_unique<CReplayView>(&m_diagram, m_source.Mode());
    m_pPlayer = std::make_unique<CReplayPlayer>(m_source, *m_pView);
    m_pPlayer->Seek(0);
    m_pGui->ClearCalls();
}

// The live feed records what it draws; at the highest speed the recording
// draws it again, pixel for pixel, a step back of the clock included.
void tst_Replay::maxSpeedDrawsWhatTheLiveSessionDrew_data()
{
    QTest::addColumn<quint64>("clockBack");
    QTest::newRow("steady clock") << quint64(0);
    QTest::newRow("clock stepped back") << CFakeDevice::FirstTime() - 100;
}

void tst_Replay::maxSpeedDrawsWhatTheLiveSessionDrew()
{
    QFETCH(quint64, clockBack);
    CQDiagramWidget live;
    live.resize(m_diagram.size());
    const QString copy = m_dir.filePath(QStringLiteral("live.orzrec"));
    QFile::remove(copy);
    {
        CLiveFeed feed(&live);
        feed.SetRecordingFolder(m_dir.path());
        for (int tick = 0; tick < 8; ++tick) {
            if (tick == 5 && clockBack)
                m_pFake->SetClockBase(clockBack);
            m_pFake->AppendRecords(40);
            feed.Poll(CClientSession::Device());
        }
        // The recorder hands its records to the disk once a second.
        QTRY_COMPARE_WITH_TIMEOUT(OnDisk(feed.RecordingPath()), 320, 5000);
        QVERIFY(QFile::copy(feed.RecordingPath(), copy));
    }
    Load(copy);
    m_pPlayer->SetSpeed(CReplayPlayer::SpeedMax);
    m_pPlayer->Play();
    while (m_pPlayer->IsPlaying())
        m_pPlayer->Advance(0);
    QCOMPARE(m_pPlayer->FedEntries(), 320);
    QCOMPARE(m_diagram.grab().toImage(), live.grab().toImage());
}

void tst_Replay::speedsFeedOnTime_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<int>("fed");
    const int many = CReplayPlayer::CHUNK + 5;
    QTest::newRow("1x") << int(CReplayPlayer::SpeedReal) << 10 << 2500 << 3;
    QTest::newRow("10x") << int(CReplayPlayer::SpeedFast) << 10 << 250 << 3;
    QTest::newRow("max, in chunks") << int(CReplayPlayer::SpeedMax) << many << 0 << CReplayPlayer::CHUNK + 1;
    QTest::newRow("1x after a suspend") << int(CReplayPlayer::SpeedReal) << many << 100000000
                                        << CReplayPlayer::CHUNK + 1;
}

void tst_Replay::speedsFeedOnTime()
{
    QFETCH(int, speed);
    QFETCH(int, records);
    QFETCH(int, elapsedMs);
    QFETCH(int, fed);
    Load(Records(records));
    m_pPlayer->SetSpeed(CReplayPlayer::Speed(speed));
    m_pPlayer->Play();
    m_pPlayer->Advance(elapsedMs);
    // The first record was there at the start already.
    QCOMPARE(m_pGui->RecordTimes().size(), fed - 1);
    QCOMPARE(m_pPlayer->FedEntries(), fed);
    QCOMPARE(m_pPlayer->TimeAt(m_pPlayer->Position()), T0 + quint64(fed - 1));
}

void tst_Replay::pauseSeekAndEnd()
{
    Load(Records(10));
    QSignalSpy finished(m_pPlayer.get(), &CReplayPlayer::finished);
    m_pPlayer->SetSpeed(CReplayPlayer::SpeedReal);
    m_pPlayer->Play();
    m_pPlayer->Pause();
    m_pPlayer->Advance(5000);
    QCOMPARE(m_pPlayer->FedEntries(), 1);
    m_pPlayer->Seek(5);
    QCOMPARE(m_pGui->Count(QStringLiteral("InitRealtimeDiagram")), 1);
    QCOMPARE(m_pGui->RecordTimes(), QList<quint64>({ T0, T0 + 1, T0 + 2, T0 + 3, T0 + 4, T0 + 5 }));
    m_pPlayer->Play();
    m_pPlayer->Advance(1000);
    QCOMPARE(m_pGui->RecordTimes().last(), T0 + 6);
    m_pPlayer->Advance(60000);
    QVERIFY(!m_pPlayer->IsPlaying());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(m_pPlayer->Position(), 9);
    // Played again from the end, it starts over.
    m_pPlayer->Play();
    QCOMPARE(m_pPlayer->FedEntries(), 1);
}

void tst_Replay::sweepsFollowTheirRecords()
{
    const QList<SPECTRUM_SWEEP> sweeps = QList<SPECTRUM_SWEEP> { Sweep(T0 + 1), Sweep(T0 + 3) }
        + QList<SPECTRUM_SWEEP>(CReplayPlayer::SEEK_SWEEPS + 10, Sweep(T0 + 9));
    Load(Records(10), sweeps);
    m_pPlayer->SetSpeed(CReplayPlayer::SpeedMax);
    m_pPlayer->Play();
    m_pPlayer->Advance(0);
    QStringList order = m_pGui->Calls().mid(0, 7);
    for (QString& call : order)
        call = call.section(QLatin1Char(':'), 0, 1);
    const QString t = QStringLiteral("AddRealtimeRecord:%1");
    QCOMPARE(order,
        QStringList({ t.arg(T0 + 1), QStringLiteral("ShowSweep"), t.arg(T0 + 2), t.arg(T0 + 3),
            QStringLiteral("ShowSweep"), t.arg(T0 + 4), t.arg(T0 + 5) }));
    // A seek shows no more sweeps than the waterfall holds.
    m_pPlayer->Seek(m_pPlayer->Length());
    QCOMPARE(m_pGui->ShownSweeps().size(), CReplayPlayer::SEEK_SWEEPS);
}

// A long recording replays a piece at a time, and the pieces hand over
// what the whole file would, a step back of the clock included.
void tst_Replay::piecesReplayAsTheWholeFile_data()
{
    QTest::addColumn<qint64>("pieceBytes");
    QTest::newRow("a frame a piece") << qint64(1);
    QTest::newRow("some frames a piece") << qint64(1000);
}

void tst_Replay::piecesReplayAsTheWholeFile()
{
    QFETCH(qint64, pieceBytes);
    QList<CRecord> records = Records(300);
    for (int i = 150; i < 300; ++i)
        records[i].time -= 100;
    const QString path = Write(QStringLiteral("r.orzrec"), Interleaved(records, 7));
    QStringList calls[2];
    qint64 lengths[2];
    for (int run = 0; run < 2; ++run) {
        m_source = CReplaySource(run ? pieceBytes : CReplaySource::PIECE_BYTES);
        Load(path);
        m_pPlayer->SetSpeed(CReplayPlayer::SpeedMax);
        m_pPlayer->Play();
        while (m_pPlayer->IsPlaying())
            m_pPlayer->Advance(0);
        calls[run] = m_pGui->Calls();
        lengths[run] = m_pPlayer->Length();
    }
    QVERIFY(m_source.Pieces().size() > 1);
    QCOMPARE(m_pPlayer->FedEntries(), 300 + 300 / 7);
    QCOMPARE(calls[1], calls[0]);
    QCOMPARE(lengths[1], lengths[0]);
}

// Far into a long recording a seek draws what the diagram's window shows
// before the place, not the hours before that.
void tst_Replay::seekDrawsTheWindowBeforeThePlace()
{
    const qint64 window = qint64(DiagramDefaults::TIME_WINDOW_SECONDS);
    m_source = CReplaySource(1000);
    Load(Records(4 * int(window)));
    m_pPlayer->Seek(3 * window);
    const QList<quint64> times = m_pGui->RecordTimes();
    QCOMPARE(times.last(), T0 + quint64(3 * window));
    QVERIFY(times.first() <= T0 + quint64(2 * window));
    QVERIFY(times.first() > T0 + quint64(window));
    QCOMPARE(m_pPlayer->FedEntries(), 3 * window + 1);
    QCOMPARE(m_pPlayer->TimeAt(m_pPlayer->Position()), T0 + quint64(3 * window));
}

void tst_Replay::unusableFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("records"); // -1: refused
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("says");
    const QByteArray whole = Recording(Records(20));
    QByteArray newer = whole;
    newer[6] = char(CRecordingCodec::VERSION + 1);
    QByteArray other = CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("OTHER"));
    other += CRecordingCodec::RecordFrame(Records(1).first());
    QTest::newRow("garbage") << QByteArray(300, 'x') << -1 << 0 << "neither";
    QTest::newRow("newer version") << newer << -1 << 0 << "newer";
    QTest::newRow("recording of another device") << other << -1 << 0 << "OTHER";
    QTest::newRow("data file of another device")
        << CDataFile::Encode(QStringLiteral("OTHER"), 1, Records(3)) << -1 << 0 << "OTHER";
    QTest::newRow("empty recording") << CRecordingCodec::Header() << -1 << 0 << "nothing";
    QTest::newRow("too large") << QByteArray() << -1 << 0 << "larger";
    QTest::newRow("cut recording") << whole.chopped(3) << 19 << int(IDevice::MODE_MAN) << "ends inside";
    QTest::newRow("recording of several bands") << Recording(Records(4, 2)) << 4 << int(IDevice::MODE_AUTO) << "";
    QTest::newRow("automatic data file") << CDataFile::Encode(QStringLiteral("FAKE"), 1, Records(3)) << 3
                                         << int(IDevice::MODE_AUTO) << "";
}

void tst_Replay::unusableFilesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, records);
    QFETCH(int, mode);
    QFETCH(QString, says);
    const QString path = Write(QStringLiteral("file.rdf"), bytes);
    if (bytes.isEmpty()) // sparse: nothing is really written
        QVERIFY(QFile(path).resize(CReplaySource::MAX_DATA_FILE_BYTES + 1));
    QString error;
    QCOMPARE(m_source.Load(path, QStringLiteral("FAKE"), error), records >= 0);
    QVERIFY2((records >= 0 ? m_source.Note() : error).contains(says), qPrintable(error + m_source.Note()));
    QCOMPARE(m_source.RecordCount(), std::max(0, records));
    QCOMPARE(m_source.Mode(), mode);
}

// The title and the status bar say a replay is showing, the live feed
// leaves the views to it, and all of it goes when the replay ends or the
// window closes.
void tst_Replay::windowMarksTheReplayWhileItRuns()
{
    QSettings().setValue(QStringLiteral("General/StoragePath"), m_dir.path());
    CMainWindow window;
    window.resize(1000, 700);
    auto* replay = window.findChild<CReplayController*>();
    auto* feed = window.findChild<CLiveFeed*>();
    const QString title = window.windowTitle();
    CModalWatcher watcher;
    QVERIFY(!replay->Start(Write(QStringLiteral("bad.orzrec"), QByteArray(50, 'x'))));
    QCOMPARE(watcher.Messages().size(), 1);
    QVERIFY(replay->Start(Write(QStringLiteral("day.orzrec"), Recording(Records(900)))));
    QCOMPARE(window.windowTitle(), title + QStringLiteral(" - Replay: day.orzrec"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("m_pReplayLabel"))->text(), QStringLiteral("Replay"));
    QVERIFY(feed->ViewsHeld());
    replay->Player()->SetSpeed(CReplayPlayer::SpeedMax);
    replay->Player()->Advance(0);
    replay->End();
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(!window.findChild<QLabel*>(QStringLiteral("m_pReplayLabel")));
    QVERIFY(!feed->ViewsHeld());
    QVERIFY(replay->Start(Write(QStringLiteral("day.orzrec"), Recording(Records(900)))));
    window.close();
    QVERIFY(!feed->ViewsHeld());
}

QTEST_MAIN(tst_Replay)
#include "tst_Replay.moc"
