#include "CRZ450Status.h"

#include <algorithm>
#include <cstring>

namespace {

const int REPORT_SETTINGS = 46;
const int SETTINGS_LANGUAGE = 42;

int Word16(const quint8* p)
{
    return p[0] | (p[1] << 8);
}

int Word32(const quint8* p)
{
    return static_cast<int>(static_cast<quint32>(p[0]) | (static_cast<quint32>(p[1]) << 8)
                            | (static_cast<quint32>(p[2]) << 16) | (static_cast<quint32>(p[3]) << 24));
}

} // namespace

void CRZ450Status::Reset()
{
    const int keptLogType = logType;
    *this = CRZ450Status();
    logType = keptLogType;
}

void CRZ450Status::ApplyClock(const quint8* report)
{
    hour = report[1];
    minute = report[2];
    second = report[3];
    day = static_cast<quint8>(report[4] + 1);
    month = static_cast<quint8>(report[5] + 1);
    stamp = (hour * 3600 + minute * 60 + second + report[6]) % 86400;
}

CRZ450Status::REPORT_RESULT CRZ450Status::ApplyReport(const quint8* report)
{
    previousBand = currentBand;
    currentBand = report[7];
    mode = report[8];
    scheduleByte = report[10];
    currentBank = Word16(report + 12);
    ApplyBandValues(report);
    menu.ApplyReported(report + REPORT_SETTINGS);
    ramOk = report[109] == 0;
    flashOk = report[110] == 0;
    battery = Word16(report + 111);

    REPORT_RESULT result;
    result.notify = mode != previousMode || (currentBand != previousBand && mode != MODE_AUTO);

    ApplySpectrum(report);
    // What the detector shows, not a change of the host's still to be written.
    language = report[REPORT_SETTINGS + SETTINGS_LANGUAGE];

    if (mode != previousMode) {
        previousMode = mode;
        result.modeChanged = true;
        logType = (mode & MODE_AUTO) ? 1 : 0;
    }
    return result;
}

void CRZ450Status::ApplyBandValues(const quint8* report)
{
    // A garbled report may name a band outside the table; its values have
    // nowhere to go.
    if (currentBand < BANDS) {
        level[currentBand] = report[17];
        threshold[currentBand] = report[18];
    }
    for (int i = 0; i < 3; ++i) {
        eventCntDelay[i] = report[23 + 2 * i];
        indicateBand[i] = report[24 + 2 * i];
    }
    tmpX = report[29];
    std::memcpy(indicateFlag.data(), report + 30, 16);
    indicateFlag[16] = report[289];
    indicateFlag[17] = report[290];
    indicateFlag[18] = report[291];
}

void CRZ450Status::ApplySpectrum(const quint8* report)
{
    abode = report[277];
    peakCount = report[283];
    overload = report[284];
    mute = report[285];
    volume = report[287];
    spectrumLength = report[282];
    if (abode != 0 || spectrumLength == 0) {
        spectrumLength = 160;
        freqMax = Word32(report + 113);
        showFreq = report[279];
        levelMax = report[280];
        levelNoise = report[281];
        levelDbMin = report[108];
        bypass = report[286];
    }
    const int points = std::min(spectrumLength, SPECTRUM_CAPACITY);
    std::memcpy(spectrum.data(), report + SPECTRUM_FIRST, static_cast<size_t>(points));
    demodMode = report[278];
    if (abode != 0)
        levelDbMin = 255;
}

RAW_RECORD_SLOT CRZ450Status::MakeSlot(int band, int duration) const
{
    RAW_RECORD_SLOT slot;
    slot.marker = RAW_RECORD_SLOT::MARKER;
    slot.band = static_cast<quint8>(band);
    const bool known = band >= 0 && band < BANDS;
    slot.level = known ? level[band] : 0;
    slot.threshold = known ? threshold[band] : 0;
    slot.month = month;
    slot.day = day;
    slot.hour = hour;
    slot.minute = minute;
    slot.second = second;
    slot.duration = static_cast<quint16>(duration);
    slot.stamp = stamp;
    return slot;
}

void CRZ450Status::AppendLiveRecords(CRecordRing& ring)
{
    if (mode & MODE_AUTO) {
        for (int band = 0; band < 16; ++band) {
            if (indicateFlag[band] == 0)
                continue;
            currentBand = band;
            ring.Append(MakeSlot(band, 1));
        }
    } else {
        ring.Append(MakeSlot(currentBand, 0));
    }
}
