// Replay benchmark: a recording of some hours at line rate (270 records a
// second and 10 sweeps a second) replayed into the realtime diagram: the
// time loading (checking the whole file) takes, a seek into the middle and
// to the end, playing all of it at the highest speed, and the resident
// memory each adds. A replay holds one piece of its file at a time, so the
// memory should not grow with the hours.
// build/bin/bench_Replay [hours]
#include "CProcessUsage.h"
#include "CRZ450DeviceGui.h"
#include "IDevice.h"
#include "app/CClientSession.h"
#include "diagram/CQDiagramWidget.h"
#include "files/CRecordingCodec.h"
#include "replay/CReplayPlayer.h"
#include "replay/CReplaySource.h"
#include "replay/CReplayView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const int RECORDS_PER_SECOND = 270;
const int SWEEPS_PER_SECOND = 10;
const quint64 START_TIME = 1767225600;

// The recording a live session of this many hours leaves.
bool WriteRecording(const QString& path, int hours)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(CRecordingCodec::Header() + CRecordingCodec::DeviceFrame(QStringLiteral("RZ450")));
    CRecord record;
    record.band = 18;
    record.bandName = QStringLiteral("Scan range");
    record.duration = 1;
    record.values.append({ -60.0, -50.0, 0, 0 });
    SPECTRUM_SWEEP sweep;
    sweep.points = QByteArray(160, '\x20');
    sweep.rangeStartMhz = 100;
    sweep.rangeEndMhz = 2400;
    for (quint64 second = 0; second < quint64(hours) * 3600; ++second) {
        QByteArray bytes;
        record.time = START_TIME + second;
        for (int r = 0; r < RECORDS_PER_SECOND; ++r) {
            record.values[0].level = -90.0 + (second * 7 + quint64(r)) % 50;
            bytes += CRecordingCodec::RecordFrame(record);
        }
        sweep.time = record.time;
        for (int s = 0; s < SWEEPS_PER_SECOND; ++s)
            bytes += CRecordingCodec::SweepFrame(sweep);
        if (file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

double Ms(QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

void Report(const char* what, double ms, double before)
{
    std::printf("  %-22s %9.0f ms   resident %+7.1f MB\n", what, ms, CProcessUsage::ResidentMb() - before);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int hours = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hours.orzrec"));
    if (!WriteRecording(path, hours)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    CQDiagramWidget diagram;
    diagram.resize(1000, 400);
    CRZ450DeviceGui gui;
    CClientSession::SetCurrent(nullptr, &gui);
    const double before = CProcessUsage::ResidentMb();
    QElapsedTimer clock;
    clock.start();
    CReplaySource source;
    QString error;
    if (!source.Load(path, QStringLiteral("RZ450"), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("Replay of %d h (%lld records, %.0f MB on disk, %lld pieces):\n", hours,
        qlonglong(source.RecordCount()), double(QFile(path).size()) / 1048576.0, qlonglong(source.Pieces().size()));
    Report("load", Ms(clock), before);
    CReplayView view(&diagram, IDevice::MODE_MAN);
    CReplayPlayer player(source, view);
    clock.restart();
    player.Seek(player.Length() / 2);
    Report("seek to the middle", Ms(clock), before);
    clock.restart();
    player.Seek(player.Length());
    Report("seek to the end", Ms(clock), before);
    player.SetSpeed(CReplayPlayer::SpeedMax);
    clock.restart();
    player.Play();
    while (player.IsPlaying())
        player.Advance(0);
    const double playMs = Ms(clock);
    Report("play all at Max", playMs, before);
    std::printf("  %.2f us a record played (decoding, scheduling, drawing into the diagram's lines)\n",
        playMs * 1000.0 / double(source.RecordCount()));
    CClientSession::SetCurrent(nullptr, nullptr);
    return 0;
}
