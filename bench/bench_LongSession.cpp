// A day of live records at the detector's line rate (270 a second), fed at
// full speed through the device GUI into a 1000 x 400 realtime diagram, for
// each mode in a process of its own (medians):
//  - resident memory after one simulated minute and after 24 hours (goal:
//    the client under 300 MB; the diagram well under 150 MB);
//  - CPU seconds of feeding per simulated hour, and the GUI thread's share
//    at real time with a paint at every 25 ms tick (goal under 15%);
//  - paint time (CPU of the painting thread) of the first minute, of the first
//    full 10-minute window and after 24 hours (10-minute window),
//    and after 24 hours at each window of the time menu (goal <= 5 ms).
// build/bin/bench_LongSession [hours] [manual|auto] [folder for a PNG of each window]
#include "CBenchStats.h"
#include "CProcessUsage.h"
#include "CRZ450DeviceGui.h"
#include "IDevice.h"
#include "diagram/CQDiagramWidget.h"
#include "diagram/DiagramDefaults.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const quint64 START_TIME = 1700000000;
const int RECORDS_PER_SECOND = 270;
const QSize WIDGET_SIZE(1000, 400);
const double REPAINTS_PER_SECOND = 40.0; // the main window's 25 ms tick
const int TIME_MENU_MINUTES[] = { 3, 10, 20, 30, 60, 120, 180, 360 };

// A deterministic stream of records as the detector sends them.
class CRecordSource
{
public:
    explicit CRecordSource(int mode)
        : m_nMode(mode)
    {
        m_record.values.append(RECORD_VALUE());
    }

    const CRecord& Next(quint64 second)
    {
        m_nState = m_nState * 6364136223846793005ULL + 1442695040888963407ULL;
        const unsigned noise = unsigned(m_nState >> 33);
        m_record.time = second;
        RECORD_VALUE& value = m_record.values[0];
        // Now and then an alarm spike well above the noise floor.
        value.level = noise % 20011 == 0 ? -15.0 : -85.0 + double(noise % 97) / 10.0;
        value.threshold = -60.0;
        if (m_nMode == IDevice::MODE_AUTO) {
            // A few busy bands, a band that comes and goes, rare long events.
            const int busy[] = { 1, 2, 7, 9 };
            m_record.band = (noise % 50 == 0 && second % 4 < 2) ? 11 : busy[noise % 4];
            m_record.duration = noise % 5003 == 0 ? int(30 + noise % 300) : 1;
        }
        return m_record;
    }

private:
    int m_nMode;
    CRecord m_record;
    quint64 m_nState = 12345;
};

// CPU milliseconds of the painting thread per render: on a busy machine
// wall time tells more about the neighbours than about the paint.
double PaintMs(CQDiagramWidget& widget, int runs)
{
    QImage image(WIDGET_SIZE, QImage::Format_ARGB32_Premultiplied);
    widget.render(&image);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double before = CProcessUsage::ThreadCpuSeconds();
        widget.render(&image);
        times.push_back((CProcessUsage::ThreadCpuSeconds() - before) * 1e3);
    }
    return CBenchStats::Median(times);
}

void ShowWindow(CQDiagramWidget& widget, quint64 end, quint64 seconds)
{
    widget.SetVisibleXRange(QVariant::fromValue<quint64>(end - seconds), QVariant::fromValue<quint64>(end));
    widget.update();
}

int RunMode(int mode, int hours, int runs, const QString& pictures)
{
    CQDiagramWidget widget;
    widget.resize(WIDGET_SIZE);
    CRZ450DeviceGui gui;
    gui.InitRealtimeDiagram(&widget, true, mode);
    widget.SetMaxXRange(QVariant::fromValue<quint64>(START_TIME),
        QVariant::fromValue<quint64>(START_TIME + DiagramDefaults::TIME_WINDOW_SECONDS), 1.0, true);
    widget.update();
    CRecordSource source(mode);
    QImage image(WIDGET_SIZE, QImage::Format_ARGB32_Premultiplied);

    std::vector<double> cpuPerHour;
    double rssMinute = 0.0;
    double paintMinute = 0.0;
    double paintWindowFull = 0.0;
    quint64 second = START_TIME;
    for (int hour = 0; hour < hours; ++hour) {
        double feeding = 0.0;
        for (int minute = 0; minute < 60; ++minute) {
            const double before = CProcessUsage::CpuSeconds();
            for (int s = 0; s < 60; ++s, ++second) {
                for (int r = 0; r < RECORDS_PER_SECOND; ++r)
                    gui.AddRealtimeRecord(&widget, source.Next(second), mode);
            }
            feeding += CProcessUsage::CpuSeconds() - before;
            // A paint a minute keeps what drawing derives as current as the
            // client's paints do; it is timed apart from the feeding.
            widget.render(&image);
            if (hour == 0 && minute == 0) {
                rssMinute = CProcessUsage::ResidentMb();
                paintMinute = PaintMs(widget, runs);
            }
            // The default window holds ten minutes: from then on the values
            // in view stay as many, and only history could make a paint dearer.
            if (hour == 0 && minute == 9)
                paintWindowFull = PaintMs(widget, runs);
        }
        cpuPerHour.push_back(feeding);
    }
    const quint64 end = second - 1;
    const double rssDay = CProcessUsage::ResidentMb();
    ShowWindow(widget, end, DiagramDefaults::TIME_WINDOW_SECONDS);
    const double paintDay = PaintMs(widget, runs);
    const double cpu = CBenchStats::Median(cpuPerHour);

    std::printf("%s mode, %d h at %d records/s:\n", mode == IDevice::MODE_AUTO ? "automatic" : "manual", hours,
        RECORDS_PER_SECOND);
    std::printf("  resident memory after 1 min:  %8.1f MB\n", rssMinute);
    std::printf("  resident memory after %2d h:   %8.1f MB  (goal < 300 MB)\n", hours, rssDay);
    std::printf("  feeding CPU per simulated hour: %6.2f s\n", cpu);
    std::printf("  paint, first minute:           %6.3f ms\n", paintMinute);
    std::printf("  paint, window full (10 min):   %6.3f ms\n", paintWindowFull);
    std::printf("  paint, after %2d h (10 min):    %6.3f ms\n", hours, paintDay);
    std::printf("  GUI thread at real time:       %6.1f %% of a core (goal < 15 %%: feeding + %g paints/s)\n",
        100.0 * (cpu / 3600.0 + paintDay * REPAINTS_PER_SECOND / 1000.0), REPAINTS_PER_SECOND);
    for (int minutes : TIME_MENU_MINUTES) {
        ShowWindow(widget, end, quint64(minutes) * 60);
        std::printf("  paint, window of %3d min:      %6.3f ms  (goal <= 5 ms)\n", minutes, PaintMs(widget, runs));
        if (!pictures.isEmpty())
            widget.grab().save(QStringLiteral("%1/%2-%3min.png").arg(pictures).arg(mode).arg(minutes));
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The crosshair and the status box follow the mouse; keep it away.
    QCursor::setPos(-10000, -10000);
    const int hours = argc > 1 ? std::max(1, atoi(argv[1])) : 24;
    const int runs = 21;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const QString pictures = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (only == "manual")
        return RunMode(IDevice::MODE_MAN, hours, runs, pictures);
    if (only == "auto")
        return RunMode(IDevice::MODE_AUTO, hours, runs, pictures);
    // Each mode in a process of its own: resident memory is the process's.
    for (const char* mode : { "manual", "auto" }) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), { QString::number(hours), QLatin1String(mode) });
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 1;
    }
    return 0;
}
