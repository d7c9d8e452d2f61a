// The detector's status as its last report gave it: each read takes the
// status lock for one field.
#include "CRZ450Device.h"

#include "CBandTable.h"

#include <algorithm>

using namespace RZ450Layout;

// One line a function, read as a table.
// clang-format off
bool CRZ450Device::IsRamOk() { return Field(&CRZ450Status::ramOk); }
bool CRZ450Device::IsFlashOk() { return Field(&CRZ450Status::flashOk); }
// clang-format on

bool CRZ450Device::IsBatteryOk()
{
    return Read<bool>([](const CRZ450Status& s) { return s.battery > Report::BATTERY_LOW; });
}

int CRZ450Device::GetLanguageID()
{
    return Field(&CRZ450Status::language);
}

bool CRZ450Device::IsSchedule()
{
    return Read<bool>([](const CRZ450Status& s) { return s.scheduleByte != 0; });
}

int CRZ450Device::GetCurrentBank()
{
    return Field(&CRZ450Status::currentBank);
}

bool CRZ450Device::IsWaiting()
{
    return Read<bool>([](const CRZ450Status& s) {
        return std::all_of(s.eventCntDelay.begin(), s.eventCntDelay.end(), [](quint8 delay) { return delay == 0; });
    });
}

int CRZ450Device::GetTmpX()
{
    return Field(&CRZ450Status::tmpX);
}

int CRZ450Device::GetLevelDbm(int band)
{
    if (!CBandTable::IsValid(band))
        return 0;
    return Read<int>([band](const CRZ450Status& s) { return s.level[band]; });
}

int CRZ450Device::GetThreshold(int band)
{
    if (!CBandTable::IsValid(band))
        return 0;
    return Read<int>([band](const CRZ450Status& s) { return s.threshold[band]; });
}

int CRZ450Device::GetDbmCorrScale(int band)
{
    return CBandTable::Correction(band);
}

int CRZ450Device::GetEventCntDelay(int i)
{
    if (i < 0 || i >= Report::PAIRS)
        return 0;
    return Read<int>([i](const CRZ450Status& s) { return s.eventCntDelay[i]; });
}

int CRZ450Device::GetIndicateBand(int i)
{
    if (i < 0 || i >= Report::PAIRS)
        return 0;
    return Read<int>([i](const CRZ450Status& s) { return s.indicateBand[i]; });
}

bool CRZ450Device::IsIndicateBand(int band)
{
    if (band < 0 || band >= INDICATED_BANDS)
        return false;
    return Read<bool>([band](const CRZ450Status& s) { return s.indicateFlag[band] != 0; });
}

QString CRZ450Device::GetBandName(int band)
{
    return GetLanguageID() != 0 ? CBandTable::RussianName(band) : CBandTable::EnglishName(band);
}

bool CRZ450Device::GetSpectrumData(char* buffer, int length)
{
    if (!buffer || length <= 0)
        return true;
    const int points = std::min(length, CRZ450Status::SPECTRUM_CAPACITY);
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < points; ++i)
        buffer[i] = static_cast<char>(m_status.spectrum[i] / SPECTRUM_SCALE);
    return true;
}

// One line a function, read as a table.
// clang-format off
int CRZ450Device::IsAbodeLevel() { return Field(&CRZ450Status::abode); }
int CRZ450Device::IsShowFreq() { return Field(&CRZ450Status::showFreq); }
int CRZ450Device::GetFreqMax() { return Field(&CRZ450Status::freqMax); }
int CRZ450Device::GetLevelMax() { return Field(&CRZ450Status::levelMax); }
int CRZ450Device::GetLevelNoise() { return Field(&CRZ450Status::levelNoise); }
int CRZ450Device::GetLevelDbMin() { return Field(&CRZ450Status::levelDbMin); }
int CRZ450Device::GetDemodMode() { return Field(&CRZ450Status::demodMode); }
int CRZ450Device::GetCntPeakFreq() { return Field(&CRZ450Status::peakCount); }
int CRZ450Device::GetOverload() { return Field(&CRZ450Status::overload); }
int CRZ450Device::GetMute() { return Field(&CRZ450Status::mute); }
int CRZ450Device::GetVolume() { return Field(&CRZ450Status::volume); }
int CRZ450Device::GetBypassPercent() { return Field(&CRZ450Status::bypass); }
// clang-format on
