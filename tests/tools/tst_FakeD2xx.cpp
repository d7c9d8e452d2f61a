// The fake D2XX library as the driver sees it: open by exact description,
// queue status and reads, purge, unplugging, and calls racing a detach.
#include "CRZ450Simulator.h"
#include "FakeD2xx.h"

#include <QTest>

#include <atomic>
#include <thread>

// The library's entry points, declared as a loader would resolve them.
extern "C" {
unsigned long FT_OpenEx(void* arg, unsigned flags, void** handle);
unsigned long FT_Close(void* handle);
unsigned long FT_Write(void* handle, void* buffer, unsigned count, unsigned* written);
unsigned long FT_Read(void* handle, void* buffer, unsigned count, unsigned* got);
unsigned long FT_GetStatus(void* handle, unsigned* rxQueue, unsigned* txQueue, unsigned* events);
unsigned long FT_Purge(void* handle, unsigned long mask);
unsigned long FT_SetLatencyTimer(void* handle, unsigned char ms);
}

namespace {

char FT220X[] = "FT220X 4-BIT FT1248";
char FT245R[] = "FT245R USB FIFO";
constexpr unsigned BY_DESCRIPTION = 2;
constexpr unsigned long OK = 0, INVALID_HANDLE = 1, NOT_FOUND = 2, NOT_OPENED = 3, IO_ERROR = 4;

unsigned long Send(void* handle, QByteArray bytes)
{
    unsigned written = 0;
    return FT_Write(handle, bytes.data(), unsigned(bytes.size()), &written);
}

unsigned Queued(void* handle)
{
    unsigned rx = 0, tx = 0, events = 0;
    return FT_GetStatus(handle, &rx, &tx, &events) == OK ? rx : 0;
}

QByteArray Receive(void* handle, unsigned count)
{
    QByteArray buffer(int(count), 0);
    unsigned got = 0;
    FT_Read(handle, buffer.data(), count, &got);
    return buffer.left(int(got));
}

} // namespace

class TestFakeD2xx : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { FakeD2xx_Reset(); }
    void cleanup() { FakeD2xx_Reset(); }
    void opensByExactDescriptionOnce();
    void queuesAnswersInByteAndNibbleMode();
    void detachKillsTheOpenHandle();
    void cutLogDownloadReplugs();
    void resetForgetsEverything();
    void callsRaceDetachSafely();
};

void TestFakeD2xx::opensByExactDescriptionOnce()
{
    CRZ450Simulator sim;
    FakeD2xx_Attach(FT220X, &sim);
    void* handle = nullptr;
    char prefix[] = "FT220X";
    QCOMPARE(FT_OpenEx(prefix, BY_DESCRIPTION, &handle), NOT_FOUND);
    QCOMPARE(FT_OpenEx(FT220X, 1, &handle), NOT_FOUND); // by serial number: not here
    QCOMPARE(FT_OpenEx(FT245R, BY_DESCRIPTION, &handle), NOT_FOUND);
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    void* second = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &second), NOT_OPENED);
    QCOMPARE(FakeD2xx_OpenCount(FT220X), 1);
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 1);
    QCOMPARE(FakeD2xx_LatencyTimer(FT220X), -1);
    QCOMPARE(FT_SetLatencyTimer(handle, 2), OK);
    QCOMPARE(FakeD2xx_LatencyTimer(FT220X), 2);
    QCOMPARE(FT_Close(handle), OK);
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 0);
    QCOMPARE(FT_Close(handle), INVALID_HANDLE);
    QCOMPARE(Send(handle, "\xA3"), INVALID_HANDLE);
}

void TestFakeD2xx::queuesAnswersInByteAndNibbleMode()
{
    CRZ450Simulator bytes;
    CRZ450Simulator nibbles(CRZ450Simulator::NibbleMode);
    FakeD2xx_Attach(FT220X, &bytes);
    FakeD2xx_Attach(FT245R, &nibbles);
    void* byteHandle = nullptr;
    void* nibbleHandle = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &byteHandle), OK);
    QCOMPARE(FT_OpenEx(FT245R, BY_DESCRIPTION, &nibbleHandle), OK);
    QVERIFY(byteHandle != nibbleHandle);

    QCOMPARE(Send(byteHandle, "\xA3"), OK);
    QCOMPARE(Queued(byteHandle), 300u);
    QCOMPARE(Receive(byteHandle, 100).size(), 100);
    QCOMPARE(Queued(byteHandle), 200u);
    QCOMPARE(Receive(byteHandle, 1000).size(), 200); // what is there, at once
    QCOMPARE(Receive(byteHandle, 10).size(), 0);

    QCOMPARE(Send(nibbleHandle, QByteArray("\x0A\x03", 2)), OK);
    QCOMPARE(Queued(nibbleHandle), 600u);
    QCOMPARE(FT_Purge(nibbleHandle, 2), OK); // transmit side only
    QCOMPARE(Queued(nibbleHandle), 600u);
    QCOMPARE(FT_Purge(nibbleHandle, 3), OK);
    QCOMPARE(Queued(nibbleHandle), 0u);
    QCOMPARE(nibbles.Polls(), 1);
}

