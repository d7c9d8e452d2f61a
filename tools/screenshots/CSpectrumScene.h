#pragma once

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <utility>

class CRZ450Simulator;

// What the scan band sees in an ordinary office, written into the simulated
// detector's reports sweep by sweep: broadcast and cellular carriers that
// stay, handsets and a cordless phone that come and go, a hidden
// transmitter that keys up now and then, and a noise floor. The detector's
// own model has a single drifting peak, which makes a poor picture.
class CSpectrumScene : public QObject
{
    Q_OBJECT

public:
    static constexpr int SWEEP_MS = 100;
    static constexpr int TRANSMITTER_MHZ = 433;

    struct CARRIER;

    explicit CSpectrumScene(CRZ450Simulator* simulator);
    // Stopping hands the reports back to the detector's own model.
    ~CSpectrumScene() override;

    void Start();
    void Stop();
    // Sweeps in a row the hidden transmitter has been on the air; 0 while off.
    int TransmitterSweeps() const { return m_nTransmitterSweeps; }
    // The point of the detector's sweeps the transmitter is at.
    int TransmitterPoint() const;

private Q_SLOTS:
    void OnTimer();

private:
    // The scan range the detector's settings give, in MHz.
    std::pair<int, int> Range() const;
    // Raw levels, one a point, of the next sweep over the scan range.
    QByteArray NextSweep(int startMhz, int endMhz);
    // Raw level of a carrier at that frequency; 0 while it is off the air.
    int LevelOf(const CARRIER& carrier, double mhz, double mhzPerPoint);
    void Write(const QByteArray& levels, int startMhz, int endMhz);

    CRZ450Simulator* m_pSimulator;
    QTimer m_timer;
    QRandomGenerator m_random;
    int m_nSweep = 0;
    int m_nTransmitterSweeps = 0;
};
