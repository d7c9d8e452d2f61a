#include "CRZ450Status.h"

#include <algorithm>
#include <cstring>

using namespace RZ450Layout;

namespace {

const int SECONDS_PER_DAY = 86400;

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
    hour = report[Report::HOUR];
    minute = report[Report::MINUTE];
    second = report[Report::SECOND];
    day = static_cast<quint8>(report[Report::DAY] + 1);
    month = static_cast<quint8>(report[Report::MONTH] + 1);
    stamp = (hour * 3600 + minute * 60 + second + report[Report::STAMP_ADD]) % SECONDS_PER_DAY;
}

CRZ450Clock::FIELDS CRZ450Status::Clock() const
{
    CRZ450Clock::FIELDS fields;
    fields.month = month;
    fields.day = day;
    fields.hour = hour;
    fields.minute = minute;
    fields.second = second;
    return fields;
}

CRZ450Status::REPORT_RESULT CRZ450Status::ApplyReport(const quint8* report)
{
    previousBand = currentBand;
    currentBand = report[Report::BAND];
    mode = report[Report::MODE];
    scheduleByte = report[Report::SCHEDULE];
    currentBank = Word16(report + Report::BANK);
    ApplyBandValues(report);
    menu.ApplyReported(report + Report::SETTINGS);
    ramOk = report[Report::RAM_ERROR] == 0;
    flashOk = report[Report::FLASH_ERROR] == 0;
    battery = Word16(report + Report::BATTERY);

    REPORT_RESULT result;
    result.notify = mode != previousMode || (currentBand != previousBand && mode != MODE_AUTO);

    ApplySpectrum(report);
    // What the detector shows, not a change of the host's still to be written.
    language = report[Report::SETTINGS + Menu::LANGUAGE];

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
        level[currentBand] = report[Report::BAND_LEVEL];
        threshold[currentBand] = report[Report::BAND_THRESHOLD];
    }
    for (int i = 0; i < Report::PAIRS; ++i) {
        eventCntDelay[i] = report[Report::EVENT_DELAY + Report::PAIR_STEP * i];
        indicateBand[i] = report[Report::INDICATE_BAND + Report::PAIR_STEP * i];
    }
    tmpX = report[Report::TMP_X];
    std::memcpy(indicateFlag.data(), report + Report::INDICATE_FLAGS, AUTO_BANDS);
    std::memcpy(indicateFlag.data() + AUTO_BANDS, report + Report::INDICATE_FLAGS_HIGH, INDICATED_BANDS - AUTO_BANDS);
}

void CRZ450Status::ApplySpectrum(const quint8* report)
{
    abode = report[Report::ABODE];
    peakCount = report[Report::PEAK_COUNT];
    overload = report[Report::OVERLOAD];
    mute = report[Report::MUTE];
    volume = report[Report::VOLUME];
    spectrumLength = report[Report::SPECTRUM_LENGTH];
    if (abode != 0 || spectrumLength == 0) {
        spectrumLength = SPECTRUM_POINTS;
        freqMax = Word32(report + Report::FREQ_MAX);
        showFreq = report[Report::SHOW_FREQ];
        levelMax = report[Report::LEVEL_MAX];
        levelNoise = report[Report::LEVEL_NOISE];
        levelDbMin = report[Report::LEVEL_DB_MIN];
        bypass = report[Report::BYPASS];
    }
    const int points = std::min(spectrumLength, SPECTRUM_CAPACITY);
    std::memcpy(spectrum.data(), report + SPECTRUM_FIRST, static_cast<size_t>(points));
    demodMode = report[Report::DEMOD_MODE];
    if (abode != 0)
        levelDbMin = Report::ABODE_LEVEL_DB_MIN;
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
        for (int band = 0; band < AUTO_BANDS; ++band) {
            if (indicateFlag[band] == 0)
                continue;
            currentBand = band;
            ring.Append(MakeSlot(band, 1));
        }
    } else {
        ring.Append(MakeSlot(currentBand, 0));
    }
}
