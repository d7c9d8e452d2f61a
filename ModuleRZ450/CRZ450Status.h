#pragma once

#include "CRZ450Clock.h"
#include "CRecordRing.h"
#include "CSettingsBlock.h"
#include "IDevice.h"
#include "RZ450Layout.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

// Everything the detector reports, decoded from its status report.
// A pure codec: bytes in, fields out; no I/O and no locking of its own.
class CRZ450Status
{
public:
    static constexpr int REPORT_SIZE = RZ450Layout::REPORT_SIZE;
    static constexpr int BANDS = RZ450Layout::BAND_COUNT;
    static constexpr int SPECTRUM_FIRST = RZ450Layout::Report::SPECTRUM;
    // The copy never runs past the end of the report.
    static constexpr int SPECTRUM_CAPACITY = REPORT_SIZE - SPECTRUM_FIRST;
    static constexpr int MODE_AUTO = IDevice::MODE_AUTO;

    struct REPORT_RESULT
    {
        bool notify = false;      // deviceChannelChanged is due
        bool modeChanged = false; // the record ring starts over
    };

    // Back to the state before the first report (the log type is kept).
    void Reset();

    // Clock and stamp: taken from every status report, command or not.
    void ApplyClock(const quint8* report);
    // The rest: taken only when no command was pending.
    REPORT_RESULT ApplyReport(const quint8* report);
    // Live records of the report just applied.
    void AppendLiveRecords(CRecordRing& ring);
    CRZ450Clock::FIELDS Clock() const;

    // --- clock, as the driver keeps it (month and day from 1) -------------
    quint8 month = 0, day = 0, hour = 0, minute = 0, second = 0;
    qint32 stamp = 0;

    int currentBand = 0, previousBand = 0;
    int mode = 0, previousMode = 0;
    int logType = 0;
    int currentBank = 0;
    int scheduleByte = 0;
    std::array<quint8, BANDS> level {};
    std::array<quint8, BANDS> threshold {};
    std::array<quint8, RZ450Layout::Report::PAIRS> eventCntDelay {};
    std::array<quint8, RZ450Layout::Report::PAIRS> indicateBand {};
    std::array<quint8, RZ450Layout::INDICATED_BANDS> indicateFlag {};
    int tmpX = 0;
    CSettingsBlock menu;
    int language = 0;
    bool ramOk = false, flashOk = false;
    int battery = 0;

    // --- spectrum ------------------------------------------------------------
    int abode = 0, peakCount = 0, overload = 0, mute = 0, volume = 0;
    int spectrumLength = 0;
    std::array<quint8, SPECTRUM_CAPACITY> spectrum {};
    int freqMax = 0, showFreq = 0, levelMax = 0, levelNoise = 0, levelDbMin = 0, bypass = 0;
    int demodMode = 0;

private:
    void ApplyBandValues(const quint8* report);
    void ApplySpectrum(const quint8* report);
    RAW_RECORD_SLOT MakeSlot(int band, int duration) const;
};