void TestFakeD2xx::detachKillsTheOpenHandle()
{
    CRZ450Simulator sim;
    FakeD2xx_Attach(FT220X, &sim);
    void* handle = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    FakeD2xx_Detach(FT220X);
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 0);
    QCOMPARE(Send(handle, "\xA3"), IO_ERROR);
    unsigned rx = 0, tx = 0, events = 0;
    QCOMPARE(FT_GetStatus(handle, &rx, &tx, &events), IO_ERROR);
    QCOMPARE(FT_Purge(handle, 3), IO_ERROR);
    QCOMPARE(FT_SetLatencyTimer(handle, 2), IO_ERROR);
    char buffer[4];
    unsigned got = 0;
    QCOMPARE(FT_Read(handle, buffer, 4, &got), IO_ERROR);
    void* other = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &other), NOT_FOUND);
    QCOMPARE(FT_Close(handle), IO_ERROR);
    QCOMPARE(FT_Close(handle), INVALID_HANDLE); // released all the same
    QCOMPARE(sim.Polls(), 0);

    FakeD2xx_Attach(FT220X, &sim);
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    QCOMPARE(FakeD2xx_OpenCount(FT220X), 2);
    QCOMPARE(Send(handle, "\xA3"), OK);
    QCOMPARE(Queued(handle), 300u);
}

void TestFakeD2xx::cutLogDownloadReplugs()
{
    CRZ450Simulator sim;
    sim.FillLog(3, 1);
    sim.InjectDisconnectAtBlock(1);
    FakeD2xx_Attach(FT220X, &sim);
    void* handle = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    Send(handle, "\xA3");
    QCOMPARE(Receive(handle, 300).at(0), char(1));
    Send(handle, QByteArray("\x01\x02\x08\x0E\x05\x07", 6));
    Send(handle, "\xA3");
    QCOMPARE(Receive(handle, 300).at(0), char(0));
    Send(handle, "\x02");
    Send(handle, "\xFE");
    QCOMPARE(Receive(handle, 267).size(), 267);
    QCOMPARE(Send(handle, "\xFE"), OK); // the cut happens while this request is handled
    QCOMPARE(Queued(handle), 0u);
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 0);
    FT_Close(handle);

    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    Send(handle, "\xA3");
    QCOMPARE(Receive(handle, 300).at(0), char(1)); // restarted: asks for the time
}

void TestFakeD2xx::resetForgetsEverything()
{
    CRZ450Simulator sim;
    FakeD2xx_Attach(FT220X, &sim);
    void* handle = nullptr;
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), OK);
    FT_SetLatencyTimer(handle, 16);
    FakeD2xx_Reset();
    QCOMPARE(FakeD2xx_OpenCount(FT220X), 0);
    QCOMPARE(FakeD2xx_LatencyTimer(FT220X), -1);
    QCOMPARE(FakeD2xx_IsOpen(FT220X), 0);
    QCOMPARE(Send(handle, "\xA3"), IO_ERROR);
    QCOMPARE(FT_OpenEx(FT220X, BY_DESCRIPTION, &handle), NOT_FOUND);
}

void TestFakeD2xx::callsRaceDetachSafely()
{
    CRZ450Simulator sim;
    FakeD2xx_Attach(FT220X, &sim);
    std::atomic<bool> stop { false };
    std::atomic<int> exchanges { 0 };
    std::thread worker([&] {
        void* handle = nullptr;
        while (!stop) {
            if (FT_OpenEx(FT220X, BY_DESCRIPTION, &handle) != OK)
                continue;
            while (!stop && Send(handle, "\xA3\xFF") == OK) {
                Receive(handle, Queued(handle));
                ++exchanges;
            }
            FT_Close(handle);
        }
    });
    for (int i = 0; i < 200; ++i) {
        FakeD2xx_Detach(FT220X);
        QThread::usleep(200);
        FakeD2xx_Attach(FT220X, &sim);
        QThread::usleep(200);
    }
    stop = true;
    worker.join();
    QVERIFY(exchanges > 0);
    QVERIFY(FakeD2xx_OpenCount(FT220X) > 1);
}

QTEST_GUILESS_MAIN(TestFakeD2xx)
#include "tst_FakeD2xx.moc"
