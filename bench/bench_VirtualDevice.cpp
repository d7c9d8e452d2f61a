// Front panel benchmarks, one Paint into an image (it runs eight times a
// second in the client):
//  - with a local device (goal: median <= 1 ms)
//  - with a network device against a loopback server that answers at once:
//    the requests one Paint sends, and its time
// Each in manual mode (band view) and automatic mode (alarm look-ups for the
// band strip), with all three indicator lines on screen.
#include "CBenchStats.h"
#include "CFakeDeviceBase.h"
#include "CLoopbackDeviceServer.h"
#include "CRZ450VirtualDevice.h"
#include "proxy/CMetaDevice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

const int LOCAL_PAINTS = 5000;
const int NETWORK_PAINTS = 300;

// A detector with something in every part of the display.
class CBusyDevice : public CFakeDeviceBase
{
public:
    int mode = MODE_MAN;

    int GetCurrentMode() override { return mode; }
    unsigned char GetMenuValue(int index) override { return index == 45 ? 0 : 1; }
    bool SetMenuData(QByteArray) override { return false; }
    QByteArray GetMenuData() override { return QByteArray(MENU_SIZE, '\1'); }
    QDateTime GetTime() override { return QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)); }

    int GetCurrentBank() override { return 5; }
    int GetLevelDbm(int band) override { return 60 + band; }
    int GetThreshold(int) override { return 60; }
    int GetDbmCorrScale(int) override { return 10; }
    int GetEventCntDelay(int) override { return 1; }
    int GetIndicateBand(int i) override { return 1 + i; }
    bool IsIndicateBand(int band) override { return band == 4; }
    QString GetBandName(int) override { return QStringLiteral("GSM 900 mobile   /"); }
    bool GetSpectrumData(char*, int) override { return true; }
    int IsShowFreq() override { return 1; }
    int GetFreqMax() override { return 433920; }
};

// The device server on loopback, answering each request at once with what
// the busy device above would say. Requests come one at a time, so whatever
// arrives is one request.
class CPanelServer : public CLoopbackDeviceServer
{
public:
    std::atomic<int> mode { IDevice::MODE_MAN };

protected:
    QByteArray Answer(const QByteArray& request) override
    {
        m_device.mode = mode;
        const int colon = request.indexOf(':');
        const QByteArray name = colon < 0 ? request : request.left(colon);
        const int argument = colon < 0 ? 0 : request.mid(colon + 1).toInt();
        if (name == "IsOnline")
            return "1";
        if (name == "GetCurrentMode")
            return QByteArray::number(m_device.GetCurrentMode());
        if (name == "GetCurrentBand")
            return QByteArray::number(m_device.GetCurrentBand());
        if (name == "GetMenuValue")
            return QByteArray::number(m_device.GetMenuValue(argument));
        if (name == "GetTime")
            return QByteArray::number(m_device.GetTime().toSecsSinceEpoch());
        if (name == "RZ450_GetBandName")
            return m_device.GetBandName(argument).toLatin1();
        if (name == "RZ450_GetLevelDbm")
            return QByteArray::number(m_device.GetLevelDbm(argument));
        if (name == "RZ450_GetThreshold")
            return QByteArray::number(m_device.GetThreshold(argument));
        if (name == "RZ450_GetDbmCorrScale")
            return QByteArray::number(m_device.GetDbmCorrScale(argument));
        if (name == "RZ450_GetEventCntDelay")
            return QByteArray::number(m_device.GetEventCntDelay(argument));
        if (name == "RZ450_GetIndicateBand")
            return QByteArray::number(m_device.GetIndicateBand(argument));
        if (name == "RZ450_IsIndicateBand")
            return m_device.IsIndicateBand(argument) ? "1" : "0";
        if (name == "RZ450_IsShowFreq")
            return "1";
        if (name == "RZ450_GetFreqMax")
            return QByteArray::number(m_device.GetFreqMax());
        if (name == "RZ450_GetCurrentBank")
            return QByteArray::number(m_device.GetCurrentBank());
        return "0";
    }

private:
    CBusyDevice m_device;
};

std::vector<double> TimePaints(CRZ450VirtualDevice& panel, int paints)
{
    QImage image(panel.GetWidth(), panel.GetScreenHeight() + 1 + panel.GetKeyboardHeight(), QImage::Format_RGB32);
    std::vector<double> micros;
    micros.reserve(size_t(paints));
    QElapsedTimer clock;
    for (int i = 0; i < paints; ++i) {
        QPainter painter(&image);
        clock.start();
        panel.Paint(&painter);
        micros.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    return micros;
}

const char* ModeName(int mode)
{
    return mode == IDevice::MODE_AUTO ? "automatic" : "manual";
}

bool BenchLocal()
{
    bool met = true;
    for (int mode : { IDevice::MODE_MAN, IDevice::MODE_AUTO }) {
        CBusyDevice device;
        device.mode = mode;
        CMetaDevice proxy(&device);
        CRZ450VirtualDevice panel;
        panel.SetDevice(&proxy);
        TimePaints(panel, 200);
        const std::vector<double> micros = TimePaints(panel, LOCAL_PAINTS);
        const double median = CBenchStats::Median(micros);
        met = met && median <= 1000.0;
        std::printf("Paint, local device, %s mode: median %.1f us, p99 %.1f us (goal: median <= 1000 us) %s\n",
            ModeName(mode), median, CBenchStats::Percentile(micros, 0.99), median <= 1000.0 ? "OK" : "MISSED");
    }
    return met;
}

bool BenchNetwork()
{
    CPanelServer server;
    CMetaDevice proxy(server.Listen());
    if (!proxy.Initialize()) {
        std::printf("no connection to the loopback server\n");
        return false;
    }
    CRZ450VirtualDevice panel;
    panel.SetDevice(&proxy);
    for (int mode : { IDevice::MODE_MAN, IDevice::MODE_AUTO }) {
        server.mode = mode;
        TimePaints(panel, 20);
        const int before = server.requests;
        const std::vector<double> micros = TimePaints(panel, NETWORK_PAINTS);
        const double perPaint = double(server.requests - before) / NETWORK_PAINTS;
        std::printf("Paint, network device, %s mode: %.0f requests, median %.2f ms, p99 %.2f ms "
                    "(%.1f us a request)\n",
            ModeName(mode), perPaint, CBenchStats::Median(micros) / 1000.0,
            CBenchStats::Percentile(micros, 0.99) / 1000.0, CBenchStats::Median(micros) / perPaint);
    }
    proxy.Uninitialize();
    server.wait();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool local = BenchLocal();
    const bool network = BenchNetwork();
    return local && network ? 0 : 1;
}
